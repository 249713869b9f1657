// The file allocation table: one entry per cluster, kept in memory while a
// volume is open and written back to every copy identically.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "fat/block_device.h"
#include "fat/boot_sector.h"
#include "fat/fat_result.h"

namespace pelko::fat {

struct FatEntry {
  enum class Kind {
    Free,     // 0
    Next,     // the next cluster of a chain, `next`
    Bad,      // a bad cluster (0xFF7 / 0xFFF7)
    End,      // end of a chain
    Invalid,  // 1, a reserved value, or a cluster beyond the volume
  };
  Kind kind = Kind::Free;
  std::uint32_t next = 0;

  static FatEntry Free() { return {Kind::Free, 0}; }
  static FatEntry End() { return {Kind::End, 0}; }
  static FatEntry Link(std::uint32_t cluster) { return {Kind::Next, cluster}; }
};

class FatTable {
 public:
  // Reads one copy, the first unless told otherwise.
  static Result<FatTable> Load(BlockDevice& device, const BootSector& boot, unsigned copy = 0);
  // A fresh table for formatting: entries 0 and 1 hold the media byte and an
  // end mark, every cluster is free.
  static FatTable Blank(const BootSector& boot);

  bool IsCluster(std::uint32_t cluster) const {
    return cluster >= 2 && cluster < clusterCount_ + 2;
  }
  FatEntry Get(std::uint32_t cluster) const;
  void Set(std::uint32_t cluster, FatEntry entry);

  std::uint32_t FreeCount() const;

  // The clusters of the chain starting at `first`, in order. A chain that
  // leaves the volume, runs into a free or bad cluster, or loops, is
  // ERROR_FILE_CORRUPT. With `wanted`, stops after that many clusters.
  Result<std::vector<std::uint32_t>> Chain(std::uint32_t first,
                                           std::uint32_t wanted = UINT32_MAX) const;
  // As many leading clusters of the chain as are sound: what a delete may free.
  std::vector<std::uint32_t> SoundPrefix(std::uint32_t first) const;

  // Finds `count` free clusters (not yet marked); ERROR_DISK_FULL when there
  // are too few.
  Result<std::vector<std::uint32_t>> FindFree(std::uint32_t count) const;
  // Links the clusters in order and ends the chain after the last one.
  void MakeChain(std::span<const std::uint32_t> clusters);
  void Release(std::span<const std::uint32_t> clusters);

  // Writes the table to every FAT copy.
  Status Store(BlockDevice& device) const;

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  FatTable(const BootSector& boot, std::vector<std::uint8_t> bytes);

  // The FAT12 packing lives here and nowhere else.
  std::uint32_t RawGet(std::uint32_t index) const;
  void RawSet(std::uint32_t index, std::uint32_t value);

  FatType type_;
  std::uint32_t clusterCount_;
  std::uint64_t firstFatOffset_;
  std::uint32_t fatBytes_;
  unsigned fatCount_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace pelko::fat
