// Sector 0 of a FAT volume: the BIOS parameter block, each field checked
// before anything is derived from it, and the layout that follows from it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "fat/block_device.h"
#include "fat/fat_result.h"

namespace pelko::fat {

enum class FatType { Fat12, Fat16 };

inline constexpr std::size_t kBootSectorBytes = 512;
inline constexpr std::size_t kBootLabelOffset = 43;
inline constexpr std::size_t kSerialOffset = 39;
inline constexpr std::uint8_t kExtendedBootSignature = 0x29;

struct BootSector {
  std::uint16_t bytesPerSector = 0;
  std::uint8_t sectorsPerCluster = 0;
  std::uint16_t reservedSectors = 0;
  std::uint8_t fatCount = 0;
  std::uint16_t rootEntries = 0;
  std::uint32_t totalSectors = 0;
  std::uint8_t media = 0;
  std::uint16_t sectorsPerFat = 0;
  std::uint16_t sectorsPerTrack = 0;
  std::uint16_t heads = 0;
  std::uint32_t hiddenSectors = 0;
  std::uint8_t driveNumber = 0;
  bool extended = false;  // signature 0x29: serial and label fields are valid
  std::uint32_t serial = 0;
  std::array<std::uint8_t, 11> label{};

  // Derived from the fields above.
  FatType type = FatType::Fat12;
  std::uint32_t rootSectors = 0;
  std::uint32_t firstDataSector = 0;
  std::uint32_t clusterCount = 0;

  std::uint32_t ClusterBytes() const { return std::uint32_t{bytesPerSector} * sectorsPerCluster; }
  std::uint64_t FatOffset(unsigned copy) const {
    return (std::uint64_t{reservedSectors} + std::uint64_t{copy} * sectorsPerFat) * bytesPerSector;
  }
  std::uint32_t FatBytes() const { return std::uint32_t{sectorsPerFat} * bytesPerSector; }
  std::uint64_t RootOffset() const { return FatOffset(fatCount); }
  std::uint32_t RootBytes() const { return std::uint32_t{rootEntries} * 32; }
  // Cluster numbers run from 2 to clusterCount + 1.
  std::uint64_t ClusterOffset(std::uint32_t cluster) const {
    return (std::uint64_t{firstDataSector} + std::uint64_t{cluster - 2} * sectorsPerCluster) *
           bytesPerSector;
  }
};

// Why sector 0 does not describe a FAT12/16 volume: one reason per check, in
// the order they are made.
enum class BootSectorRefusal {
  TooShort,           // the device or sector holds fewer than 512 bytes
  Unreadable,         // reading sector 0 failed
  NoJump,             // no jump to boot code at byte 0
  NoSignature,        // no 0x55AA at bytes 510-511
  BytesPerSector,     // not a power of two from 512 to 4096
  SectorsPerCluster,  // not a power of two
  ClusterTooLarge,    // over 64 KiB
  NoReservedSectors,  // the boot sector itself must be reserved
  FatCount,           // not 1 to 4
  NoRootEntries,      // FAT32 keeps no fixed root folder
  NoTotalSectors,     // both sector counts are zero
  MediaDescriptor,    // not 0xF0 or 0xF8-0xFF
  NoSectorsPerFat,    // zero here means FAT32
  NoDataArea,         // the FATs and root folder fill the volume
  LargerThanDevice,   // the volume reaches past the end of the device
  ClusterCount,       // none, or more than FAT16 can count
  FatTooSmall,        // the FAT cannot hold an entry for every cluster
};

// The refusal in a few words, for pelko-floppy and its user.
const char* BootSectorRefusalText(BootSectorRefusal refusal);

// Checks every field against the rules of a FAT12/16 volume of `deviceSize`
// bytes; anything else (garbage, FAT32, a truncated image) is refused with
// ERROR_NOT_READY, which is how Windows reports an unrecognised disk.
Result<BootSector> ParseBootSector(std::span<const std::uint8_t> sector, std::uint64_t deviceSize);
Result<BootSector> ReadBootSector(BlockDevice& device);
// Why ReadBootSector refuses `device`; nothing when it accepts it.
std::optional<BootSectorRefusal> WhyNotFat(BlockDevice& device);

// The 512 bytes a formatter writes for `boot` (jump, BPB, extended fields,
// a boot stub that says there is no system, signature 0x55AA).
std::array<std::uint8_t, kBootSectorBytes> EncodeBootSector(const BootSector& boot);

// Rewrites the boot-sector copy of the label, when the volume has one.
Status WriteBootLabel(BlockDevice& device, const BootSector& boot,
                      const std::array<std::uint8_t, 11>& label);

}  // namespace pelko::fat
