// The association list of a volume label: `<label>.txt` in the program folder,
// one absolute path per line (CR LF), in the system code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::store {

using AssociationList = std::vector<std::string>;

// A label names a file only when it cannot leave the program folder or name
// something else there: no character Windows refuses in a file name (no
// '\' - a trail byte 0x5C is not one - '/', ':', '*', '?', '"', '<', '>',
// '|', control character below 0x20 or cut-off double-byte character), and
// not "." or "..".
// The empty label is usable: it names ".txt", which no writer of ours makes.
bool IsUsableLabelName(std::string_view label);

// The full path of the label's list. An existing list whose name differs only
// in the letter case that volume labels ignore is the label's list, as on a
// file system that ignores case; otherwise the label's own bytes name it.
// Empty when the label is not usable as a name or there is no program folder.
std::string AssociationListPath(std::string_view label);

// The entries in file order; nullopt when the list cannot be opened (the one
// test of whether a list exists). CR LF or a lone LF ends a line; a last line
// without one is an entry; an empty line is an empty entry; a NUL ends an
// entry's text; a line too long to be a path is left out (ReadTextLines).
std::optional<AssociationList> ReadAssociationList(std::string_view label);

// Creates or truncates the list and writes each entry with CR LF. False, with
// the last-error code, when the label is not usable (ERROR_INVALID_NAME), an
// entry holds a line break or NUL (ERROR_INVALID_DATA; nothing is touched),
// or the file cannot be created or written.
bool WriteAssociationList(std::string_view label, const AssociationList& entries);

// Moves the old label's list to the new label's name, never over another
// list (ERROR_ALREADY_EXISTS); a new name differing only in letter case is
// the same list renamed.
bool RenameAssociationList(std::string_view oldLabel, std::string_view newLabel);

bool DeleteAssociationList(std::string_view label);

struct SplitEntry {
  std::string baseFolder;  // up to and including the last backslash
  std::string entryName;   // the rest
};

// Splits at the last backslash, double-byte characters taken whole:
// "C:\data\表" gives "C:\data\" and "表"; "c:" gives "" and "c:".
SplitEntry SplitAssociationEntry(std::string_view entry);

}  // namespace pelko::store
