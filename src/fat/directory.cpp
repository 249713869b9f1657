#include "fat/directory.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "fat/long_name.h"
#include "text/little_endian.h"

namespace pelko::fat {
namespace {

constexpr std::uint8_t kEndMark = 0x00;
constexpr std::size_t kMaxLongNamePieces = 20;

bool IsLongNamePiece(std::uint8_t attributes) { return (attributes & 0x3F) == kLongNameAttributes; }

// Long-name pieces seen so far, waiting for the short entry they belong to.
// Every piece is checked (its number, its place in the descending order, the
// checksum it shares with the others); one that does not fit drops the whole
// sequence, and the short name is used.
class PendingLongName {
 public:
  void Reset() {
    expected_ = 0;
    next_ = 0;
  }

  void Take(std::size_t slot, std::span<const std::uint8_t, kEntryBytes> raw) {
    const std::uint8_t order = raw[0] & 0x1F;
    if (raw[11] != kLongNameAttributes || order == 0 || order > kMaxLongNamePieces) return Reset();
    if (raw[0] & kLastLongNamePiece) {
      expected_ = order;
      next_ = order;
      checksum_ = raw[13];
      firstSlot_ = slot;
      units_.assign(std::size_t{order} * 13, 0xFFFF);
    } else if (next_ == 0 || order != next_ || raw[13] != checksum_) {
      return Reset();
    }
    std::vector<std::uint16_t> piece = LongNamePieceUnits(raw);
    std::copy(piece.begin(), piece.end(), units_.begin() + std::ptrdiff_t{order - 1} * 13);
    --next_;
  }

  bool UnderWay() const { return expected_ != 0; }

  // True when every piece came, in order, for the short name `bytes`.
  bool CompleteFor(const ShortNameBytes& bytes) const {
    return expected_ != 0 && next_ == 0 && checksum_ == ShortNameChecksum(bytes);
  }
  std::size_t FirstSlot() const { return firstSlot_; }
  const std::vector<std::uint16_t>& Units() const { return units_; }

