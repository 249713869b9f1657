// The archive library's command-line parser, fed two ways: any bytes as a
// command line, and the command lines the tool builds from its stored files
// (the exclusion lists ExtFiles.exc and ExtFolder.exc, the options record
// PELKO.opt and an association entry), taken from the input. Whatever the
// stored files hold, the switches built from them must never swallow the
// archive or the entry of the add they are appended to.
//
// Input: three little-endian 16-bit lengths, then the files list, the folders
// list and the options record of those lengths, then an association entry;
// the whole input is also parsed as a line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_commands.h"
#include "archive/entry_name_clashes.h"
#include "lzh/command/command_line.h"
#include "store/exclusion_lists.h"
#include "store/exclusion_switches.h"
#include "store/extract_settings.h"
#include "store/options_record.h"

namespace {

using namespace pelko;

constexpr std::string_view kWorkingCopy = "C:\\PELKO\\archive.lzh";

void Require(bool condition) {
  if (!condition) std::abort();
}

std::string_view Take(std::string_view& rest, std::size_t count) {
  count = std::min(count, rest.size());
  std::string_view piece = rest.substr(0, count);
  rest.remove_prefix(count);
  return piece;
}

std::size_t Length(std::string_view& rest) {
  std::string_view two = Take(rest, 2);
  if (two.size() < 2) return 0;
  return static_cast<unsigned char>(two[0]) | (static_cast<unsigned char>(two[1]) << 8);
}

void StoredFiles(std::string_view input) {
  const std::size_t filesLength = Length(input);
  const std::size_t foldersLength = Length(input);
  const std::size_t recordLength = Length(input);
  const auto files = store::DecodeExcludedFilesList(Take(input, filesLength));
  const auto folders = store::DecodeExcludedFoldersList(Take(input, foldersLength));
  const auto record =
      store::DecodeOptionsRecord(Take(input, recordLength), store::RestoreOptionsDefaults());
  std::string entry(input.substr(0, input.find_first_of("\r\n")));

  // The add of one entry: its switches must leave the archive and the entry whole.
  const std::string exclusions = store::BuildExclusionSwitches(files, folders);
  auto add =
      lzh::ParseCommandLine(archive::AddCommand(kWorkingCopy, "C:\\data\\memo.txt", exclusions));
  Require(add.Ok());
  Require(add.command.archive == kWorkingCopy);
  Require(add.command.groups.size() == 1 && add.command.groups[0].baseFolder == "C:\\data\\");
  Require(add.command.groups[0].names == std::vector<std::string>{"memo.txt"});
  Require(add.command.switches.recurse && add.command.switches.relativePaths);

  // The restore forms with the record's switches.
  const std::string extract = store::BuildExtractSwitches(record);
  auto origin = lzh::ParseCommandLine(
      archive::ExtractToOriginCommand(kWorkingCopy, extract, "\"C:\\data\\\" \"memo.txt\" "));
  Require(origin.Ok() && origin.command.archive == kWorkingCopy);
  if (auto folder = archive::UsableDestinationFolder(record.destinationFolder)) {
    (void)lzh::ParseCommandLine(
        archive::ExtractToDestinationCommand(kWorkingCopy, extract, *folder));
  }

  // The stored entry itself, as the commands quote it.
  const store::AssociationList list{entry};
  (void)lzh::ParseCommandLine(archive::AddCommand(kWorkingCopy, entry, exclusions));
  (void)lzh::ParseCommandLine(
      archive::ExtractToOriginCommand(kWorkingCopy, extract, archive::TargetPairs(list)));
  (void)lzh::ParseCommandLine(
      archive::DeleteCommand(kWorkingCopy, extract, archive::NameList(list)));
  (void)archive::FindEntryNameClashes({entry, "C:\\other\\" + entry});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  (void)lzh::ParseCommandLine(input);
  StoredFiles(input);
  return 0;
}
