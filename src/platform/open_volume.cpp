#include "platform/drive_table.h"
#include "platform/host_volume.h"
#include "platform/resolved_path.h"
#include "platform/volume.h"
#include "platform/windows_path.h"
#include "text/ascii_case.h"
#include "text/win_error.h"

namespace pelko::win {

std::unique_ptr<Volume> OpenVolume(char drive) {
  char letter = text::AsciiUpper(drive);
  if (letter == 'A') return OpenFloppyVolume(FloppyImageHostPath());
  auto folder = HostFolderOfDrive(letter);
  if (!folder) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  return OpenHostVolume(*folder);
}

std::optional<ResolvedPath> ResolvePath(std::string_view windowsPath) {
  auto parsed = ParseWindowsPath(windowsPath);
  if (!parsed) return std::nullopt;
  ResolvedPath resolved;
  resolved.drive = parsed->drive;
  resolved.volume = OpenVolume(parsed->drive);
  if (!resolved.volume) return std::nullopt;
  resolved.path = std::move(parsed->components);
  return resolved;
}

}  // namespace pelko::win
