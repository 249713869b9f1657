// Names left out of an add (the command line's -jx patterns).
//
// A pattern without a backslash is compared with the last component of
// every name, so it selects files and folders of that name at any depth. A
// pattern with backslashes is compared with the whole name relative to the
// base folder, component by component ("*\tmp" selects tmp one level down,
// "*\*\tmp" two levels down). '*' matches any run of characters and '?' one
// character, never across a backslash; a double-byte character is one
// character; ASCII letters compare without case. A folder that is left out
// takes everything below it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelko::lzh {

class ExclusionPattern {
 public:
  explicit ExclusionPattern(std::string_view pattern);

  // True when the pattern selects this name itself (CP932, components
  // separated by '\'); folders above it are not looked at.
  bool Selects(std::string_view relativeName) const;

 private:
  std::vector<std::string> components_;
  bool lastComponentOnly_ = true;
};

class ExclusionList {
 public:
  void Add(std::string_view pattern);
  bool Empty() const { return patterns_.empty(); }

  // True when a pattern selects the name or any folder above it.
  bool Excludes(std::string_view relativeName) const;
  // True when a pattern selects the name itself (a walker that does not
  // descend into left-out folders needs no more).
  bool SelectsItself(std::string_view relativeName) const;

 private:
  std::vector<ExclusionPattern> patterns_;
};

}  // namespace pelko::lzh
