#include "archive/archive_commands.h"

#include <cstddef>

#include "platform/code_page.h"

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
  if (destinationFolder.empty()) return std::nullopt;
  std::string folder(destinationFolder);
  if (cp932::FindLastBackslash(folder) != folder.size() - 1) folder += '\\';
  return folder;
}

std::vector<std::vector<std::string>> FindEntryNameClashes(const store::AssociationList& entries) {
  std::vector<std::vector<std::string>> clashes;
  std::vector<bool> grouped(entries.size(), false);
  for (std::size_t first = 0; first < entries.size(); ++first) {
    if (grouped[first]) continue;
    store::SplitEntry head = store::SplitAssociationEntry(entries[first]);
    // A name-less entry stands for a whole folder or drive: no one name to clash.
    if (head.entryName.empty()) continue;
    std::vector<std::string> group{entries[first]};
    bool otherBase = false;
    for (std::size_t later = first + 1; later < entries.size(); ++later) {
      if (grouped[later]) continue;
      store::SplitEntry other = store::SplitAssociationEntry(entries[later]);
      if (!cp932::EqualIgnoringLabelCase(head.entryName, other.entryName)) continue;
      grouped[later] = true;
      bool sameEntry = false;
      for (const std::string& member : group) {
        if (cp932::EqualIgnoringLabelCase(member, entries[later])) sameEntry = true;
      }
      if (sameEntry) continue;
      group.push_back(entries[later]);
      otherBase = true;
    }
    if (otherBase) clashes.push_back(std::move(group));
  }
  return clashes;
}

}  // namespace pelko::archive
