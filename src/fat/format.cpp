#include "fat/format.h"

#include <cstring>

#include "fat/directory.h"
#include "fat/fat_table.h"
#include "text/dos_time.h"

namespace pelko::fat {
namespace {

struct FloppyRow {
  std::uint32_t sizeKiB;
  std::uint8_t sectorsPerCluster;
  std::uint16_t rootEntries;
  std::uint8_t media;
  std::uint16_t sectorsPerFat;
  std::uint16_t sectorsPerTrack;
  std::uint16_t heads;
};

// The DOS table of floppy formats (512-byte sectors, 1 reserved, 2 FATs).
constexpr FloppyRow kFloppies[] = {
    {160, 1, 64, 0xFE, 1, 8, 1},    {180, 1, 64, 0xFC, 2, 9, 1},    {320, 2, 112, 0xFF, 1, 8, 2},
    {360, 2, 112, 0xFD, 2, 9, 2},   {720, 2, 112, 0xF9, 3, 9, 2},   {1200, 1, 224, 0xF9, 7, 15, 2},
    {1440, 1, 224, 0xF0, 9, 18, 2}, {2880, 2, 240, 0xF0, 9, 36, 2},
};

std::uint64_t FatBytesFor(std::uint32_t clusters) {
  std::uint64_t entries = std::uint64_t{clusters} + 2;
  return clusters <= 4084 ? (entries * 3 + 1) / 2 : entries * 2;
}

}  // namespace

std::optional<BootSector> StandardFloppy(std::uint32_t sizeKiB) {
  for (const FloppyRow& row : kFloppies) {
    if (row.sizeKiB != sizeKiB) continue;
    BootSector b;
    b.bytesPerSector = 512;
    b.sectorsPerCluster = row.sectorsPerCluster;
    b.reservedSectors = 1;
    b.fatCount = 2;
    b.rootEntries = row.rootEntries;
    b.totalSectors = sizeKiB * 2;
    b.media = row.media;
    b.sectorsPerFat = row.sectorsPerFat;
    b.sectorsPerTrack = row.sectorsPerTrack;
    b.heads = row.heads;
    return b;
  }
  return std::nullopt;
}

std::vector<std::uint32_t> StandardFloppySizes() {
  std::vector<std::uint32_t> sizes;
  for (const FloppyRow& row : kFloppies) sizes.push_back(row.sizeKiB);
  return sizes;
}

Result<BootSector> PlanVolume(BootSector b) {
  if (b.bytesPerSector == 0 || b.sectorsPerCluster == 0)
    return Failed(win::ERROR_INVALID_PARAMETER);
  if (b.sectorsPerFat == 0) {
    // Grow the FAT until it holds an entry for every cluster it leaves room for.
    std::uint32_t rootSectors =
        (std::uint32_t{b.rootEntries} * 32 + b.bytesPerSector - 1) / b.bytesPerSector;
    std::uint32_t spf = 1;
    for (int round = 0; round < 16; ++round) {
      std::uint64_t used =
          std::uint64_t{b.reservedSectors} + std::uint64_t{b.fatCount} * spf + rootSectors;
      if (used >= b.totalSectors) return Failed(win::ERROR_INVALID_PARAMETER);
      auto clusters = static_cast<std::uint32_t>((b.totalSectors - used) / b.sectorsPerCluster);
      std::uint64_t need = (FatBytesFor(clusters) + b.bytesPerSector - 1) / b.bytesPerSector;
      if (need <= spf) break;
      if (need > 0xFFFF) return Failed(win::ERROR_INVALID_PARAMETER);
      spf = static_cast<std::uint32_t>(need);
    }
    b.sectorsPerFat = static_cast<std::uint16_t>(spf);
  }
  // Whatever a reader would refuse, a formatter must not write.
  std::array<std::uint8_t, kBootSectorBytes> sector = EncodeBootSector(b);
  Result<BootSector> checked =
      ParseBootSector(sector, std::uint64_t{b.totalSectors} * b.bytesPerSector);
  if (!checked) return Failed(win::ERROR_INVALID_PARAMETER);
  // The FAT type string follows the cluster count, so encode once more.
  b.type = checked->type;
  checked = ParseBootSector(EncodeBootSector(b), std::uint64_t{b.totalSectors} * b.bytesPerSector);
  if (!checked) return Failed(win::ERROR_INVALID_PARAMETER);
  return *checked;
}

Status FormatVolume(BlockDevice& device, const BootSector& plan, std::string_view label,
                    std::uint32_t serial) {
  if (device.IsWriteProtected()) return Failed(win::ERROR_WRITE_PROTECT);
  if (label.size() > 11) return Failed(win::ERROR_LABEL_TOO_LONG);
  BootSector boot = plan;
  boot.serial = serial;
  boot.extended = true;
  if (label.empty()) {
    std::memcpy(boot.label.data(), "NO NAME    ", 11);
  } else {
    boot.label.fill(' ');
    std::memcpy(boot.label.data(), label.data(), label.size());
  }
  if (std::uint64_t{boot.totalSectors} * boot.bytesPerSector > device.Size())
    return Failed(win::ERROR_INVALID_PARAMETER);

  // Sector 0, then zeros over the rest of the system area.
  std::vector<std::uint8_t> system(std::size_t{boot.firstDataSector} * boot.bytesPerSector, 0);
  std::array<std::uint8_t, kBootSectorBytes> sector = EncodeBootSector(boot);
  std::copy(sector.begin(), sector.end(), system.begin());
  if (Status s = device.Write(0, system); !s) return s;
  if (Status s = FatTable::Blank(boot).Store(device); !s) return s;
  if (!label.empty()) {
    Result<Directory> root = Directory::LoadRoot(device, boot);
    if (!root) return root.status();
    DirectoryEntry entry;
    entry.name = boot.label;
    if (entry.name[0] == kDeletedMark) entry.name[0] = kEscapedE5;
    entry.attributes = kAttrVolumeLabel;
    entry.written = text::DosTimeNow();
    root->Put(0, entry);
    if (Status s = root->Store(device); !s) return s;
  }
  return device.Flush();
}

}  // namespace pelko::fat
