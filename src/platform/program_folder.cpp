#include "platform/program_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/drive_table.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

// The running executable's host path; any length.
std::optional<std::string> ExecutableHostPath() {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) {
      FailFromErrno(errno);
      return std::nullopt;
    }
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(length));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string ParentFolder(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::optional<std::string> PelkoHome() {
  const char* home = std::getenv("PELKO_HOME");
  if (home == nullptr || *home == '\0') return std::nullopt;
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(home, error);
  return (error ? std::filesystem::path(home) : absolute).lexically_normal().string();
}

// $XDG_DATA_HOME, or ~/.local/share when it is unset or not absolute (as the
// XDG base directory rules say).
std::string UserDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  std::string base = home != nullptr && *home != '\0' ? home : "";
  if (base.empty()) {
    if (const passwd* user = ::getpwuid(::getuid())) base = user->pw_dir;
  }
  return base + "/.local/share";
}

std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

std::optional<std::string> GetModuleFileName() {
  auto exe = ExecutableHostPath();
  if (!exe) return std::nullopt;
  return ToWindowsPath(*exe);
}

std::optional<std::string> InstalledProgramFolder(const std::string& executableFolder) {
  std::filesystem::path folder(WithoutTrailingSlash(executableFolder));
  if (folder.filename() != "bin") return std::nullopt;
  std::error_code error;
  if (!std::filesystem::is_regular_file(folder.parent_path() / "share/pelko/installed", error)) {
    return std::nullopt;
  }
  return std::filesystem::path(UserDataFolder() + "/pelko").lexically_normal().string();
}

std::optional<std::string> ProgramFolderHostPath() {
  if (auto home = PelkoHome()) return WithoutTrailingSlash(*home);
  auto exe = ExecutableHostPath();
  if (!exe) return std::nullopt;
  std::string folder = ParentFolder(*exe);
  if (auto installed = InstalledProgramFolder(folder)) folder = *installed;
  return WithoutTrailingSlash(folder);
}

bool MakeProgramFolder() {
  auto folder = ProgramFolderHostPath();
  if (!folder) return false;
  std::error_code error;
  if (std::filesystem::is_directory(*folder, error)) return true;
  if (PelkoHome()) return false;
  auto exe = ExecutableHostPath();
  if (!exe || !InstalledProgramFolder(ParentFolder(*exe))) return false;
  // Each missing folder is made private to the user, as the XDG rules ask:
  // what it holds (paths and settings) is the user's own business.
  std::string made;
  for (const auto& part : std::filesystem::path(*folder)) {
    if (!made.empty() && made != "/") made += '/';
    made += part.string();
    if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return std::filesystem::is_directory(*folder, error);
}

std::optional<std::string> ProgramFolder() {
  auto host = ProgramFolderHostPath();
  if (!host) return std::nullopt;
  auto windows = ToWindowsPath(*host);
  if (!windows) return std::nullopt;
  if (windows->back() != '\\') *windows += '\\';
  return windows;
}

std::string ProgramFolderPath(std::string_view name) {
  auto folder = ProgramFolder();
  if (!folder) return {};
  return *folder + std::string(name);
}

std::string ApplicationTitle() {
  auto exe = ExecutableHostPath();
  std::string name = exe ? exe->substr(exe->find_last_of('/') + 1) : std::string();
  std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  auto title = cp932::FromUtf8(name);
  if (!title || title->empty()) return "PELKO";
  return *title;
}

bool CheckProgramFolder(std::string& errorLine) {
  MakeProgramFolder();
  auto host = ProgramFolderHostPath();
  if (!host) {
    errorLine = "pelko: cannot find the program folder (the executable's own path is unknown)";
    return false;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(*host, error)) {
    errorLine = "pelko: the program folder " + *host + " is not a folder";
    return false;
  }
  if (!ProgramFolder()) {
    errorLine = "pelko: the program folder " + *host +
                " has no drive-letter form (it lies under no mapped drive, or a name in it"
                " has no CP932 form or holds one of \\ / : * ? \" < > |)";
    return false;
  }
  return true;
}

}  // namespace pelko::win
