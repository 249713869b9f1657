#include "platform/drive_a_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "fat/floppy_devices.h"
#include "platform/drive_table.h"

namespace pelko::win {

std::string PermissionAdvice(const std::string& devicePath) {
  std::string group = fat::GroupToJoin(devicePath);
  if (group.empty()) return "permission denied; only root may use this device";
  return "permission denied; join the group '" + group +
         "' to use the floppy drive (sudo adduser $USER " + group + "), then log in again";
}

bool CheckDriveAAccess(std::string& warningLine) {
  const std::string drive = FloppyImageHostPath();
  if (drive.empty()) return true;
  char* real = ::realpath(drive.c_str(), nullptr);  // A.img may link to the device
  if (real == nullptr) return true;
  const std::string device = real;
  std::free(real);
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) return true;
  // Asked of the permissions only: opening a drive would spin it up.
  if (::faccessat(AT_FDCWD, device.c_str(), R_OK | W_OK, AT_EACCESS) == 0) return true;
  if (errno != EACCES && errno != EPERM) return true;
  warningLine = "drive A: (" + device + "): " + PermissionAdvice(device);
  return false;
}

}  // namespace pelko::win
