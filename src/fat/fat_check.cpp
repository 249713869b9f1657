#include "fat/fat_check.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "fat/directory.h"
#include "fat/fat_table.h"

namespace pelko::fat {
namespace {

constexpr std::uint32_t kNobody = 0;

// fsck.fat's test of an intact copy: entry 0 has every bit above the media
// byte set.
bool CopyLooksIntact(const FatTable& fat, FatType type) {
  const std::vector<std::uint8_t>& b = fat.Bytes();
  if (b.size() < 2) return false;
  return type == FatType::Fat12 ? (b[1] & 0x0F) == 0x0F : b[1] == 0xFF;
}

Problem Found(ProblemKind kind, std::string path, std::string other = "", std::uint32_t count = 0,
              bool repaired = false) {
  return Problem{kind, std::move(path), std::move(other), count, repaired};
}

std::string Child(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// One pass over the volume: every chain is claimed for its owner, cluster by
// cluster, so that no cluster is followed twice and every walk ends. With
// `repair`, each damage found is mended in memory as the walk meets it and
// directories are stored before the FAT.
class VolumeWalk {
 public:
  VolumeWalk(BlockDevice& device, const BootSector& boot, FatTable fat, bool repair)
      : device_(device),
        boot_(boot),
        fat_(std::move(fat)),
        repair_(repair),
        owner_(std::size_t{boot.clusterCount} + 2, kNobody),
        owners_{Owner{"", false}} {}

  Status Run(CheckReport& report) {
    report_ = &report;
    Result<Directory> root = Directory::LoadRoot(device_, boot_);
    if (!root) return root.status();
    pending_.push_back(Folder{"/", std::move(*root)});
    while (!pending_.empty()) {
      Folder folder = std::move(pending_.back());
      pending_.pop_back();
      if (Status s = Visit(folder); !s) return s;
    }
    CountLost();
    return Ok();
  }

  const FatTable& Fat() const { return fat_; }

 private:
  struct Owner {
    std::string path;
    bool folder;
  };
  struct Folder {
    std::string path;
    Directory dir;
  };
  struct Claim {
    std::vector<std::uint32_t> clusters;
    std::optional<Problem> problem;
  };

  Status Visit(Folder& folder) {
    if (std::size_t stray = folder.dir.StrayLongNamePieces(); stray > 0) {
      Report(Found(ProblemKind::StrayLongName, folder.path, "", static_cast<std::uint32_t>(stray)));
    }
    bool changed = false;
    std::vector<Folder> inside;
    for (const DirectoryItem& item : folder.dir.Items()) {
      const std::string path = Child(folder.path, item.name);
      DirectoryEntry entry = item.entry;
      if (entry.IsDirectory() && entry.firstCluster == 0) {
        // Cluster 0 in a folder entry means the root, entered first of all.
        Report(Found(ProblemKind::FolderReentered, path, "/", 0, repair_));
        if (repair_) folder.dir.Erase(item);
        changed |= repair_;
        continue;
      }
      if (entry.firstCluster == 0) {
        if (entry.size != 0) Report(Found(ProblemKind::SizeMismatch, path));
        continue;
      }
      Claim claim = ClaimChain(entry.firstCluster, path, entry.IsDirectory());
      if (claim.problem) {
        Report(*claim.problem);
        if (repair_) changed |= Mend(folder.dir, item, claim, entry);
      }
      if (entry.IsDirectory()) {
        if (!claim.clusters.empty()) {
          Result<Directory> dir =
              Directory::LoadClusters(device_, boot_, entry.firstCluster, claim.clusters);
          if (!dir) return dir.status();
          inside.push_back(Folder{path, std::move(*dir)});
        }
      } else if (!FitsChain(entry.size, claim.clusters.size()) && !(repair_ && claim.problem)) {
        Report(Found(ProblemKind::SizeMismatch, path));
      }
    }
    if (changed) {
      if (Status s = folder.dir.Store(device_); !s) return s;
    }
    // Folders are walked in the order they are listed.
    for (auto it = inside.rbegin(); it != inside.rend(); ++it) pending_.push_back(std::move(*it));
    return Ok();
  }

  bool FitsChain(std::uint32_t size, std::size_t clusters) const {
    const std::uint64_t clusterBytes = boot_.ClusterBytes();
    return std::uint64_t{size} <= clusters * clusterBytes &&
           std::uint64_t{size} + clusterBytes > clusters * clusterBytes;
  }

  // Follows the chain from `first`, claiming each cluster for a new owner,
  // and stops at the first cluster that cannot be its own.
  Claim ClaimChain(std::uint32_t first, const std::string& path, bool folder) {
    const auto self = static_cast<std::uint32_t>(owners_.size());
    owners_.push_back(Owner{path, folder});
    Claim claim;
    auto stop = [&](ProblemKind kind, std::string other = "") {
      claim.problem = Found(kind, path, std::move(other));
      return std::move(claim);
    };
    for (std::uint32_t cluster = first;;) {
      if (!fat_.IsCluster(cluster)) return stop(ProblemKind::ChainLeavesVolume);
      const std::uint32_t holder = owner_[cluster];
      if (holder == self) return stop(ProblemKind::ChainLoops);
      if (holder != kNobody) {
        const Owner& earlier = owners_[holder];
        bool reentered = folder && claim.clusters.empty() && earlier.folder;
        return stop(reentered ? ProblemKind::FolderReentered : ProblemKind::CrossLinked,
                    earlier.path);
      }
      const FatEntry entry = fat_.Get(cluster);
      if (entry.kind == FatEntry::Kind::Free || entry.kind == FatEntry::Kind::Bad)
        return stop(ProblemKind::ChainBroken);
      owner_[cluster] = self;
      claim.clusters.push_back(cluster);
      if (entry.kind == FatEntry::Kind::End) return claim;
      if (entry.kind == FatEntry::Kind::Invalid) return stop(ProblemKind::ChainLeavesVolume);
      cluster = entry.next;
    }
  }

  // Ends the chain at its last sound cluster; an entry left with none loses
  // its clusters (a file) or goes (a folder, as fsck.fat drops one).
  bool Mend(Directory& dir, const DirectoryItem& item, const Claim& claim, DirectoryEntry& entry) {
    if (!claim.clusters.empty()) {
      fat_.Set(claim.clusters.back(), FatEntry::End());
    } else if (entry.IsDirectory()) {
      dir.Erase(item);
      report_->problems.back().repaired = true;
      return true;
    } else {
      entry.firstCluster = 0;
    }
    report_->problems.back().repaired = true;
    if (entry.IsDirectory()) return false;
    const std::uint64_t room = claim.clusters.size() * std::uint64_t{boot_.ClusterBytes()};
    if (entry.size <= room && entry.firstCluster == item.entry.firstCluster) return false;
    entry.size = static_cast<std::uint32_t>(std::min<std::uint64_t>(entry.size, room));
    dir.Put(item.slot, entry);
    return true;
  }

  void CountLost() {
    std::uint32_t lost = 0;
    for (std::uint32_t c = 2; c < boot_.clusterCount + 2; ++c) {
      const FatEntry::Kind kind = fat_.Get(c).kind;
      if (owner_[c] != kNobody || kind == FatEntry::Kind::Free || kind == FatEntry::Kind::Bad)
        continue;
      ++lost;
      if (repair_) fat_.Set(c, FatEntry::Free());
    }
    if (lost > 0) Report(Found(ProblemKind::LostClusters, "/", "", lost, repair_));
  }

  void Report(Problem problem) { report_->problems.push_back(std::move(problem)); }

  BlockDevice& device_;
  BootSector boot_;
  FatTable fat_;
  bool repair_;
  std::vector<std::uint32_t> owner_;  // per cluster: an index into owners_
  std::vector<Owner> owners_;
  std::vector<Folder> pending_;
  CheckReport* report_ = nullptr;
};

struct FatCopies {
  FatTable chosen;
  std::optional<Problem> problem;
};

// The copy to go by: the first, unless the copies differ and only the
// second looks intact.
Result<FatCopies> ChooseFat(BlockDevice& device, const BootSector& boot) {
  Result<FatTable> first = FatTable::Load(device, boot, 0);
  if (!first) return first.status();
  FatCopies copies{std::move(*first), std::nullopt};
  for (unsigned k = 1; k < boot.fatCount; ++k) {
    Result<FatTable> other = FatTable::Load(device, boot, k);
    if (!other) return other.status();
    if (other->Bytes() == copies.chosen.Bytes()) continue;
    if (CopyLooksIntact(copies.chosen, boot.type)) {
      copies.problem = Found(ProblemKind::FatCopiesDiffer, "/");
    } else {
      copies.problem = Found(ProblemKind::FirstFatDamaged, "/");
      if (CopyLooksIntact(*other, boot.type)) copies.chosen = std::move(*other);
    }
    break;
  }
  return copies;
}

Result<CheckReport> Walk(BlockDevice& device, const BootSector& boot, bool repair) {
  Result<FatCopies> copies = ChooseFat(device, boot);
  if (!copies) return copies.status();
  CheckReport report;
  if (copies->problem) {
    copies->problem->repaired = repair;
    report.problems.push_back(*copies->problem);
  }
  VolumeWalk walk(device, boot, std::move(copies->chosen), repair);
  if (Status s = walk.Run(report); !s) return s;
  if (repair && !report.Sound()) {
    if (Status s = walk.Fat().Store(device); !s) return s;
    if (Status s = device.Flush(); !s) return s;
  }
  return report;
}

}  // namespace

bool CheckReport::SafeToWrite() const {
  return std::none_of(problems.begin(), problems.end(), [](const Problem& p) {
    switch (p.kind) {
      case ProblemKind::SizeMismatch:
      case ProblemKind::StrayLongName:
      case ProblemKind::LostClusters:
      case ProblemKind::FatCopiesDiffer:
        return false;
      default:
        return !p.repaired;
    }
  });
}

Result<CheckReport> CheckVolume(BlockDevice& device) {
  Result<BootSector> boot = ReadBootSector(device);
  if (!boot) return boot.status();
  return Walk(device, *boot, false);
}

Result<CheckReport> RepairVolume(BlockDevice& device) {
  Result<BootSector> boot = ReadBootSector(device);
  if (!boot) return boot.status();
  if (device.IsWriteProtected()) return Failed(win::ERROR_WRITE_PROTECT);
  return Walk(device, *boot, true);
}

Status CheckBeforeWrite(BlockDevice& device, const BootSector& boot) {
  Result<CheckReport> report = Walk(device, boot, false);
  if (!report) return report.status();
  return report->SafeToWrite() ? Ok() : Failed(win::ERROR_FILE_CORRUPT);
}

}  // namespace pelko::fat
