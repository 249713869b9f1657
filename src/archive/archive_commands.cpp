#include "archive/archive_commands.h"

#include <cstddef>

#include "text/code_page.h"

namespace pelko::archive {
namespace {

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

// The common head of every form: the command letter and the quoted working copy.
std::string CommandHead(char command, std::string_view workingCopy) {
  std::string line(1, command);
  line += ' ';
  line += Quoted(workingCopy);
  return line;
}

}  // namespace

std::string PathPair(std::string_view entry) {
  store::SplitEntry split = store::SplitAssociationEntry(entry);
  return split.baseFolder + "\" \"" + split.entryName;
}

std::string TargetPairs(const store::AssociationList& entries) {
  std::string pairs;
  for (const std::string& entry : entries) {
    pairs += Quoted(PathPair(entry));
    pairs += ' ';
  }
  return pairs;
}

std::string NameList(const store::AssociationList& entries) {
  std::string names;
  for (const std::string& entry : entries) {
    names += ' ';
    names += Quoted(store::SplitAssociationEntry(entry).entryName);
  }
  return names;
}

std::string AddCommand(std::string_view workingCopy, std::string_view entry,
                       std::string_view exclusionSwitches) {
  std::string line = CommandHead('a', workingCopy);
  line += ' ';
  line += Quoted(PathPair(entry));
  line += exclusionSwitches;
  line += " -r2 -x1 -a2";
  return line;
}

std::string ExtractToOriginCommand(std::string_view workingCopy, std::string_view extractSwitches,
                                   std::string_view targetPairs) {
  std::string line = CommandHead('e', workingCopy);
  line += extractSwitches;
  line += " -d ";
  line += targetPairs;
  return line;
}

std::string DeleteCommand(std::string_view workingCopy, std::string_view extractSwitches,
                          std::string_view nameList) {
  std::string line = CommandHead('d', workingCopy);
  line += extractSwitches;
  line += " -d -y ";
  line += nameList;
  return line;
}

std::string ExtractToDestinationCommand(std::string_view workingCopy,
                                        std::string_view extractSwitches,
                                        std::string_view destinationFolder) {
  std::string line = CommandHead('e', workingCopy);
  line += extractSwitches;
  line += " -d -y ";
  line += Quoted(destinationFolder);
  return line;
}

std::string ExtractAndAssociateCommand(std::string_view workingCopy,
                                       std::string_view extractSwitches,
                                       std::string_view targetFolder) {
  std::string line = CommandHead('e', workingCopy);
  line += extractSwitches;
  line += " -d -y ";
  line += Quoted(std::string(targetFolder) + "\\");
  return line;
}

std::optional<std::string> UsableDestinationFolder(std::string_view destinationFolder) {
  if (destinationFolder.size() >= 2 && destinationFolder.front() == '"' &&
      destinationFolder.back() == '"') {
    destinationFolder = destinationFolder.substr(1, destinationFolder.size() - 2);
  }
  if (destinationFolder.empty() || destinationFolder.find('"') != std::string_view::npos) {
    return std::nullopt;
  }
  std::string folder(destinationFolder);
  if (cp932::FindLastBackslash(folder) != folder.size() - 1) folder += '\\';
  return folder;
}

}  // namespace pelko::archive
