// GetVolumeInformation, SetVolumeLabel, GetDiskFreeSpace on drive roots.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelko::win {

struct VolumeInformation {
  std::string label;  // CP932, "" when the volume has none
  std::uint32_t serial = 0;
  std::string fileSystem;  // "FAT" for a floppy
};

struct DiskFreeSpace {
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  std::uint32_t totalClusters = 0;
};

// `root` is "X:\" in either letter case.
bool GetVolumeInformation(std::string_view root, VolumeInformation& info);
bool SetVolumeLabel(std::string_view root, std::string_view label);
bool GetDiskFreeSpace(std::string_view root, DiskFreeSpace& space);

}  // namespace pelko::win
