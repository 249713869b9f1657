#include "lzh/codec/huffman_table.h"

#include <algorithm>

namespace pelko::lzh {

HuffmanTable::HuffmanTable(std::size_t symbols, unsigned tableBits)
    : symbols_(symbols),
      tableBits_(tableBits),
      primary_(std::size_t{1} << tableBits),
      sorted_(symbols) {}

bool HuffmanTable::BuildSingle(std::uint16_t symbol) {
  if (symbol >= symbols_) return false;
  std::fill(primary_.begin(), primary_.end(), Entry{symbol, 0});
  std::fill(std::begin(count_), std::end(count_), 0);
  return true;
}

bool HuffmanTable::Build(std::span<const std::uint8_t> lengths) {
  if (lengths.size() > symbols_) return false;
  std::fill(std::begin(count_), std::end(count_), 0);
  for (std::uint8_t length : lengths) {
    if (length > kMaxCodeLength) return false;
    ++count_[length];
  }
  count_[0] = 0;
  // Kraft: codes still free at each length must never go negative.
  std::int32_t free = 1;
  for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
    free = free * 2 - count_[len];
    if (free < 0) return false;
  }
  std::uint16_t offset[kMaxCodeLength + 2] = {};
  for (unsigned len = 1; len <= kMaxCodeLength; ++len) offset[len + 1] = offset[len] + count_[len];
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    if (lengths[s] != 0) sorted_[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);
  }

  // Fill the primary table: a code of length L <= tableBits covers
  // 2^(tableBits-L) entries; a longer code's prefix is marked for the walk.
  std::fill(primary_.begin(), primary_.end(), Entry{kInvalid, 0});
  std::uint32_t code = 0;
  std::size_t index = 0;
  for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
    for (unsigned i = 0; i < count_[len]; ++i, ++code, ++index) {
      if (len <= tableBits_) {
        const std::uint32_t first = code << (tableBits_ - len);
        const std::uint32_t span = 1u << (tableBits_ - len);
        for (std::uint32_t k = 0; k < span; ++k)
          primary_[first + k] = Entry{sorted_[index], static_cast<std::uint8_t>(len)};
      } else {
        primary_[code >> (len - tableBits_)] =
            Entry{kInvalid, static_cast<std::uint8_t>(tableBits_ + 1)};
      }
    }
    code <<= 1;
  }
  // Prefixes no code starts with stay {kInvalid, 0}: an unused code of an
  // incomplete set fails at once.
  return true;
}

std::uint16_t HuffmanTable::DecodeLong(BitReader& bits) const {
  // The canonical walk: at each length, codes from `first` on are that length.
  const std::uint32_t window = bits.Peek(kMaxCodeLength);
  std::uint32_t code = 0;
  std::uint32_t first = 0;
  std::uint32_t index = 0;
  for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
    code |= (window >> (kMaxCodeLength - len)) & 1;
    const std::uint32_t count = count_[len];
    if (code - first < count) {
      bits.Drop(len);
      return sorted_[index + (code - first)];
    }
    index += count;
    first = (first + count) << 1;
    code <<= 1;
  }
  return kInvalid;
}

}  // namespace pelko::lzh
