// pelko-lha COMMAND ARCHIVE [options] [names]: list, test and extract LZH
// archives, and add to and delete from them, as the classic lha does.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"

namespace {

struct Command {
  std::string_view name;
  int (*run)(const std::vector<std::string>& args);
  std::string_view usage;
};

constexpr Command kCommands[] = {
    {"l", pelko::lha::RunList, "l ARCHIVE                      list the entries"},
    {"t", pelko::lha::RunTest, "t ARCHIVE                      test every entry's data and CRC"},
    {"x", pelko::lha::RunExtract,
     "x ARCHIVE [-w DIR] [-f] [-i] [NAME...]\n"
     "                                 extract (into DIR; -f overwrite without asking;\n"
     "                                 -i go on after a broken header)"},
    {"a", pelko::lha::RunAdd,
     "a ARCHIVE [-lh5|-lh6|-lh7] FILE...\n"
     "                                 add files and folders (-lh7 by default)"},
    {"d", pelko::lha::RunDelete, "d ARCHIVE NAME...              delete entries"},
};

int Usage() {
  std::cerr << "usage: pelko-lha COMMAND ARCHIVE ...\n";
  for (const Command& command : kCommands) std::cerr << "  " << command.usage << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string_view name = argv[1];
  if (!name.empty() && name[0] == '-') name.remove_prefix(1);  // "-x" as well as "x"
  for (const Command& command : kCommands) {
    if (command.name == name) return command.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::cerr << "pelko-lha: unknown command '" << argv[1] << "'\n";
  return Usage();
}
