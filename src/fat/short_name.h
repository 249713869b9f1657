// 8.3 names as CP932 bytes: the 11-byte field of a directory entry, the case
// bits Windows NT keeps beside it, and the 0xE5 <-> 0x05 escape.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "fat/fat_result.h"

namespace pelko::fat {

using ShortNameBytes = std::array<std::uint8_t, 11>;

inline constexpr std::uint8_t kLowerCaseBase = 0x08;
inline constexpr std::uint8_t kLowerCaseExtension = 0x10;
inline constexpr std::uint8_t kDeletedMark = 0xE5;
inline constexpr std::uint8_t kEscapedE5 = 0x05;

struct ShortName {
  ShortNameBytes bytes{};      // as stored: upper case, space padded, 0xE5 escaped
  std::uint8_t caseFlags = 0;  // kLowerCaseBase / kLowerCaseExtension
};

// "archive.lzh" -> "ARCHIVE LZH" with both lower-case bits. Names that do not
// fit 8.3 (too long, two dots, mixed case is kept upper), or hold a character
// a short name may not, fail with ERROR_INVALID_NAME.
Result<ShortName> MakeShortName(std::string_view cp932Name);

// The name as Windows lists it: "NAME.EXT", 0x05 undone, the case bits applied.
std::string ShortNameText(const ShortNameBytes& bytes, std::uint8_t caseFlags);

// The checksum that ties long-name pieces to their short entry.
std::uint8_t ShortNameChecksum(const ShortNameBytes& bytes);

// Equality of two names as Windows compares them on FAT (case ignored for
// ASCII and full-width letters; trail bytes compared exactly).
bool SameName(std::string_view a, std::string_view b);

}  // namespace pelko::fat
