// Whether a name from an archive may become a file below the target folder:
// nothing may reach outside it (no "..", no absolute or drive-letter names,
// no empty components) or name something Windows forbids.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelko::lzh {

enum class PathVerdict {
  Safe,
  Empty,               // no name at all
  Absolute,            // starts with a separator
  DriveLetter,         // "C:..." (or any ':')
  ParentReference,     // a ".." component
  DotName,             // "." or a component of only dots and spaces
  EmptyComponent,      // two separators in a row, or a trailing one on a file
  ForbiddenCharacter,  // a control character or one of * ? " < > |
};

struct CheckedPath {
  PathVerdict verdict = PathVerdict::Empty;
  std::vector<std::string> components;  // CP932, only when Safe
};

CheckedPath CheckEntryPath(std::string_view storedPath);

}  // namespace pelko::lzh
