// The host's floppy drives: the block devices that may stand behind drive A:.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelko::fat {

struct FloppyDrive {
  std::string devicePath;   // /dev/sdb
  std::uint64_t bytes = 0;  // 0: no disk in the drive
  std::string model;        // vendor and model as the drive reports them; may be empty
  std::string mountPoint;   // where the desktop mounted it; empty when it is not mounted
};

// Every removable block device no larger than a floppy (kLargestFloppyBytes),
// by name, from a sysfs block folder (/sys/block) and a mountinfo file
// (/proc/self/mountinfo). A drive counts as mounted when it or one of its
// partitions is.
std::vector<FloppyDrive> ListFloppyDrives(const std::string& sysBlock = "/sys/block",
                                          const std::string& mountInfo = "/proc/self/mountinfo");

// The group whose members may use the block device at `devicePath` (disk,
// floppy, ...): what a user who may not open it should join. Empty when it
// is no block device or only root may use it.
std::string GroupToJoin(const std::string& devicePath);

}  // namespace pelko::fat
