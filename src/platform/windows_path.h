// Windows drive-letter paths ("X:\dir\name") split into their parts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::win {

struct WindowsPath {
  char drive = 0;                       // upper case 'A'..'Z'
  std::vector<std::string> components;  // CP932, without "." or ".." (resolved)
};

// Parses an absolute drive-letter path; '\' and '/' both separate (DBCS-aware);
// "." and ".." are resolved lexically (".." above the root stays at the root);
// a bare "X:" is the root. Anything else (relative, UNC, empty) fails with
// ERROR_INVALID_NAME or ERROR_PATH_NOT_FOUND.
std::optional<WindowsPath> ParseWindowsPath(std::string_view path);

// "X:\a\b" (a root is "X:\").
std::string FormatWindowsPath(const WindowsPath& path);

}  // namespace pelko::win
