// -lh1-: LZSS with an adaptive Huffman code for literals and lengths (the
// tree is rebuilt as symbol counts grow) and a fixed code for the upper six
// bits of a position. 4 KiB of history, matches of 3..60 bytes.
#include <array>
#include <cstring>
#include <memory>

#include "lzh/codec/bit_reader.h"
#include "lzh/codec/decoder_family.h"
#include "lzh/codec/huffman_table.h"
#include "lzh/codec/sliding_window.h"

namespace pelko::lzh {
namespace {

constexpr unsigned kThreshold = 3;
constexpr unsigned kMaxMatch = 60;
constexpr unsigned kSymbols = 256 - kThreshold + kMaxMatch + 1;  // 314
constexpr unsigned kNodes = kSymbols * 2 - 1;                    // 627
constexpr unsigned kRoot = kNodes - 1;
constexpr std::uint16_t kMaxFrequency = 0x8000;
constexpr unsigned kPositionCodes = 64;     // the upper six bits of a position
constexpr unsigned kPositionTableBits = 8;  // lookup width of their table

// The adaptive code: nodes kept in order of frequency so that swapping a
// node with the last one of its frequency keeps the tree a Huffman tree.
// child_[n] >= kNodes marks a leaf (symbol child_[n] - kNodes).
class AdaptiveTree {
 public:
  AdaptiveTree() {
    for (unsigned i = 0; i < kSymbols; ++i) {
      frequency_[i] = 1;
      child_[i] = static_cast<std::uint16_t>(i + kNodes);
      parent_[i + kNodes] = static_cast<std::uint16_t>(i);
    }
    for (unsigned i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
      frequency_[j] = static_cast<std::uint16_t>(frequency_[i] + frequency_[i + 1]);
      child_[j] = static_cast<std::uint16_t>(i);
      parent_[i] = parent_[i + 1] = static_cast<std::uint16_t>(j);
    }
    frequency_[kNodes] = 0xFFFF;  // stops the search for a swap partner
    parent_[kRoot] = 0;
  }

  // Walks from the root; one bit per level, 0 = first child.
  unsigned Decode(BitReader& bits) {
    unsigned node = child_[kRoot];
    while (node < kNodes) node = child_[node + bits.Get(1)];
    const unsigned symbol = node - kNodes;
    Update(symbol);
    return symbol;
  }

 private:
  void Update(unsigned symbol) {
    if (frequency_[kRoot] == kMaxFrequency) Rebuild();
    unsigned node = parent_[symbol + kNodes];
    do {
      const std::uint16_t f = ++frequency_[node];
      unsigned last = node + 1;
      if (f > frequency_[last]) {
        while (f > frequency_[++last]) {
        }
        --last;
        frequency_[node] = frequency_[last];
        frequency_[last] = f;
        const unsigned a = child_[node];
        parent_[a] = static_cast<std::uint16_t>(last);
        if (a < kNodes) parent_[a + 1] = static_cast<std::uint16_t>(last);
        const unsigned b = child_[last];
        child_[last] = static_cast<std::uint16_t>(a);
        parent_[b] = static_cast<std::uint16_t>(node);
        if (b < kNodes) parent_[b + 1] = static_cast<std::uint16_t>(node);
        child_[node] = static_cast<std::uint16_t>(b);
        node = last;
      }
      node = parent_[node];
    } while (node != 0);
  }

  // Halves every leaf's count and builds the tree again, in frequency order.
  void Rebuild() {
    unsigned j = 0;
    for (unsigned i = 0; i < kNodes; ++i) {
      if (child_[i] >= kNodes) {
        frequency_[j] = static_cast<std::uint16_t>((frequency_[i] + 1) / 2);
        child_[j] = child_[i];
        ++j;
      }
    }
    for (unsigned i = 0, k = kSymbols; k < kNodes; i += 2, ++k) {
      const std::uint16_t f = static_cast<std::uint16_t>(frequency_[i] + frequency_[i + 1]);
      unsigned at = k;
      while (f < frequency_[at - 1]) --at;
      std::memmove(&frequency_[at + 1], &frequency_[at], (k - at) * sizeof frequency_[0]);
      std::memmove(&child_[at + 1], &child_[at], (k - at) * sizeof child_[0]);
      frequency_[at] = f;
      child_[at] = static_cast<std::uint16_t>(i);
    }
    for (unsigned i = 0; i < kNodes; ++i) {
      const unsigned c = child_[i];
      parent_[c] = static_cast<std::uint16_t>(i);
      if (c < kNodes) parent_[c + 1] = static_cast<std::uint16_t>(i);
    }
  }

  std::array<std::uint16_t, kNodes + 1> frequency_{};
  std::array<std::uint16_t, kNodes + kSymbols> parent_{};
  std::array<std::uint16_t, kNodes> child_{};
};

// The fixed code of a position's upper six bits: 1 code of 3 bits, 3 of 4,
// 8 of 5, 12 of 6, 24 of 7 and 16 of 8, in order.
bool BuildPositionTable(HuffmanTable& table) {
  constexpr std::array<std::pair<unsigned, unsigned>, 6> kLengths{
      {{3, 1}, {4, 3}, {5, 8}, {6, 12}, {7, 24}, {8, 16}}};
  std::array<std::uint8_t, kPositionCodes> lengths{};
  unsigned symbol = 0;
  for (auto [length, count] : kLengths) {
    for (unsigned k = 0; k < count; ++k) lengths[symbol++] = static_cast<std::uint8_t>(length);
  }
  return table.Build(lengths);
}

struct Lh1State {
  AdaptiveTree tree;
  HuffmanTable positions{kPositionCodes, kPositionTableBits};
};

}  // namespace

LzhError DecodeLh1(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                   std::uint64_t& bytesUsed) {
  constexpr std::size_t kRing = 4096;
  auto state = std::make_unique<Lh1State>();
  if (!BuildPositionTable(state->positions)) return LzhError::BadData;
  BitReader bits(in);
  SlidingWindow window(kRing, ' ', 0, out, originalSize);
  while (!window.Full()) {
    bits.Refill();
    const unsigned c = state->tree.Decode(bits);
    bool ok;
    if (c < 256) {
      ok = window.Put(static_cast<std::uint8_t>(c));
    } else {
      bits.Refill();
      const unsigned upper = state->positions.Decode(bits);
      if (upper == HuffmanTable::kInvalid) return LzhError::BadData;
      const unsigned distance = (upper << 6) | bits.Get(6);
      ok = window.Copy(window.Position() - distance - 1, c - 256 + kThreshold);
    }
    if (!ok) return window.Error();
    if (bits.PastEnd()) return LzhError::SizeMismatch;
  }
  bytesUsed = bits.BytesUsed();
  return window.Finish() ? LzhError::None : window.Error();
}

}  // namespace pelko::lzh
