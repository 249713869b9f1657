// A mounted FAT12/16 volume: files and folders by path, the label, free space.
// Every change is written data first, then the FAT, then the directory entry,
// each flushed before the next, so a write cut off midway never leaves an
// entry that points at garbage. The volume reads its state once when
// mounted: mount afresh to see changes made by anyone else.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fat/block_device.h"
#include "fat/boot_sector.h"
#include "fat/directory.h"
#include "fat/fat_result.h"
#include "fat/fat_table.h"

namespace pelko::fat {

using Path = std::vector<std::string>;  // CP932 components; empty = the root

class FatVolume {
 public:
  // ERROR_NOT_READY when the device holds no valid FAT12/16 volume.
  static Result<FatVolume> Mount(BlockDevice& device);

  const BootSector& Boot() const { return boot_; }
  bool IsWriteProtected() const { return device_->IsWriteProtected(); }
  std::uint32_t TotalClusters() const { return boot_.clusterCount; }
  std::uint32_t FreeClusters() const { return fat_.FreeCount(); }
  std::uint32_t ClustersFor(std::uint64_t bytes) const;

  // The root directory's label entry as Windows reports it: 0x05 undone,
  // trailing blanks cut, "" when there is none (the boot copy is not used).
  Result<std::string> Label();
  // Stores a label already checked by MakeVolumeLabel ("" removes it), in the
  // root entry and in the boot-sector copy.
  Status SetLabel(std::string_view label);

  // The root is reported as a folder with an empty name.
  Result<DirectoryItem> Stat(const Path& path);
  Result<std::vector<DirectoryItem>> List(const Path& folder);
  // The whole file; a size its cluster chain cannot hold is ERROR_FILE_CORRUPT.
  Result<std::vector<std::uint8_t>> ReadFile(const Path& path);

  // Creates an empty file; an existing one is emptied, or with `mustBeNew`
  // refused with ERROR_FILE_EXISTS.
  Status CreateFile(const Path& path, bool mustBeNew);
  // What CreateFile would refuse, found without writing anything.
  Status CheckCreate(const Path& path, bool mustBeNew);
  // Creates the file with `content`, or replaces an existing one's content
  // (refused with ERROR_FILE_EXISTS when `mustBeNew`), committed last: the
  // data goes into free clusters, then the FAT, then the directory entry
  // with its final size, each flushed before the next; an old chain is freed
  // only after that. Cut off anywhere, the name holds the old content or the
  // new, and at worst clusters are lost. When the disk has no room beside
  // the old content, the old file is deleted first and the new one written
  // as above. ERROR_DISK_FULL (nothing changed) when it does not fit at all.
  Status PutFile(const Path& path, std::span<const std::uint8_t> content, bool mustBeNew);
  // PutFile on an existing file.
  Status WriteFile(const Path& path, std::span<const std::uint8_t> content);
  Status Delete(const Path& path);
  // Never replaces an existing target (ERROR_ALREADY_EXISTS).
  Status Rename(const Path& from, const Path& to);
  // A file renamed over an existing file of the same folder: the source's
  // entry is dropped, then the target's entry takes the source's content in
  // one directory write, then the old content is freed. Across folders
  // ERROR_NOT_SAME_DEVICE; a folder as either side ERROR_ACCESS_DENIED.
  Status Replace(const Path& from, const Path& to);
  Status MakeDirectory(const Path& path);
  Status RemoveDirectory(const Path& path);
  Status SetWriteTime(const Path& path, std::int64_t unixTime);

 private:
  FatVolume(BlockDevice& device, const BootSector& boot, FatTable fat)
      : device_(&device), boot_(boot), fat_(std::move(fat)) {}

  struct Located {
    Directory parent;
    std::optional<DirectoryItem> item;
  };
  // The folder `path` names; `ancestors` gets the first cluster of every
  // folder on the way (the root as 0).
  Result<Directory> OpenFolder(const Path& path, std::vector<std::uint32_t>* ancestors = nullptr);
  // The parent must exist (else ERROR_PATH_NOT_FOUND); the item may not.
  Result<Located> Locate(const Path& path);
  Result<Directory> OpenItemFolder(const DirectoryItem& item);

  Status CheckWritable() const;
  // Clusters a new entry in `dir` costs: 1 when a full sub-directory must
  // grow; a full root is ERROR_DISK_FULL.
  Result<std::uint32_t> SlotCost(const Directory& dir) const;
  // A free slot, growing a sub-directory by one zeroed cluster if needed
  // (the FAT change stays in memory until stored).
  Result<std::size_t> ReserveSlot(Directory& dir);
  // Writes `content` into fresh clusters and points `entry` at them in
  // `slot` of `dir`, freeing `oldChain` last (see PutFile).
  Status CommitContent(Directory& dir, std::size_t slot, DirectoryEntry entry,
                       std::span<const std::uint8_t> content,
                       const std::vector<std::uint32_t>& oldChain);
  Status WriteClusters(std::span<const std::uint32_t> chain, std::span<const std::uint8_t> bytes);
  Status ReadClusters(std::span<const std::uint32_t> chain, std::span<std::uint8_t> bytes);
  // After a failed change: forget the in-memory FAT and take the stored one.
  Status Fail(Status failure);

  BlockDevice* device_;
  BootSector boot_;
  FatTable fat_;
};

}  // namespace pelko::fat
