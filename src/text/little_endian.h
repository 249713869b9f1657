// Little-endian integers in byte buffers: FAT boot sectors and directory
// entries, LZH headers and the tool's stored records all keep them so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace pelko::text {

// Anything indexable whose elements are single bytes: std::span of uint8_t or
// std::byte, std::vector, std::array, std::string, std::string_view.
template <typename Bytes>
concept ByteBuffer = requires(Bytes& bytes, std::size_t i) {
  requires sizeof(bytes[i]) == 1;
};

// The `width`-byte number at `at`; the caller has checked the bytes are there.
template <ByteBuffer Bytes>
constexpr std::uint64_t LoadLittleEndian(const Bytes& bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) {
    value |= std::uint64_t{static_cast<std::uint8_t>(bytes[at + i])} << (8 * i);
  }
  return value;
}

template <ByteBuffer Bytes>
constexpr std::uint16_t LoadLe16(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(LoadLittleEndian(bytes, at, 2));
}
template <ByteBuffer Bytes>
constexpr std::uint32_t LoadLe32(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(LoadLittleEndian(bytes, at, 4));
}
template <ByteBuffer Bytes>
constexpr std::uint64_t LoadLe64(const Bytes& bytes, std::size_t at) {
  return LoadLittleEndian(bytes, at, 8);
}

// Writes the low `width` bytes of `value` at `at` (the bytes must be there).
template <ByteBuffer Bytes>
constexpr void StoreLittleEndian(Bytes&& bytes, std::size_t at, std::size_t width,
                                 std::uint64_t value) {
  using Byte = std::remove_cvref_t<decltype(bytes[at])>;
  for (std::size_t i = 0; i < width; ++i)
    bytes[at + i] = static_cast<Byte>((value >> (8 * i)) & 0xFF);
}

template <ByteBuffer Bytes>
constexpr void StoreLe16(Bytes&& bytes, std::size_t at, std::uint16_t value) {
  StoreLittleEndian(bytes, at, 2, value);
}
template <ByteBuffer Bytes>
constexpr void StoreLe32(Bytes&& bytes, std::size_t at, std::uint32_t value) {
  StoreLittleEndian(bytes, at, 4, value);
}

// Appends the low `width` bytes of `value`.
inline void AppendLittleEndian(std::string& out, std::uint64_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace pelko::text
