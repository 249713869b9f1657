// Drive A: as every command sees it: its volume label, the wait for a
// readable disk, and its disk space.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelko::shell {

// The two forms of the floppy's root; the file system does not tell them
// apart, each call site uses the form it always has.
inline constexpr char kFloppyRootLower[] = "a:\\";
inline constexpr char kFloppyRootUpper[] = "A:\\";

// The label of the disk in drive A: ("" for an unlabelled disk); nullopt when
// the drive holds no readable disk.
std::optional<std::string> ReadVolumeLabel();

// ReadVolumeLabel until it succeeds, showing "ディスクをセットしてください"
// with Retry and Cancel after each failure; nullopt when the user cancels.
std::optional<std::string> WaitForDisk();

// The four counts of one free-space query of "a:\"; all zero when the query
// fails (no caller tests it: a missing disk then has no room).
struct FloppySpace {
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  std::uint32_t totalClusters = 0;

  // 32-bit products that wrap above 4 GiB, as the tool has always used them.
  std::uint32_t FreeBytes() const { return freeClusters * bytesPerSector * sectorsPerCluster; }
  std::uint32_t Capacity() const { return totalClusters * bytesPerSector * sectorsPerCluster; }
  // Free bytes as they are compared and printed: signed 32-bit.
  std::int32_t SignedFreeBytes() const { return static_cast<std::int32_t>(FreeBytes()); }
};

FloppySpace QueryFloppySpace();

}  // namespace pelko::shell
