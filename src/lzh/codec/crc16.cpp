#include "lzh/codec/crc16.h"

#include <array>

namespace pelko::lzh {
namespace {

// kTables[k][b]: the CRC of byte b followed by k zero bytes, so that eight
// bytes are folded in with eight look-ups instead of eight dependent steps.
constexpr std::array<std::array<std::uint16_t, 256>, 8> MakeTables() {
  std::array<std::array<std::uint16_t, 256>, 8> tables{};
  for (unsigned i = 0; i < 256; ++i) {
    std::uint16_t value = static_cast<std::uint16_t>(i);
    for (int bit = 0; bit < 8; ++bit) {
      value = (value & 1) ? static_cast<std::uint16_t>((value >> 1) ^ 0xA001)
                          : static_cast<std::uint16_t>(value >> 1);
    }
    tables[0][i] = value;
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (unsigned i = 0; i < 256; ++i) {
      const std::uint16_t prev = tables[k - 1][i];
      tables[k][i] = static_cast<std::uint16_t>((prev >> 8) ^ tables[0][prev & 0xFF]);
    }
  }
  return tables;
}

constexpr auto kTables = MakeTables();

}  // namespace

std::uint16_t UpdateCrc16(std::uint16_t crc, std::span<const std::byte> bytes) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
  std::size_t n = bytes.size();
  while (n >= 8) {
    const unsigned x = crc ^ (p[0] | (p[1] << 8));
    crc = static_cast<std::uint16_t>(kTables[7][x & 0xFF] ^ kTables[6][x >> 8] ^ kTables[5][p[2]] ^
                                     kTables[4][p[3]] ^ kTables[3][p[4]] ^ kTables[2][p[5]] ^
                                     kTables[1][p[6]] ^ kTables[0][p[7]]);
    p += 8;
    n -= 8;
  }
  while (n-- != 0) crc = static_cast<std::uint16_t>(kTables[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8));
  return crc;
}

}  // namespace pelko::lzh
