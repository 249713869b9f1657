#include "platform/windows_path.h"

#include "text/ascii_case.h"
#include "text/code_page.h"
#include "text/name_rules.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::optional<WindowsPath> ParseWindowsPath(std::string_view path) {
  if (path.size() < 2 || !text::IsAsciiLetter(path[0]) || path[1] != ':') {
    // Relative, UNC ("\\server\share") or empty: there is no current folder
    // and no network here.
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  WindowsPath parsed;
  parsed.drive = text::AsciiUpper(path[0]);
  std::string_view rest = path.substr(2);
  if (!rest.empty() && !IsSeparator(rest[0])) {
    // "C:name" would be relative to a current folder of drive C:.
    SetLastError(ERROR_INVALID_NAME);
    return std::nullopt;
  }
  std::size_t i = 0;
  while (i < rest.size()) {
    // Split at the next separator that is not a trail byte.
    std::size_t end = i;
    while (end < rest.size() && !IsSeparator(rest[end])) end += cp932::CharacterLength(rest, end);
    std::string_view name = rest.substr(i, end - i);
    i = end + 1;
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!parsed.components.empty()) parsed.components.pop_back();
      continue;
    }
    if (cp932::IsForbiddenName(name)) {
      SetLastError(ERROR_INVALID_NAME);
      return std::nullopt;
    }
    parsed.components.emplace_back(name);
  }
  return parsed;
}

std::string FormatWindowsPath(const WindowsPath& path) {
  std::string text{path.drive, ':', '\\'};
  for (std::size_t i = 0; i < path.components.size(); ++i) {
    if (i > 0) text += '\\';
    text += path.components[i];
  }
  return text;
}

}  // namespace pelko::win
