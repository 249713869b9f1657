#include "archive/entry_name_clashes.h"

#include <cstddef>
#include <numeric>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>

#include "platform/file_services.h"
#include "text/ascii_case.h"
#include "text/code_page.h"

namespace pelko::archive {
namespace {

// Where an entry's names come from. Kept for no entry: a list may be long,
// and each is worked out again when it is needed.
struct Source {
  std::string folder;  // upper-cased, with its trailing backslash
  std::string name;  // upper-cased; empty for a name-less entry, which stores all its folder holds
  std::string folderAsWritten;
};

// A drive root as the editor stores it: "c:".
bool IsDriveAlone(std::string_view name) {
  return name.size() == 2 && name[1] == ':' && text::IsAsciiLetter(name[0]);
}

std::optional<Source> SourceOf(const std::string& entry) {
  store::SplitEntry split = store::SplitAssociationEntry(entry);
  if (split.baseFolder.empty() && IsDriveAlone(split.entryName))
    split = {split.entryName + "\\", ""};
  if (split.baseFolder.empty() && split.entryName.empty()) return std::nullopt;  // adds nothing
  return Source{cp932::UpperCase(split.baseFolder), cp932::UpperCase(split.entryName),
                split.baseFolder};
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<win::FindData> found;
  std::size_t leftOut = 0;
  std::vector<std::string> names;
  if (win::ListFolder(folder, found, leftOut)) {
    for (const win::FindData& item : found) names.push_back(cp932::UpperCase(item.name));
  }
  return names;
}

// Entries that clash, directly or through one another.
class Groups {
 public:
  explicit Groups(std::size_t count) : parent_(count) {
    std::iota(parent_.begin(), parent_.end(), 0);
  }
  std::size_t Root(std::size_t i) {
    while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
    return i;
  }
  void Join(std::size_t a, std::size_t b) { parent_[Root(b)] = Root(a); }

 private:
  std::vector<std::size_t> parent_;
};

}  // namespace

std::vector<std::vector<std::string>> FindEntryNameClashes(const store::AssociationList& entries) {
  Groups groups(entries.size());
  std::unordered_map<std::string, std::size_t>
      firstHolder;  // a name and the first entry storing it
  std::optional<std::size_t> firstNameLess;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::optional<Source> mine = SourceOf(entries[i]);
    if (!mine) continue;
    auto claim = [&](const std::string& name) {
      auto [holder, isNew] = firstHolder.emplace(name, i);
      if (!isNew && SourceOf(entries[holder->second])->folder != mine->folder) {
        groups.Join(holder->second, i);
      }
    };
    if (!mine->name.empty()) {
      claim(mine->name);
      continue;
    }
    for (const std::string& name : NamesIn(mine->folderAsWritten)) claim(name);
    if (!firstNameLess) {
      firstNameLess = i;
    } else if (SourceOf(entries[*firstNameLess])->folder != mine->folder) {
      groups.Join(*firstNameLess, i);
    }
  }

  std::vector<std::size_t> members(entries.size(), 0);
  for (std::size_t i = 0; i < entries.size(); ++i) ++members[groups.Root(i)];
  // Each group in list order; an entry written again (same folder and name) once.
  std::vector<std::vector<std::string>> clashes;
  std::unordered_map<std::size_t, std::size_t> clashOfRoot;
  std::set<std::pair<std::size_t, std::string>> named;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t root = groups.Root(i);
    if (members[root] < 2) continue;
    const Source source = *SourceOf(entries[i]);
    if (!named.emplace(root, source.folder + source.name).second) continue;
    auto [at, isNew] = clashOfRoot.emplace(root, clashes.size());
    if (isNew) clashes.emplace_back();
    clashes[at->second].push_back(entries[i]);
  }
  std::erase_if(clashes, [](const std::vector<std::string>& group) { return group.size() < 2; });
  return clashes;
}

}  // namespace pelko::archive
