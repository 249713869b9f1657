// The commands about real floppy drives and the program folder: devices,
// home, and why a floppy or device cannot be opened.
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "fat/block_device.h"
#include "fat/floppy_devices.h"
#include "floppy_commands.h"
#include "platform/drive_a_access.h"
#include "platform/program_folder.h"

namespace pelko::floppy {
namespace {

bool IsBlockDevice(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISBLK(st.st_mode);
}

std::string SizeText(std::uint64_t bytes) {
  char text[32];
  if (bytes >= 1024ull * 1024 * 1024) {
    std::snprintf(text, sizeof text, "%.1f GB",
                  static_cast<double>(bytes) / (1024.0 * 1024 * 1024));
  } else if (bytes >= 1024ull * 1024 * 10) {
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024));
  } else {
    std::snprintf(text, sizeof text, "%llu KB", static_cast<unsigned long long>(bytes / 1024));
  }
  return text;
}

std::uint64_t DeviceBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  return in ? static_cast<std::uint64_t>(in.tellg()) : 0;
}

}  // namespace

std::string OpenProblem(const std::string& path, std::uint32_t code) {
  switch (code) {
    case win::ERROR_ACCESS_DENIED:
      return IsBlockDevice(path) ? win::PermissionAdvice(path) : "permission denied";
    case win::ERROR_SHARING_VIOLATION:
      return "the floppy is mounted; unmount it first (udisksctl unmount -b " + path + ")";
    case win::ERROR_NOT_SUPPORTED:
      return "this device (" + SizeText(DeviceBytes(path)) +
             ") is larger than any floppy (at most 2880 KB); drive A: takes floppy drives only, "
             "so a USB stick or a hard disk is never written as a floppy";
    default:
      return IsBlockDevice(path) ? "no disk in the drive" : "cannot open the image";
  }
}

int Devices() {
  std::vector<fat::FloppyDrive> drives = fat::ListFloppyDrives();
  if (drives.empty()) {
    std::printf("no floppy drive (a removable device of at most 2880 KB) is attached\n");
    return 0;
  }
  for (const fat::FloppyDrive& drive : drives) {
    std::string size = drive.bytes == 0 ? "no disk" : SizeText(drive.bytes);
    std::string model = drive.model.empty() ? "-" : drive.model;
    std::string state = drive.mountPoint.empty() ? "not mounted" : "mounted on " + drive.mountPoint;
    std::printf("%-12s %-8s %-28s %s\n", drive.devicePath.c_str(), size.c_str(), model.c_str(),
                state.c_str());
  }
  return 0;
}

int Home(const std::string& home) {
  std::printf("%s\n", home.c_str());
  return 0;
}

std::string DefaultHome(bool make) {
  if (make) win::MakeProgramFolder();
  return win::ProgramFolderHostPath().value_or(".");
}

}  // namespace pelko::floppy
