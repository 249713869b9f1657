// MSB-first bit reading over the packed bytes of one entry: the decoders'
// input.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "lzh/codec/packed_input.h"

namespace pelko::lzh {

// MSB-first bits over a PackedInput, 64 bits buffered so that one refill
// serves a whole code, its position code and their extra bits.
class BitReader {
 public:
  explicit BitReader(PackedInput& input) : input_(input) {}

  // Keeps at least 56 bits buffered (zeros past the end of the input).
  void Refill() {
    if (count_ >= 56) return;
    if (end_ - next_ >= 8) {
      // Eight bytes at once; the bits beyond the whole bytes taken are the
      // following bytes of the same stream, so OR-ing them again later is
      // harmless.
      std::uint64_t v;
      std::memcpy(&v, next_, 8);
      if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
      buffer_ |= v >> count_;
      const unsigned take = (64 - count_) >> 3;
      next_ += take;
      count_ += take * 8;
      return;
    }
    while (count_ < 56) {
      if (next_ == end_ && !NextChunk()) {
        input_.AddOverrun(1);
        count_ += 8;
        continue;
      }
      buffer_ |= std::uint64_t{std::to_integer<std::uint8_t>(*next_++)} << (56 - count_);
      count_ += 8;
    }
  }
  // The next n bits (n <= 32) without taking them; Refill() first.
  std::uint32_t Peek(unsigned n) const {
    return n == 0 ? 0 : static_cast<std::uint32_t>(buffer_ >> (64 - n));
  }
  void Drop(unsigned n) {
    buffer_ <<= n;
    count_ -= n;
  }
  std::uint32_t Get(unsigned n) {
    if (count_ < n) Refill();
    const std::uint32_t v = Peek(n);
    Drop(n);
    return v;
  }
  unsigned Buffered() const { return count_; }

  // Whole bytes taken by the bits used so far, past the end included.
  std::uint64_t BytesUsed() const;
  // True once the bits used run past the packed bytes.
  bool PastEnd() const { return input_.Overrun() * 8 > count_; }

 private:
  bool NextChunk();

  PackedInput& input_;
  const std::byte* next_ = nullptr;
  const std::byte* end_ = nullptr;
  std::uint64_t buffer_ = 0;
  unsigned count_ = 0;
};

}  // namespace pelko::lzh
