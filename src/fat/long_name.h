// Long-name (VFAT) pieces: read so that names written by Windows or mtools
// are found and listed, never written by this driver.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pelko::fat {

inline constexpr std::uint8_t kLongNameAttributes = 0x0F;
inline constexpr std::uint8_t kLastLongNamePiece = 0x40;

// The 13 UTF-16 units of one 32-byte piece, in name order.
std::vector<std::uint16_t> LongNamePieceUnits(std::span<const std::uint8_t, 32> piece);

// Assembles the pieces (as stored: last piece first) into the name in CP932.
// nullopt when the name ends badly or has no CP932 form.
std::optional<std::string> LongNameToCp932(const std::vector<std::uint16_t>& units);

}  // namespace pelko::fat
