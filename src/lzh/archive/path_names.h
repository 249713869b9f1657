// Stored names of archive entries: CP932 bytes whose components are divided
// by '\', '/' or 0xFF. Splitting is DBCS-aware: the trail byte of a
// double-byte character (表 = 0x95 0x5C) never divides a name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelko::lzh {

// True for '\', '/' and 0xFF.
bool IsStoredSeparator(unsigned char byte);

// Components in order; empty components are kept (a leading separator gives
// a first empty component) so that callers can refuse them.
std::vector<std::string> SplitStoredPath(std::string_view stored);

// Every separator replaced by '\' (trail bytes untouched).
std::string NormaliseSeparators(std::string_view stored);

// The name for printing: control characters (0x00-0x1F, 0x7F) and bytes
// that cannot start a CP932 character written as \xNN, a backslash as "\\"
// only when `escapeBackslash` is set.
std::string EscapeForDisplay(std::string_view cp932Name);

}  // namespace pelko::lzh
