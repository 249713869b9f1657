#include "lzh/crc16.h"

#include <array>

namespace pelko::lzh {
namespace {

constexpr std::array<std::uint16_t, 256> MakeTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    std::uint16_t value = static_cast<std::uint16_t>(i);
    for (int bit = 0; bit < 8; ++bit) {
      value = (value & 1) ? static_cast<std::uint16_t>((value >> 1) ^ 0xA001) : static_cast<std::uint16_t>(value >> 1);
    }
    table[i] = value;
  }
  return table;
}

constexpr auto kTable = MakeTable();

}  // namespace

std::uint16_t UpdateCrc16(std::uint16_t crc, std::span<const std::byte> bytes) {
  for (std::byte b : bytes) {
    crc = static_cast<std::uint16_t>(kTable[(crc ^ std::to_integer<std::uint8_t>(b)) & 0xFF] ^ (crc >> 8));
  }
  return crc;
}

}  // namespace pelko::lzh
