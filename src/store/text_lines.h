// Lines of a stored text file, read as the class library's text stream reads
// them, a block at a time, so that a huge file never sits in memory whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::store {

// Longer than any path Windows can use (32,767 characters of up to two bytes).
inline constexpr std::size_t kMaxLineTextBytes = 65536;

// The file's lines in order. CR LF or a lone LF ends a line; a last line
// without one is still a line; an empty line is an empty text. A NUL ends a
// line's text (the rest of that line is ignored), as the platform's text
// reader ends it. A line whose text is longer than kMaxLineTextBytes names
// nothing and is left out. False only when the file cannot be opened; a read
// that fails part way keeps the lines ended before it.
bool ReadTextLines(std::string_view path, std::vector<std::string>& lines);

}  // namespace pelko::store
