// A directory: the fixed root region or a sub-directory's cluster chain, held
// in memory as its 32-byte entries while a volume operation runs.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fat/block_device.h"
#include "fat/boot_sector.h"
#include "fat/fat_result.h"
#include "fat/fat_table.h"
#include "fat/short_name.h"
#include "text/dos_time.h"

namespace pelko::fat {

inline constexpr std::size_t kEntryBytes = 32;

inline constexpr std::uint8_t kAttrReadOnly = 0x01;
inline constexpr std::uint8_t kAttrHidden = 0x02;
inline constexpr std::uint8_t kAttrSystem = 0x04;
inline constexpr std::uint8_t kAttrVolumeLabel = 0x08;
inline constexpr std::uint8_t kAttrDirectory = 0x10;
inline constexpr std::uint8_t kAttrArchive = 0x20;

struct DirectoryEntry {
  ShortNameBytes name{};
  std::uint8_t attributes = 0;
  std::uint8_t caseFlags = 0;
  std::uint8_t createTenths = 0;
  text::DosTime created;
  std::uint16_t accessDate = 0;
  std::uint16_t clusterHigh = 0;
  text::DosTime written;
  std::uint16_t firstCluster = 0;
  std::uint32_t size = 0;

  static DirectoryEntry Decode(std::span<const std::uint8_t, kEntryBytes> raw);
  void Encode(std::span<std::uint8_t, kEntryBytes> raw) const;
  bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
};

// One file or folder as listed (never the label, a long-name piece, "." or "..").
struct DirectoryItem {
  std::string name;       // the long name when it has a CP932 form, else the short name
  std::string shortName;  // "NAME.EXT" as Windows shows it
  DirectoryEntry entry;
  std::size_t slot = 0;       // the short entry
  std::size_t firstSlot = 0;  // its first long-name piece, or `slot` when it has none
};

class Directory {
 public:
  static Result<Directory> LoadRoot(BlockDevice& device, const BootSector& boot);
  // A sub-directory; a chain that is broken or loops is ERROR_FILE_CORRUPT.
  static Result<Directory> Load(BlockDevice& device, const BootSector& boot, const FatTable& fat,
                                std::uint32_t firstCluster);
  // A sub-directory over clusters already followed (a checker's sound prefix).
  static Result<Directory> LoadClusters(BlockDevice& device, const BootSector& boot,
                                        std::uint32_t firstCluster,
                                        std::vector<std::uint32_t> clusters);

  bool IsRoot() const { return firstCluster_ == 0; }
  std::uint32_t FirstCluster() const { return firstCluster_; }
  std::size_t SlotCount() const { return bytes_.size() / kEntryBytes; }

  std::vector<DirectoryItem> Items() const;
  // By long or short name, case ignored as Windows does.
  std::optional<DirectoryItem> Find(std::string_view name) const;
  // Long-name pieces that belong to no short entry: a broken sequence, or
  // one left behind by a tool that deleted only the short entry.
  std::size_t StrayLongNamePieces() const;
  // The volume label entry of a root directory: the first live entry whose
  // attributes, apart from the archive bit, are exactly "label".
  std::optional<std::size_t> LabelSlot() const;
  // A deleted or never used slot; nullopt when the directory is full.
  std::optional<std::size_t> FreeSlot() const;

  DirectoryEntry EntryAt(std::size_t slot) const;
  void Put(std::size_t slot, const DirectoryEntry& entry);
  // Marks the entry and its long-name pieces deleted.
  void Erase(const DirectoryItem& item);
  void EraseSlot(std::size_t slot);
  // Appends one cluster of unused slots (already zeroed on the device).
  void Grow(std::uint32_t cluster);
  const std::vector<std::uint32_t>& Clusters() const { return clusters_; }

  Status Store(BlockDevice& device) const;

 private:
  Directory(const BootSector& boot, std::uint32_t firstCluster)
      : rootOffset_(boot.RootOffset()), firstCluster_(firstCluster), boot_(boot) {}

  std::span<const std::uint8_t, kEntryBytes> Slot(std::size_t slot) const;
  std::span<std::uint8_t, kEntryBytes> Slot(std::size_t slot);

  std::uint64_t rootOffset_;
  std::uint32_t firstCluster_;
  BootSector boot_;
  std::vector<std::uint32_t> clusters_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace pelko::fat
