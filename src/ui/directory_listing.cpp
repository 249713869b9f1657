#include "ui/directory_listing.h"

#include <algorithm>

#include "platform/file_services.h"
#include "platform/windows_path.h"
#include "text/ascii_case.h"
#include "text/code_page.h"
#include "text/wildcard.h"
#include "ui/collation.h"

namespace pelko::ui {
namespace {

void SortItems(std::vector<std::string>& items) {
  std::sort(items.begin(), items.end(),
            [](const std::string& a, const std::string& b) { return CompareListItems(a, b) < 0; });
}

bool ShownWithFlags(const win::FindData& entry, unsigned flags) {
  if ((entry.info.attributes & win::FILE_ATTRIBUTE_HIDDEN) && !(flags & DDL_HIDDEN)) return false;
  if ((entry.info.attributes & win::FILE_ATTRIBUTE_SYSTEM) && !(flags & DDL_SYSTEM)) return false;
  return true;
}

}  // namespace

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  if (cp932::WildcardMatches(pattern, name)) return true;
  // "x.*" also takes a name that has no extension at all.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
      cp932::FindFirstChar(name, '.') == std::string_view::npos) {
    return cp932::WildcardMatches(pattern.substr(0, pattern.size() - 2), name);
  }
  return false;
}

bool DirectoryListing(std::string_view pattern, unsigned flags, std::vector<std::string>& items) {
  items.clear();
  bool exclusive = (flags & DDL_EXCLUSIVE) != 0;
  bool wantsEntries = !exclusive || (flags & DDL_DIRECTORY);
  bool listed = true;

  if (wantsEntries) {
    std::size_t cut = cp932::FindLastBackslash(pattern);
    std::optional<win::WindowsPath> folder;
    if (cut != std::string_view::npos) folder = win::ParseWindowsPath(pattern.substr(0, cut + 1));
    std::vector<win::FindData> entries;
    std::size_t leftOut = 0;
    listed = folder && win::ListFolder(win::FormatWindowsPath(*folder), entries, leftOut);
    if (listed) {
      std::string_view wildcard = pattern.substr(cut + 1);
      std::vector<std::string> files, folders;
      for (const win::FindData& entry : entries) {
        if (!ShownWithFlags(entry, flags) || !MatchesWildcard(wildcard, entry.name)) continue;
        if (entry.info.kind == win::EntryKind::Directory && (flags & DDL_DIRECTORY)) {
          folders.push_back("[" + entry.name + "]");
        } else if (entry.info.kind == win::EntryKind::File && !exclusive) {
          files.push_back(entry.name);
        }
      }
      SortItems(files);
      SortItems(folders);
      items.insert(items.end(), files.begin(), files.end());
      if ((flags & DDL_DIRECTORY) && !folder->components.empty() &&
          MatchesWildcard(wildcard, "..")) {
        items.push_back("[..]");
      }
      items.insert(items.end(), folders.begin(), folders.end());
    }
  }
  if (flags & DDL_DRIVES) {
    for (char drive : win::ListDrives()) {
      items.push_back(std::string("[-") + text::AsciiLower(drive) + "-]");
    }
  }
  return listed;
}

}  // namespace pelko::ui