 private:
  std::uint8_t expected_ = 0;
  std::uint8_t next_ = 0;
  std::uint8_t checksum_ = 0;
  std::size_t firstSlot_ = 0;
  std::vector<std::uint16_t> units_;
};

}  // namespace

DirectoryEntry DirectoryEntry::Decode(std::span<const std::uint8_t, kEntryBytes> r) {
  DirectoryEntry e;
  std::copy_n(r.begin(), 11, e.name.begin());
  e.attributes = r[11];
  e.caseFlags = r[12];
  e.createTenths = r[13];
  e.created = text::DosTime{text::LoadLe16(r, 16), text::LoadLe16(r, 14)};
  e.accessDate = text::LoadLe16(r, 18);
  e.clusterHigh = text::LoadLe16(r, 20);
  e.written = text::DosTime{text::LoadLe16(r, 24), text::LoadLe16(r, 22)};
  e.firstCluster = text::LoadLe16(r, 26);
  e.size = text::LoadLe32(r, 28);
  return e;
}

void DirectoryEntry::Encode(std::span<std::uint8_t, kEntryBytes> r) const {
  std::copy(name.begin(), name.end(), r.begin());
  r[11] = attributes;
  r[12] = caseFlags;
  r[13] = createTenths;
  text::StoreLe16(r, 14, created.time);
  text::StoreLe16(r, 16, created.date);
  text::StoreLe16(r, 18, accessDate);
  text::StoreLe16(r, 20, clusterHigh);
  text::StoreLe16(r, 22, written.time);
  text::StoreLe16(r, 24, written.date);
  text::StoreLe16(r, 26, firstCluster);
  text::StoreLe32(r, 28, size);
}

Result<Directory> Directory::LoadRoot(BlockDevice& device, const BootSector& boot) {
  Directory dir(boot, 0);
  dir.bytes_.resize(boot.RootBytes());
  if (Status s = device.Read(boot.RootOffset(), dir.bytes_); !s) return s;
  return dir;
}

Result<Directory> Directory::Load(BlockDevice& device, const BootSector& boot, const FatTable& fat,
                                  std::uint32_t firstCluster) {
  Result<std::vector<std::uint32_t>> chain = fat.Chain(firstCluster);
  if (!chain) return chain.status();
  return LoadClusters(device, boot, firstCluster, std::move(*chain));
}

Result<Directory> Directory::LoadClusters(BlockDevice& device, const BootSector& boot,
                                          std::uint32_t firstCluster,
                                          std::vector<std::uint32_t> clusters) {
  Directory dir(boot, firstCluster);
  dir.clusters_ = std::move(clusters);
  const std::size_t clusterBytes = boot.ClusterBytes();
  dir.bytes_.resize(dir.clusters_.size() * clusterBytes);
  for (std::size_t i = 0; i < dir.clusters_.size(); ++i) {
    std::span<std::uint8_t> part(dir.bytes_.data() + i * clusterBytes, clusterBytes);
    if (Status s = device.Read(boot.ClusterOffset(dir.clusters_[i]), part); !s) return s;
  }
  return dir;
}

std::span<const std::uint8_t, kEntryBytes> Directory::Slot(std::size_t slot) const {
  return std::span<const std::uint8_t, kEntryBytes>(bytes_.data() + slot * kEntryBytes,
                                                    kEntryBytes);
}

std::span<std::uint8_t, kEntryBytes> Directory::Slot(std::size_t slot) {
  return std::span<std::uint8_t, kEntryBytes>(bytes_.data() + slot * kEntryBytes, kEntryBytes);
}

std::vector<DirectoryItem> Directory::Items() const {
  std::vector<DirectoryItem> items;
  PendingLongName pending;
  for (std::size_t slot = 0; slot < SlotCount(); ++slot) {
    auto raw = Slot(slot);
    if (raw[0] == kEndMark) break;
    if (raw[0] == kDeletedMark) {
      pending.Reset();
      continue;
    }
    if (IsLongNamePiece(raw[11])) {
      pending.Take(slot, raw);
      continue;
    }
    DirectoryEntry entry = DirectoryEntry::Decode(raw);
    if ((entry.attributes & kAttrVolumeLabel) || entry.name[0] == '.') {
      pending.Reset();
      continue;
    }
    DirectoryItem item;
    item.entry = entry;
    item.slot = slot;
    item.firstSlot = slot;
    item.shortName = ShortNameText(entry.name, entry.caseFlags);
    item.name = item.shortName;
    if (pending.CompleteFor(entry.name)) {
      item.firstSlot = pending.FirstSlot();
      if (auto longName = LongNameToCp932(pending.Units())) item.name = *longName;
    }
    pending.Reset();
    items.push_back(std::move(item));
  }
  return items;
}

std::size_t Directory::StrayLongNamePieces() const {
  std::size_t stray = 0;
  std::size_t held = 0;  // pieces of the sequence under way
  PendingLongName pending;
  for (std::size_t slot = 0; slot < SlotCount(); ++slot) {
    auto raw = Slot(slot);
    if (raw[0] == kEndMark) break;
    if (raw[0] == kDeletedMark) {
      stray += held;
      held = 0;
      pending.Reset();
    } else if (IsLongNamePiece(raw[11])) {
      const bool starts = (raw[0] & kLastLongNamePiece) != 0;
      pending.Take(slot, raw);
      if (!pending.UnderWay()) {
        stray += held + 1;
        held = 0;
      } else if (starts) {
        stray += held;
        held = 1;
      } else {
        ++held;
      }
    } else {
      DirectoryEntry entry = DirectoryEntry::Decode(raw);
      const bool named = !(entry.attributes & kAttrVolumeLabel) && entry.name[0] != '.';
      if (!named || !pending.CompleteFor(entry.name)) stray += held;
      held = 0;
      pending.Reset();
    }
  }
  return stray + held;
}

std::optional<DirectoryItem> Directory::Find(std::string_view name) const {
  for (DirectoryItem& item : Items()) {
    if (SameName(item.name, name) || SameName(item.shortName, name)) return std::move(item);
  }
  return std::nullopt;
}

std::optional<std::size_t> Directory::LabelSlot() const {
  for (std::size_t slot = 0; slot < SlotCount(); ++slot) {
    auto raw = Slot(slot);
    if (raw[0] == kEndMark) break;
    if (raw[0] != kDeletedMark && (raw[11] & ~kAttrArchive) == kAttrVolumeLabel) return slot;
  }
  return std::nullopt;
}

std::optional<std::size_t> Directory::FreeSlot() const {
  for (std::size_t slot = 0; slot < SlotCount(); ++slot) {
    std::uint8_t first = Slot(slot)[0];
    if (first == kEndMark || first == kDeletedMark) return slot;
  }
  return std::nullopt;
}

DirectoryEntry Directory::EntryAt(std::size_t slot) const {
  return DirectoryEntry::Decode(Slot(slot));
}

void Directory::Put(std::size_t slot, const DirectoryEntry& entry) {
  bool wasEnd = Slot(slot)[0] == kEndMark;
  entry.Encode(Slot(slot));
  // Whatever lay behind the old end mark must stay hidden behind a new one.
  if (wasEnd && slot + 1 < SlotCount() && Slot(slot + 1)[0] != kEndMark) {
    std::fill_n(Slot(slot + 1).begin(), kEntryBytes, 0);
  }
}

void Directory::Erase(const DirectoryItem& item) {
  for (std::size_t slot = item.firstSlot; slot <= item.slot; ++slot) EraseSlot(slot);
}

void Directory::EraseSlot(std::size_t slot) { Slot(slot)[0] = kDeletedMark; }

void Directory::Grow(std::uint32_t cluster) {
  clusters_.push_back(cluster);
  bytes_.resize(bytes_.size() + boot_.ClusterBytes(), 0);
}

Status Directory::Store(BlockDevice& device) const {
  if (IsRoot()) return device.Write(rootOffset_, bytes_);
  const std::size_t clusterBytes = boot_.ClusterBytes();
  for (std::size_t i = 0; i < clusters_.size(); ++i) {
    std::span<const std::uint8_t> part(bytes_.data() + i * clusterBytes, clusterBytes);
    if (Status s = device.Write(boot_.ClusterOffset(clusters_[i]), part); !s) return s;
  }
  return Ok();
}

}  // namespace pelko::fat
