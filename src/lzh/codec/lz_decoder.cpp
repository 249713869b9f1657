// -lzs- and -lz5-: LArc's plain LZSS. Copies name an absolute place in the
// ring, not a distance back, and the ring starts with a fixed content.
#include <memory>

#include "lzh/codec/bit_reader.h"
#include "lzh/codec/decoder_family.h"
#include "lzh/codec/sliding_window.h"

namespace pelko::lzh {
namespace {

constexpr unsigned kLzsHistoryBits = 11;  // 2 KiB ring; a place is 11 bits
constexpr unsigned kLzsLengthBits = 4;
constexpr unsigned kLzsMinMatch = 2;
constexpr unsigned kLzsMaxMatch = kLzsMinMatch + (1u << kLzsLengthBits) - 1;  // 17
constexpr unsigned kLz5HistoryBits = 12;                                      // 4 KiB ring
constexpr unsigned kLz5MinMatch = 3;
constexpr unsigned kLz5MaxMatch = kLz5MinMatch + 0x0F;  // 18

// -lz5- starts with runs of every byte value, both ramps, zeros and spaces,
// so that early text can already be matched.
void FillLz5History(std::uint8_t* ring) {
  std::uint8_t* p = ring;
  for (unsigned value = 0; value < 256; ++value) {
    for (int k = 0; k < 13; ++k) *p++ = static_cast<std::uint8_t>(value);
  }
  for (unsigned value = 0; value < 256; ++value) *p++ = static_cast<std::uint8_t>(value);
  for (unsigned value = 0; value < 256; ++value) *p++ = static_cast<std::uint8_t>(255 - value);
  for (int k = 0; k < 128; ++k) *p++ = 0;
  for (int k = 0; k < 110; ++k) *p++ = ' ';
  for (unsigned k = 0; k < kLz5MaxMatch; ++k) *p++ = 0;
}

}  // namespace

// Bit stream: 1 + 8 bits is a literal; 0 + 11-bit place + 4-bit length (2..17).
LzhError DecodeLzs(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                   std::uint64_t& bytesUsed) {
  constexpr std::size_t kRing = std::size_t{1} << kLzsHistoryBits;
  BitReader bits(in);
  SlidingWindow window(kRing, ' ', kRing - kLzsMaxMatch, out, originalSize);
  while (!window.Full()) {
    bits.Refill();
    bool ok;
    if (bits.Get(1) == 1) {
      ok = window.Put(static_cast<std::uint8_t>(bits.Get(8)));
    } else {
      const std::size_t place = bits.Get(kLzsHistoryBits);
      ok = window.Copy(place, bits.Get(kLzsLengthBits) + kLzsMinMatch);
    }
    if (!ok) return window.Error();
    if (bits.PastEnd()) return LzhError::SizeMismatch;
  }
  bytesUsed = bits.BytesUsed();
  return window.Finish() ? LzhError::None : window.Error();
}

// Byte stream: a flag byte (bit 0 first, 1 = literal) for eight items; a
// copy is two bytes: place low 8 bits, then place high 4 bits and length-3.
LzhError DecodeLz5(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                   std::uint64_t& bytesUsed) {
  constexpr std::size_t kRing = std::size_t{1} << kLz5HistoryBits;
  SlidingWindow window(kRing, 0, kRing - kLz5MaxMatch, out, originalSize);
  FillLz5History(window.Ring());
  BitReader bits(in);
  while (!window.Full()) {
    bits.Refill();
    const unsigned flags = bits.Get(8);
    for (unsigned item = 0; item < 8 && !window.Full(); ++item) {
      bits.Refill();
      bool ok;
      if (flags & (1u << item)) {
        ok = window.Put(static_cast<std::uint8_t>(bits.Get(8)));
      } else {
        const unsigned low = bits.Get(8);
        const unsigned high = bits.Get(8);
        ok = window.Copy(((high & 0xF0) << 4) | low, (high & 0x0F) + kLz5MinMatch);
      }
      if (!ok) return window.Error();
      if (bits.PastEnd()) return LzhError::SizeMismatch;
    }
  }
  bytesUsed = bits.BytesUsed();
  return window.Finish() ? LzhError::None : window.Error();
}

}  // namespace pelko::lzh
