#include "fat/fat_table.h"

#include "text/little_endian.h"

namespace pelko::fat {
namespace {

constexpr std::uint32_t kFat12Bad = 0xFF7;
constexpr std::uint32_t kFat16Bad = 0xFFF7;

}  // namespace

FatTable::FatTable(const BootSector& boot, std::vector<std::uint8_t> bytes)
    : type_(boot.type),
      clusterCount_(boot.clusterCount),
      firstFatOffset_(boot.FatOffset(0)),
      fatBytes_(boot.FatBytes()),
      fatCount_(boot.fatCount),
      bytes_(std::move(bytes)) {}

Result<FatTable> FatTable::Load(BlockDevice& device, const BootSector& boot, unsigned copy) {
  std::vector<std::uint8_t> bytes(boot.FatBytes());
  if (Status s = device.Read(boot.FatOffset(copy), bytes); !s) return s;
  return FatTable(boot, std::move(bytes));
}

FatTable FatTable::Blank(const BootSector& boot) {
  FatTable table(boot, std::vector<std::uint8_t>(boot.FatBytes(), 0));
  std::uint32_t ones = boot.type == FatType::Fat12 ? 0xFFF : 0xFFFF;
  table.RawSet(0, (ones & ~0xFFu) | boot.media);
  table.RawSet(1, ones);
  return table;
}

std::uint32_t FatTable::RawGet(std::uint32_t index) const {
  if (type_ == FatType::Fat16) {
    std::size_t at = std::size_t{index} * 2;
    return text::LoadLe16(bytes_, at);
  }
  // FAT12: entry N is 12 bits at byte N + N/2; odd entries take the high bits.
  std::size_t at = index + index / 2;
  std::uint32_t word = text::LoadLe16(bytes_, at);
  return (index & 1) ? word >> 4 : word & 0xFFF;
}

void FatTable::RawSet(std::uint32_t index, std::uint32_t value) {
  if (type_ == FatType::Fat16) {
    std::size_t at = std::size_t{index} * 2;
    text::StoreLe16(bytes_, at, static_cast<std::uint16_t>(value));
    return;
  }
  std::size_t at = index + index / 2;
  value &= 0xFFF;
  if (index & 1) {
    bytes_[at] = static_cast<std::uint8_t>((bytes_[at] & 0x0F) | ((value & 0x0F) << 4));
    bytes_[at + 1] = static_cast<std::uint8_t>(value >> 4);
  } else {
    bytes_[at] = static_cast<std::uint8_t>(value);
    bytes_[at + 1] = static_cast<std::uint8_t>((bytes_[at + 1] & 0xF0) | (value >> 8));
  }
}

FatEntry FatTable::Get(std::uint32_t cluster) const {
  if (!IsCluster(cluster)) return {FatEntry::Kind::Invalid, 0};
  std::uint32_t raw = RawGet(cluster);
  std::uint32_t bad = type_ == FatType::Fat12 ? kFat12Bad : kFat16Bad;
  if (raw == 0) return FatEntry::Free();
  if (raw == bad) return {FatEntry::Kind::Bad, 0};
  if (raw > bad) return FatEntry::End();
  if (IsCluster(raw)) return FatEntry::Link(raw);
  return {FatEntry::Kind::Invalid, raw};
}

void FatTable::Set(std::uint32_t cluster, FatEntry entry) {
  if (!IsCluster(cluster)) return;
  std::uint32_t end = type_ == FatType::Fat12 ? 0xFFF : 0xFFFF;
  switch (entry.kind) {
    case FatEntry::Kind::Free:
      RawSet(cluster, 0);
      break;
    case FatEntry::Kind::Next:
      RawSet(cluster, entry.next);
      break;
    case FatEntry::Kind::Bad:
      RawSet(cluster, type_ == FatType::Fat12 ? kFat12Bad : kFat16Bad);
      break;
    case FatEntry::Kind::End:
      RawSet(cluster, end);
      break;
    case FatEntry::Kind::Invalid:
      break;
  }
}

std::uint32_t FatTable::FreeCount() const {
  std::uint32_t count = 0;
  for (std::uint32_t c = 2; c < clusterCount_ + 2; ++c) count += RawGet(c) == 0 ? 1 : 0;
  return count;
}

Result<std::vector<std::uint32_t>> FatTable::Chain(std::uint32_t first,
                                                   std::uint32_t wanted) const {
  std::vector<std::uint32_t> chain;
  if (wanted == 0) return chain;
  std::vector<bool> seen(std::size_t{clusterCount_} + 2, false);
  std::uint32_t cluster = first;
  while (true) {
    // Every member must be in use; one met twice means the chain loops.
    if (!IsCluster(cluster) || seen[cluster]) return Failed(win::ERROR_FILE_CORRUPT);
    FatEntry e = Get(cluster);
    if (e.kind != FatEntry::Kind::Next && e.kind != FatEntry::Kind::End)
      return Failed(win::ERROR_FILE_CORRUPT);
    seen[cluster] = true;
    chain.push_back(cluster);
    if (chain.size() >= wanted || e.kind == FatEntry::Kind::End) return chain;
    cluster = e.next;
  }
}

std::vector<std::uint32_t> FatTable::SoundPrefix(std::uint32_t first) const {
  std::vector<std::uint32_t> chain;
  std::vector<bool> seen(std::size_t{clusterCount_} + 2, false);
  std::uint32_t cluster = first;
  while (IsCluster(cluster) && !seen[cluster]) {
    FatEntry e = Get(cluster);
    if (e.kind == FatEntry::Kind::Free || e.kind == FatEntry::Kind::Bad) break;
    seen[cluster] = true;
    chain.push_back(cluster);
    if (e.kind != FatEntry::Kind::Next) break;
    cluster = e.next;
  }
  return chain;
}

Result<std::vector<std::uint32_t>> FatTable::FindFree(std::uint32_t count) const {
  std::vector<std::uint32_t> found;
  found.reserve(count);
  for (std::uint32_t c = 2; c < clusterCount_ + 2 && found.size() < count; ++c) {
    if (RawGet(c) == 0) found.push_back(c);
  }
  if (found.size() < count) return Failed(win::ERROR_DISK_FULL);
  return found;
}

void FatTable::MakeChain(std::span<const std::uint32_t> clusters) {
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    Set(clusters[i], i + 1 < clusters.size() ? FatEntry::Link(clusters[i + 1]) : FatEntry::End());
  }
}

void FatTable::Release(std::span<const std::uint32_t> clusters) {
  for (std::uint32_t c : clusters) Set(c, FatEntry::Free());
}

Status FatTable::Store(BlockDevice& device) const {
  // The copies lie back to back: one write puts them all down, so that an
  // interruption never leaves them telling different stories.
  std::vector<std::uint8_t> copies;
  copies.reserve(std::size_t{fatCount_} * fatBytes_);
  for (unsigned copy = 0; copy < fatCount_; ++copy)
    copies.insert(copies.end(), bytes_.begin(), bytes_.end());
  return device.Write(firstFatOffset_, copies);
}

}  // namespace pelko::fat
