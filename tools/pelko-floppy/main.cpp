// pelko-floppy: floppy images for drive A: of the tool.
//   format IMAGE [--size 1440] [--label L] [--serial HEX]
//   info [IMAGE]        label, serial, free and total bytes (default: drive A:)
//   label IMAGE [L]     set the label, or remove it
//   ls IMAGE            every file and folder
//   check [--repair] IMAGE   lost clusters, cross-links, loops, bad entries,
//                       the FAT copies; --repair mends what it safely can
//   insert IMAGE        point drive A: of the program folder at IMAGE (an
//                       image file or a floppy drive such as /dev/sdb)
//   eject               leave drive A: empty
//   devices             the floppy drives that can be drive A:
//   home                print the program folder
// --home DIR names the program folder (else the tool's own: PELKO_HOME, else
// $XDG_DATA_HOME/pelko for an installed copy, else this tool's folder).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "floppy_commands.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: pelko-floppy format IMAGE [--size 1440] [--label L] [--serial HEX]\n"
               "       pelko-floppy info [IMAGE]\n"
               "       pelko-floppy label IMAGE [L]\n"
               "       pelko-floppy ls IMAGE\n"
               "       pelko-floppy check [--repair] IMAGE\n"
               "       pelko-floppy insert IMAGE|DEVICE [--home DIR]\n"
               "       pelko-floppy eject [--home DIR]\n"
               "       pelko-floppy devices\n"
               "       pelko-floppy home [--home DIR]\n");
  return 2;
}

bool ParseNumber(const std::string& text, int base, unsigned long long max,
                 unsigned long long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  out = std::strtoull(text.c_str(), &end, base);
  return *end == '\0' && out <= max && text[0] != '-';
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pelko::floppy;
  std::vector<std::string> words;
  std::string home;
  FormatOptions format;
  bool repair = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string v;
    unsigned long long number = 0;
    if (arg == "--home") {
      if (!value(home)) return Usage();
    } else if (arg == "--size") {
      if (!value(v) || !ParseNumber(v, 10, 0xFFFFFFFF, number)) return Usage();
      format.sizeKiB = static_cast<std::uint32_t>(number);
    } else if (arg == "--repair") {
      repair = true;
    } else if (arg == "--label") {
      if (!value(format.labelUtf8)) return Usage();
    } else if (arg == "--serial") {
      if (!value(v)) return Usage();
      std::string digits;
      for (char c : v) {
        if (c != '-') digits += c;
      }
      if (!ParseNumber(digits, 16, 0xFFFFFFFF, number)) {
        std::fprintf(stderr, "pelko-floppy: the serial must be 8 hex digits (e.g. 1234-ABCD)\n");
        return 1;
      }
      format.serial = static_cast<std::uint32_t>(number);
    } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      return Usage();
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) return Usage();
  const std::string& command = words[0];
  if (home.empty()) home = DefaultHome(command == "insert" || command == "home");
  const std::size_t args = words.size() - 1;
  if (command == "format" && args == 1) return Format(words[1], format);
  if (command == "info" && args <= 1) return Info(args == 1 ? words[1] : CurrentDriveA(home));
  if (command == "label" && (args == 1 || args == 2))
    return Label(words[1], args == 2 ? std::optional<std::string>(words[2]) : std::nullopt);
  if (command == "ls" && args == 1) return List(words[1]);
  if (command == "check" && args == 1) return Check(words[1], repair);
  if (command == "insert" && args == 1) return Insert(home, words[1]);
  if (command == "eject" && args == 0) return Eject(home);
  if (command == "devices" && args == 0) return Devices();
  if (command == "home" && args == 0) return Home(home);
  return Usage();
}
