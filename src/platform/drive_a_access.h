// Whether this user may use the floppy drive behind drive A:. A device the
// user may not open looks like an empty drive to the window, so the tools
// say on the terminal which group to join instead.
#pragma once

#include <string>

namespace pelko::win {

// One line for the terminal: the device at `devicePath` may not be opened,
// and which group (disk, floppy, ...) a user joins to use it.
std::string PermissionAdvice(const std::string& devicePath);

// Start-up check: false when drive A: is a block device this user may not
// read and write; `warningLine` then names it with PermissionAdvice.
bool CheckDriveAAccess(std::string& warningLine);

}  // namespace pelko::win
