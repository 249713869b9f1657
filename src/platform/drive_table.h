// Which host place stands behind each drive letter.
//   A:  the floppy: a FAT image file or device, PELKO_DRIVE_A, else A.img in
//       the program folder (symlinks followed).
//   B:  unused.
//   C:  the host root "/", or the host folder PELKO_DRIVE_C names.
//   D:..Z:  host folders named by PELKO_DRIVE_D .. PELKO_DRIVE_Z.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelko::win {

// Host path of the floppy image of drive A:.
std::string FloppyImageHostPath();

// Host folder behind a host-drive letter (C..Z), or nullopt when unmapped.
std::optional<std::string> HostFolderOfDrive(char drive);

// Drive-letter path -> host path (UTF-8). Fails for A: (not a host folder), for
// unmapped letters (ERROR_PATH_NOT_FOUND) and names with no host form.
std::optional<std::string> ToHostPath(std::string_view windowsPath);

// Host path -> drive-letter path (CP932), through the mapped host drives; the
// drive whose folder is the longest prefix wins. nullopt when the path lies
// under no drive or a component has no Windows form.
std::optional<std::string> ToWindowsPath(std::string_view hostPath);

}  // namespace pelko::win
