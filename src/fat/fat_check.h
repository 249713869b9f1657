// The consistency of a whole volume, as fsck.fat judges it: every file's and
// folder's cluster chain is followed once, so that each cluster is known to
// belong to at most one of them. Used before a write (a damaged floppy is
// never written) and by `pelko-floppy check`, which may also repair.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fat/block_device.h"
#include "fat/boot_sector.h"
#include "fat/fat_result.h"

namespace pelko::fat {

enum class ProblemKind {
  CrossLinked,      // a cluster already claimed by `other`
  FolderReentered,  // a folder entry naming a folder already entered (`other`)
  ChainLoops,
  ChainLeavesVolume,  // a first cluster or a link that is no cluster of the volume
  ChainBroken,        // a chain running into a free or bad cluster
  SizeMismatch,       // the size does not fit the chain's length
  StrayLongName,      // `count` long-name pieces in the folder belong to no entry
  LostClusters,       // `count` clusters marked used that nothing owns
  FatCopiesDiffer,
  FirstFatDamaged,  // the first copy's entry 0 does not carry the media byte
};

struct Problem {
  ProblemKind kind;
  std::string path;   // "/DIR/NAME" (CP932) of the entry; "/" for the volume
  std::string other;  // the earlier owner of a cross-linked cluster
  std::uint32_t count = 0;
  bool repaired = false;
};

struct CheckReport {
  std::vector<Problem> problems;

  bool Sound() const { return problems.empty(); }
  // Whether a write may go on: every cluster claimed at most once, no chain
  // that loops or leaves the volume, and a first FAT copy to trust. Lost
  // clusters and entries that are merely wrong (sizes, stray long-name
  // pieces) do no harm to what is written next.
  bool SafeToWrite() const;
};

// Reads the whole volume; ERROR_NOT_READY when it holds no FAT12/16 volume.
Result<CheckReport> CheckVolume(BlockDevice& device);
// Checks, then frees lost clusters, ends a looping or broken chain at its
// last sound cluster, cuts a cross-linked second owner before the shared
// cluster, drops folder entries that re-enter a folder, and writes every FAT
// copy alike. Sound files are never touched. The report tells what was found
// and marks what was repaired.
Result<CheckReport> RepairVolume(BlockDevice& device);

// ERROR_FILE_CORRUPT when the volume is not safe to write (SafeToWrite).
Status CheckBeforeWrite(BlockDevice& device, const BootSector& boot);

}  // namespace pelko::fat
