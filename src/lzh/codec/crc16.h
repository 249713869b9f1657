// CRC-16 of LZH archives: reflected polynomial 0xA001 (CRC-16/ARC), initial 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pelko::lzh {

std::uint16_t UpdateCrc16(std::uint16_t crc, std::span<const std::byte> bytes);

inline std::uint16_t Crc16(std::span<const std::byte> bytes) { return UpdateCrc16(0, bytes); }

}  // namespace pelko::lzh
