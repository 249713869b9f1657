#include "platform/drive_table.h"

#include <cstdlib>
#include <filesystem>

#include "platform/program_folder.h"
#include "platform/windows_path.h"
#include "text/ascii_case.h"
#include "text/code_page.h"
#include "text/name_rules.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

std::optional<std::string> Environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

// An absolute, lexically clean host path without a trailing slash ("/" stays).
std::string CleanHostPath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) absolute = path;
  std::string text = absolute.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

// True when `path` is `folder` or lies below it (whole components only).
bool IsUnder(const std::string& path, const std::string& folder) {
  if (folder == "/") return !path.empty() && path[0] == '/';
  if (path.compare(0, folder.size(), folder) != 0) return false;
  return path.size() == folder.size() || path[folder.size()] == '/';
}

}  // namespace

std::string FloppyImageHostPath() {
  if (auto named = Environment("PELKO_DRIVE_A")) return *named;
  // Opening the image follows a symlink named A.img, so a test or a user
  // can point drive A: at any image or device from the program folder.
  auto folder = ProgramFolderHostPath();
  if (!folder) return {};
  return *folder == "/" ? "/A.img" : *folder + "/A.img";
}

std::optional<std::string> HostFolderOfDrive(char drive) {
  char letter = text::AsciiUpper(drive);
  if (letter < 'C' || letter > 'Z') return std::nullopt;  // A: is the floppy, B: unused
  auto folder = Environment(std::string("PELKO_DRIVE_") + letter);
  if (!folder) {
    if (letter != 'C') return std::nullopt;
    folder = "/";
  }
  return CleanHostPath(*folder);
}

std::optional<std::string> ToHostPath(std::string_view windowsPath) {
  auto parsed = ParseWindowsPath(windowsPath);
  if (!parsed) return std::nullopt;
  auto folder = HostFolderOfDrive(parsed->drive);
  if (!folder) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  std::string host = *folder;
  for (const std::string& component : parsed->components) {
    auto utf8 = cp932::ToUtf8(component);
    if (!utf8) {
      SetLastError(ERROR_INVALID_NAME);
      return std::nullopt;
    }
    if (host.back() != '/') host += '/';
    host += *utf8;
  }
  return host;
}

std::optional<std::string> ToWindowsPath(std::string_view hostPath) {
  if (hostPath.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  std::string path = CleanHostPath(std::string(hostPath));
  char bestDrive = 0;
  std::string bestFolder;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    auto folder = HostFolderOfDrive(letter);
    if (!folder || !IsUnder(path, *folder)) continue;
    if (bestDrive == 0 || folder->size() > bestFolder.size()) {
      bestDrive = letter;
      bestFolder = *folder;
    }
  }
  if (bestDrive == 0) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  WindowsPath windows;
  windows.drive = bestDrive;
  std::string_view rest = std::string_view(path).substr(bestFolder == "/" ? 1 : bestFolder.size());
  while (!rest.empty()) {
    if (rest[0] == '/') {
      rest.remove_prefix(1);
      continue;
    }
    std::size_t end = rest.find('/');
    std::string_view name = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end);
    auto windowsName = cp932::FromUtf8(name);
    if (!windowsName || cp932::IsForbiddenName(*windowsName)) {
      SetLastError(ERROR_INVALID_NAME);
      return std::nullopt;
    }
    windows.components.push_back(std::move(*windowsName));
  }
  return FormatWindowsPath(windows);
}

}  // namespace pelko::win
