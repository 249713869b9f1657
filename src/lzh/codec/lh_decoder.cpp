// -lh4- .. -lh7-: LZSS with static Huffman blocks. One engine; the methods
// differ only in history size and in the size of the position alphabet.
#include <array>
#include <cstdint>
#include <memory>

#include "lzh/codec/bit_reader.h"
#include "lzh/codec/decoder_family.h"
#include "lzh/codec/huffman_table.h"
#include "lzh/codec/sliding_window.h"

namespace pelko::lzh {
namespace {

constexpr unsigned kThreshold = 3;                       // shortest match
constexpr unsigned kCodes = 256 + 256 - kThreshold + 1;  // NC: literals and match lengths 3..256
constexpr unsigned kLengthCodes = 19;                    // NT: the alphabet of C code lengths
constexpr unsigned kLengthCodeBits = 5;                  // TBIT
constexpr unsigned kCodeCountBits = 9;                   // CBIT
constexpr unsigned kMaxPositionCodes = 17;
constexpr int kZeroRunAfterLength = 3;    // the T table's 2-bit run of zero lengths follows entry 3
constexpr int kNoZeroRun = -1;            // the P table has no such run
constexpr unsigned kLengthTableBits = 8;  // lookup width of the T and P tables
constexpr unsigned kCodeTableBits = 12;   // lookup width of the C table
constexpr unsigned kShortLengthBits = 3;  // a T or P length; 7 is extended by 1 bits
constexpr unsigned kShortRunBits = 4;     // C zero run of 3..18
constexpr unsigned kShortRunBase = 3;
constexpr unsigned kLongRunBase = 20;  // C zero run of 20.., its count in kCodeCountBits

struct LhParameters {
  unsigned historyBits;  // 2^historyBits bytes of history (at least every distance the codes reach)
  unsigned positionCodes;  // NP
  unsigned positionBits;   // PBIT: width of the P table's count
};

constexpr LhParameters kLh5{.historyBits = 13, .positionCodes = 14, .positionBits = 4};
constexpr LhParameters kLh6{.historyBits = 15, .positionCodes = 16, .positionBits = 5};
constexpr LhParameters kLh7{.historyBits = 16, .positionCodes = 17, .positionBits = 5};

class LhEngine {
 public:
  LhEngine(const LhParameters& p, PackedInput& in, std::uint64_t originalSize, ByteSink& out)
      : p_(p),
        bits_(in),
        window_(std::size_t{1} << p.historyBits, ' ', 0, out, originalSize),
        lengthTable_(kLengthCodes, kLengthTableBits),
        codeTable_(kCodes, kCodeTableBits),
        positionTable_(kMaxPositionCodes, kLengthTableBits) {}

  LzhError Run(std::uint64_t& bytesUsed) {
    LzhError error = LzhError::None;
    while (!window_.Full() && error == LzhError::None) error = Block();
    if (error == LzhError::None && !window_.Finish()) error = window_.Error();
    bytesUsed = bits_.BytesUsed();
    return error;
  }

 private:
  LzhError Block() {
    bits_.Refill();
    unsigned symbols = bits_.Get(16);
    if (!ReadSmallLengths(lengthTable_, kLengthCodes, kLengthCodeBits, kZeroRunAfterLength))
      return LzhError::BadData;
    if (!ReadCodeLengths()) return LzhError::BadData;
    if (!ReadSmallLengths(positionTable_, p_.positionCodes, p_.positionBits, kNoZeroRun))
      return LzhError::BadData;
    if (bits_.PastEnd()) return LzhError::SizeMismatch;
    // The hot loop: ring position and bytes still wanted live in locals;
    // the window takes over only where the ring wraps.
    const std::size_t mask = window_.Mask();
    const std::size_t size = mask + 1;
    std::uint8_t* const ring = window_.Ring();
    std::size_t pos = window_.Position();
    std::uint64_t left = window_.Left();
    LzhError error = LzhError::None;
    while (symbols-- != 0 && left != 0) {
      bits_.Refill();
      const std::uint16_t c = codeTable_.Decode(bits_);
      if (c < 256) {
        ring[pos] = static_cast<std::uint8_t>(c);
        --left;
        if (++pos == size) {
          window_.Sync(0, left);
          if (!window_.WrapAfterLastByte()) return window_.Error();
          pos = 0;
        }
      } else if (c != HuffmanTable::kInvalid) {
        const std::uint16_t p = positionTable_.Decode(bits_);
        if (p == HuffmanTable::kInvalid) {
          error = LzhError::BadData;
          break;
        }
        const std::uint32_t distance = p <= 1 ? p : (1u << (p - 1)) + bits_.Get(p - 1);
        const std::size_t from = (pos - distance - 1) & mask;
        const std::size_t length = c - 256 + kThreshold;
        if (length <= left && pos + length < size && from + length <= size) {
          CopyForward(ring + pos, ring + from, length);
          pos += length;
          left -= length;
        } else {
          window_.Sync(pos, left);
          if (!window_.Copy(from, length)) return window_.Error();
          pos = window_.Position();
          left = window_.Left();
        }
      } else {
        error = LzhError::BadData;
        break;
      }
      if (bits_.PastEnd()) {
        error = LzhError::SizeMismatch;
        break;
      }
    }
    window_.Sync(pos, left);
    return error;
  }

