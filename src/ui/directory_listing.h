// The directory listing of list and combo boxes (DlgDirList / LB_DIR): drive
// items "[-a-]", folder items "[name]", the parent "[..]", and plain file names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelko::ui {

inline constexpr unsigned DDL_READWRITE = 0x0000;
inline constexpr unsigned DDL_HIDDEN = 0x0002;
inline constexpr unsigned DDL_SYSTEM = 0x0004;
inline constexpr unsigned DDL_DIRECTORY = 0x0010;
inline constexpr unsigned DDL_DRIVES = 0x4000;
inline constexpr unsigned DDL_EXCLUSIVE = 0x8000;

// The items for `pattern` (a drive-letter path ending in a wildcard name, such
// as "c:\data\*.*") in listing order: files (unless DDL_EXCLUSIVE), then
// folders with DDL_DIRECTORY ("[..]" first when the folder is not a drive
// root), then drives with DDL_DRIVES. Hidden and system entries only with
// their flags. False (and no items) when the folder cannot be listed; the
// drives are listed all the same.
bool DirectoryListing(std::string_view pattern, unsigned flags, std::vector<std::string>& items);

// Wildcard match of one name, '*' and '?' over characters (double-byte ones
// count as one), ASCII letters without case; "*.*" matches every name and
// "x.*" also a name without extension, as on Windows.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace pelko::ui
