#include "fat/boot_sector.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "text/little_endian.h"

namespace pelko::fat {
namespace {

constexpr std::uint32_t kMaxFat12Clusters = 4084;
constexpr std::uint32_t kMaxFat16Clusters = 65524;

Status NotFat() { return Failed(win::ERROR_NOT_READY); }

bool IsPowerOfTwo(std::uint32_t v) { return v != 0 && std::has_single_bit(v); }

// The media byte: 0xF0 or 0xF8-0xFF (also the low byte of FAT entry 0).
bool IsMediaDescriptor(std::uint8_t m) { return m == 0xF0 || m >= 0xF8; }

using Refusal = BootSectorRefusal;

// Reads the fields into `b` and checks each; the first check that fails
// says why.
std::optional<Refusal> Examine(std::span<const std::uint8_t> s, std::uint64_t deviceSize,
                               BootSector& b) {
  if (s.size() < kBootSectorBytes) return Refusal::TooShort;
  // A jump to the boot code, and the signature every DOS-made disk carries.
  if (s[0] != 0xE9 && (s[0] != 0xEB || s[2] != 0x90)) return Refusal::NoJump;
  if (s[510] != 0x55 || s[511] != 0xAA) return Refusal::NoSignature;

  b.bytesPerSector = text::LoadLe16(s, 11);
  b.sectorsPerCluster = s[13];
  b.reservedSectors = text::LoadLe16(s, 14);
  b.fatCount = s[16];
  b.rootEntries = text::LoadLe16(s, 17);
  std::uint16_t total16 = text::LoadLe16(s, 19);
  b.media = s[21];
  b.sectorsPerFat = text::LoadLe16(s, 22);
  b.sectorsPerTrack = text::LoadLe16(s, 24);
  b.heads = text::LoadLe16(s, 26);
  b.hiddenSectors = text::LoadLe32(s, 28);
  std::uint32_t total32 = text::LoadLe32(s, 32);
  b.totalSectors = total16 != 0 ? total16 : total32;

  if (b.bytesPerSector < 512 || b.bytesPerSector > 4096 || !IsPowerOfTwo(b.bytesPerSector))
    return Refusal::BytesPerSector;
  if (!IsPowerOfTwo(b.sectorsPerCluster)) return Refusal::SectorsPerCluster;
  if (b.ClusterBytes() > 64 * 1024) return Refusal::ClusterTooLarge;
  if (b.reservedSectors == 0) return Refusal::NoReservedSectors;
  if (b.fatCount == 0 || b.fatCount > 4) return Refusal::FatCount;
  if (b.rootEntries == 0) return Refusal::NoRootEntries;
  if (b.totalSectors == 0) return Refusal::NoTotalSectors;
  if (!IsMediaDescriptor(b.media)) return Refusal::MediaDescriptor;
  if (b.sectorsPerFat == 0) return Refusal::NoSectorsPerFat;

  b.rootSectors = (b.RootBytes() + b.bytesPerSector - 1) / b.bytesPerSector;
  std::uint64_t firstData = std::uint64_t{b.reservedSectors} +
                            std::uint64_t{b.fatCount} * b.sectorsPerFat + b.rootSectors;
  if (firstData >= b.totalSectors) return Refusal::NoDataArea;
  b.firstDataSector = static_cast<std::uint32_t>(firstData);
  if (std::uint64_t{b.totalSectors} * b.bytesPerSector > deviceSize) {
    return Refusal::LargerThanDevice;
  }

  b.clusterCount = (b.totalSectors - b.firstDataSector) / b.sectorsPerCluster;
  if (b.clusterCount == 0 || b.clusterCount > kMaxFat16Clusters) return Refusal::ClusterCount;
  b.type = b.clusterCount <= kMaxFat12Clusters ? FatType::Fat12 : FatType::Fat16;
  // The last entry (cluster clusterCount + 1) must lie inside one FAT.
  std::uint64_t last = std::uint64_t{b.clusterCount} + 1;
  std::uint64_t fatBytesNeeded = b.type == FatType::Fat12 ? last + last / 2 + 2 : (last + 1) * 2;
  if (fatBytesNeeded > b.FatBytes()) return Refusal::FatTooSmall;

  b.driveNumber = s[36];
  b.extended = s[38] == kExtendedBootSignature;
  if (b.extended) {
    b.serial = text::LoadLe32(s, kSerialOffset);
    std::copy_n(s.begin() + kBootLabelOffset, 11, b.label.begin());
  } else {
    // An old BPB keeps no serial; Windows still reports the bytes at 39.
    b.serial = text::LoadLe32(s, kSerialOffset);
    b.label.fill(' ');
  }
  return std::nullopt;
}

std::optional<Refusal> ReadAndExamine(BlockDevice& device, BootSector& b) {
  std::array<std::uint8_t, kBootSectorBytes> sector{};
  if (device.Size() < sector.size()) return Refusal::TooShort;
  if (!device.Read(0, sector)) return Refusal::Unreadable;
  return Examine(sector, device.Size(), b);
}

}  // namespace

const char* BootSectorRefusalText(BootSectorRefusal refusal) {
  switch (refusal) {
    case Refusal::TooShort:
      return "shorter than one sector";
    case Refusal::Unreadable:
      return "the boot sector cannot be read";
    case Refusal::NoJump:
      return "no jump to boot code at byte 0";
    case Refusal::NoSignature:
      return "no boot signature 55 AA at byte 510";
    case Refusal::BytesPerSector:
      return "bytes per sector is not a power of two from 512 to 4096";
    case Refusal::SectorsPerCluster:
      return "sectors per cluster is not a power of two";
    case Refusal::ClusterTooLarge:
      return "a cluster is larger than 64 KiB";
    case Refusal::NoReservedSectors:
      return "no reserved sectors";
    case Refusal::FatCount:
      return "the number of FATs is not 1 to 4";
    case Refusal::NoRootEntries:
      return "no root folder entries (FAT32?)";
    case Refusal::NoTotalSectors:
      return "the total sector count is zero";
    case Refusal::MediaDescriptor:
      return "the media byte is not F0 or F8-FF";
    case Refusal::NoSectorsPerFat:
      return "sectors per FAT is zero (FAT32?)";
    case Refusal::NoDataArea:
      return "the FATs and root folder leave no room for data";
    case Refusal::LargerThanDevice:
      return "the volume is larger than the image";
    case Refusal::ClusterCount:
      return "the cluster count is zero or beyond FAT16";
    case Refusal::FatTooSmall:
      return "the FAT is too small for its clusters";
  }
  return "unknown";
}

Result<BootSector> ParseBootSector(std::span<const std::uint8_t> s, std::uint64_t deviceSize) {
  BootSector b;
  if (Examine(s, deviceSize, b)) return NotFat();
  return b;
}

Result<BootSector> ReadBootSector(BlockDevice& device) {
  BootSector b;
  if (ReadAndExamine(device, b)) return NotFat();
  return b;
}

std::optional<BootSectorRefusal> WhyNotFat(BlockDevice& device) {
  BootSector b;
  return ReadAndExamine(device, b);
}

std::array<std::uint8_t, kBootSectorBytes> EncodeBootSector(const BootSector& b) {
  std::array<std::uint8_t, kBootSectorBytes> s{};
  s[0] = 0xEB;
  s[1] = 0x3C;
  s[2] = 0x90;
  std::memcpy(&s[3], "MSDOS5.0", 8);
  text::StoreLe16(s, 11, b.bytesPerSector);
  s[13] = b.sectorsPerCluster;
  text::StoreLe16(s, 14, b.reservedSectors);
  s[16] = b.fatCount;
  text::StoreLe16(s, 17, b.rootEntries);
  if (b.totalSectors <= 0xFFFF) {
    text::StoreLe16(s, 19, static_cast<std::uint16_t>(b.totalSectors));
  } else {
    text::StoreLe32(s, 32, b.totalSectors);
  }
  s[21] = b.media;
  text::StoreLe16(s, 22, b.sectorsPerFat);
  text::StoreLe16(s, 24, b.sectorsPerTrack);
  text::StoreLe16(s, 26, b.heads);
  text::StoreLe32(s, 28, b.hiddenSectors);
  s[36] = b.driveNumber;
  s[38] = kExtendedBootSignature;
  text::StoreLe32(s, kSerialOffset, b.serial);
  std::copy(b.label.begin(), b.label.end(), s.begin() + kBootLabelOffset);
  std::memcpy(&s[54], b.type == FatType::Fat12 ? "FAT12   " : "FAT16   ", 8);
  // Boot code at 0x3E: print the message, wait for a key, reboot.
  static constexpr std::uint8_t kCode[] = {
      0x0E, 0x1F,        // push cs; pop ds
      0xBE, 0x5B, 0x7C,  // mov si, message
      0xAC,              // lodsb
      0x22, 0xC0,        // and al, al
      0x74, 0x0B,        // jz wait
      0x56,              // push si
      0xB4, 0x0E,        // mov ah, 0Eh
      0xBB, 0x07, 0x00,  // mov bx, 7
      0xCD, 0x10,        // int 10h
      0x5E,              // pop si
      0xEB, 0xF0,        // jmp lodsb
      0x32, 0xE4,        // wait: xor ah, ah
      0xCD, 0x16,        // int 16h
      0xCD, 0x19,        // int 19h
  };
  std::copy(std::begin(kCode), std::end(kCode), s.begin() + 0x3E);
  static constexpr char kMessage[] = "\r\nNon-system disk. Press any key to restart.\r\n";
  std::memcpy(&s[0x5B], kMessage, sizeof kMessage);
  s[510] = 0x55;
  s[511] = 0xAA;
  return s;
}

Status WriteBootLabel(BlockDevice& device, const BootSector& boot,
                      const std::array<std::uint8_t, 11>& label) {
  if (!boot.extended) return Ok();
  return device.Write(kBootLabelOffset, label);
}

}  // namespace pelko::fat
