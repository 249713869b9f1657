// Canonical Huffman decoding for the -lh4- .. -lh7- streams: codes of up to
// 16 bits, assigned in order of (length, symbol). A primary table resolves
// short codes in one look-up; longer codes are walked length by length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "lzh/codec/bit_reader.h"

namespace pelko::lzh {

class HuffmanTable {
 public:
  static constexpr unsigned kMaxCodeLength = 16;
  static constexpr std::uint16_t kInvalid = 0xFFFF;

  // `tableBits` bits are resolved by the primary table.
  HuffmanTable(std::size_t symbols, unsigned tableBits);

  // From code lengths (0 = unused). Fails on a length above 16, on more
  // lengths than symbols, and on an over-subscribed set of lengths. An
  // incomplete set is accepted; its unused codes decode as invalid.
  bool Build(std::span<const std::uint8_t> lengths);
  // Every code decodes to `symbol` without taking a bit (a table of one symbol).
  bool BuildSingle(std::uint16_t symbol);

  // The next symbol, or kInvalid. Needs 16 buffered bits.
  std::uint16_t Decode(BitReader& bits) const {
    const Entry e = primary_[bits.Peek(tableBits_)];
    if (e.length <= tableBits_) {
      bits.Drop(e.length);
      return e.symbol;
    }
    return DecodeLong(bits);
  }

 private:
  struct Entry {
    std::uint16_t symbol;
    std::uint8_t length;  // > tableBits_: walk the longer codes
  };
  std::uint16_t DecodeLong(BitReader& bits) const;

  std::size_t symbols_;
  unsigned tableBits_;
  std::vector<Entry> primary_;
  std::uint16_t count_[kMaxCodeLength + 1] = {};
  std::vector<std::uint16_t> sorted_;  // symbols in canonical order
};

}  // namespace pelko::lzh
