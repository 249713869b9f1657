// A path as CP932 text, absolute ("C:\dir\name") or relative to a base folder
// ("dir\name"). Its backslashes are found a character at a time, so the trail
// byte of 表 (0x95 0x5C) never divides it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelko::cp932 {

class Path {
 public:
  Path() = default;
  explicit Path(std::string_view text) : text_(text) {}

  const std::string& Text() const { return text_; }
  bool Empty() const { return text_.empty(); }

  // After the last backslash; the whole path when it has none.
  std::string_view LastComponent() const;
  // Before the last backslash; empty when there is none.
  Path Parent() const;
  // The path up to each of its backslashes, outermost first: "a\b\c" gives
  // "a" and "a\b".
  std::vector<Path> Ancestors() const;
  // "dir" and "name" make "dir\name"; the empty path and "name" make "name".
  Path Child(std::string_view name) const;
  // The parts between its backslashes, empty ones included ("\a\\b\" gives
  // "", "a", "", "b", ""; the empty path gives one empty part).
  std::vector<std::string> Components() const;

  // With a backslash at the end, added unless one is there ("" gives "\").
  Path WithTrailingBackslash() const;
  // Without the backslashes at its end.
  Path WithoutTrailingBackslashes() const;

  // For a path relative to a base folder: true when it names something
  // outside it, through a leading backslash, a drive (any ':'), or a "." or
  // ".." component ('\' and '/' both divide components, as in Windows).
  bool ReachesOutside() const;

 private:
  std::string text_;
};

}  // namespace pelko::cp932