  // The T and P tables: a count, then 3-bit lengths with 7 extended by a run
  // of 1 bits; after entry `zeroRunAfter` a 2-bit count of zero lengths.
  bool ReadSmallLengths(HuffmanTable& table, unsigned symbols, unsigned countBits,
                        int zeroRunAfter) {
    bits_.Refill();
    const unsigned n = bits_.Get(countBits);
    if (n == 0) {
      const unsigned only = bits_.Get(countBits);
      return only < symbols && table.BuildSingle(static_cast<std::uint16_t>(only));
    }
    if (n > symbols) return false;
    std::array<std::uint8_t, kLengthCodes> lengths{};
    unsigned i = 0;
    while (i < n) {
      bits_.Refill();
      unsigned length = bits_.Get(kShortLengthBits);
      if (length == (1u << kShortLengthBits) - 1) {
        while (bits_.Get(1) == 1) {
          if (++length > HuffmanTable::kMaxCodeLength) return false;
        }
      }
      lengths[i++] = static_cast<std::uint8_t>(length);
      if (static_cast<int>(i) == zeroRunAfter) {
        const unsigned zeros = bits_.Get(2);
        if (i + zeros > symbols) return false;
        i += zeros;  // already zero
      }
    }
    return table.Build(std::span(lengths).first(symbols));
  }

  // The C table, its lengths coded with the T table: 0, 1 and 2 are runs of
  // zero lengths (1, 3..18, 20..531), k >= 3 is a length of k - 2.
  bool ReadCodeLengths() {
    bits_.Refill();
    const unsigned n = bits_.Get(kCodeCountBits);
    if (n == 0)
      return codeTable_.BuildSingle(static_cast<std::uint16_t>(bits_.Get(kCodeCountBits)));
    if (n > kCodes) return false;
    std::array<std::uint8_t, kCodes> lengths{};
    unsigned i = 0;
    while (i < n) {
      bits_.Refill();
      const std::uint16_t c = lengthTable_.Decode(bits_);
      if (c == HuffmanTable::kInvalid) return false;
      if (c <= 2) {
        const unsigned zeros = c == 0   ? 1
                               : c == 1 ? bits_.Get(kShortRunBits) + kShortRunBase
                                        : bits_.Get(kCodeCountBits) + kLongRunBase;
        if (i + zeros > kCodes) return false;
        i += zeros;
      } else {
        lengths[i++] = static_cast<std::uint8_t>(c - 2);
      }
    }
    return codeTable_.Build(lengths);
  }

  LhParameters p_;
  BitReader bits_;
  SlidingWindow window_;
  HuffmanTable lengthTable_;
  HuffmanTable codeTable_;
  HuffmanTable positionTable_;
};

LzhError DecodeLh(const LhParameters& p, PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                  std::uint64_t& bytesUsed) {
  auto engine = std::make_unique<LhEngine>(p, in, originalSize, out);
  return engine->Run(bytesUsed);
}

}  // namespace

// -lh4- keeps 4 KiB of history but shares -lh5-'s position codes, which
// reach 8 KiB back; the ring is sized for the codes.
LzhError DecodeLh4(PackedInput& in, std::uint64_t size, ByteSink& out, std::uint64_t& used) {
  return DecodeLh(kLh5, in, size, out, used);
}
LzhError DecodeLh5(PackedInput& in, std::uint64_t size, ByteSink& out, std::uint64_t& used) {
  return DecodeLh(kLh5, in, size, out, used);
}
LzhError DecodeLh6(PackedInput& in, std::uint64_t size, ByteSink& out, std::uint64_t& used) {
  return DecodeLh(kLh6, in, size, out, used);
}
LzhError DecodeLh7(PackedInput& in, std::uint64_t size, ByteSink& out, std::uint64_t& used) {
  return DecodeLh(kLh7, in, size, out, used);
}

}  // namespace pelko::lzh
