#include "lzh/codec/block_encoder.h"

#include <algorithm>

#include "lzh/codec/huffman_encoding.h"

namespace pelko::lzh {
namespace {

constexpr std::uint32_t kMaxBlockTokens = 0xFFFF;  // the block's 16-bit symbol count
// A new block starts even when it saves a little less than nothing: where
// the statistics change, the segments that follow tend to be like the new
// one, so the split pays off later too.
constexpr std::uint64_t kSplitBonusBits = 80;

// Code lengths and codes of one block's three tables.
struct BlockTables {
  std::array<std::uint8_t, kLiteralLengthCodes> cLen{};
  std::array<std::uint16_t, kLiteralLengthCodes> cCode{};
  int cUsed = 0;
  int cCount = 0;  // entries written (trailing zeros dropped)
  int cSingle = 0;
  std::array<std::uint32_t, kLengthTableCodes> tFreq{};
  std::array<std::uint8_t, kLengthTableCodes> tLen{};
  std::array<std::uint16_t, kLengthTableCodes> tCode{};
  int tUsed = 0;
  int tSingle = 0;
  std::array<std::uint8_t, kMaxPositionCodes> pLen{};
  std::array<std::uint16_t, kMaxPositionCodes> pCode{};
  int pUsed = 0;
  int pSingle = 0;
};

int SingleSymbol(std::span<const std::uint32_t> frequencies) {
  for (std::size_t s = 0; s < frequencies.size(); ++s) {
    if (frequencies[s] != 0) return static_cast<int>(s);
  }
  return 0;
}

// Runs of zero lengths in the C table are coded as T symbols 0 (one zero),
// 1 (3..18 zeros, 4 more bits) and 2 (20.. zeros, 9 more bits); a length k
// is T symbol k + 2. `emit(symbol, extraBits, extraValue)` gets each step.
template <typename Emit>
void WalkLiteralLengthTable(const BlockTables& t, Emit emit) {
  int i = 0;
  while (i < t.cCount) {
    const int len = t.cLen[i++];
    if (len != 0) {
      emit(len + 2, 0, 0);
      continue;
    }
    int run = 1;
    while (i < t.cCount && t.cLen[i] == 0) {
      ++i;
      ++run;
    }
    if (run <= 2) {
      for (int k = 0; k < run; ++k) emit(0, 0, 0);
    } else if (run <= 18) {
      emit(1, 4, run - 3);
    } else if (run == 19) {
      emit(0, 0, 0);
      emit(1, 4, 15);
    } else {
      emit(2, kLiteralLengthCountBits, run - 20);
    }
  }
}

int TrimmedCount(std::span<const std::uint8_t> lengths) {
  int n = static_cast<int>(lengths.size());
  while (n > 0 && lengths[n - 1] == 0) --n;
  return n;
}

int LengthFieldBits(int len) { return len <= 6 ? 3 : len - 3; }

// The T and P tables: a count, then each length in 3 bits (7 and up as 7
// followed by a unary run of ones); with `special` set, a 2-bit count of
// zero lengths skipped follows the third entry.
std::uint64_t ShortTableBits(std::span<const std::uint8_t> lengths, int countBits, bool special) {
  const int n = TrimmedCount(lengths);
  std::uint64_t bits = countBits;
  int i = 0;
  while (i < n) {
    bits += LengthFieldBits(lengths[i++]);
    if (special && i == 3) {
      while (i < 6 && i < n && lengths[i] == 0) ++i;
      bits += 2;
    }
  }
  return bits;
}

void WriteShortTable(BitWriter& out, std::span<const std::uint8_t> lengths, int countBits,
                     bool special) {
  const int n = TrimmedCount(lengths);
  out.Put(countBits, static_cast<std::uint32_t>(n));
  int i = 0;
  while (i < n) {
    const int len = lengths[i++];
    if (len <= 6) {
      out.Put(3, static_cast<std::uint32_t>(len));
    } else {
      // len-7 ones after 111, then a zero: (1 << (len-3)) - 2 in len-3 bits.
      out.Put(len - 3, (std::uint32_t{1} << (len - 3)) - 2);
    }
    if (special && i == 3) {
      const int start = i;
      while (i < 6 && i < n && lengths[i] == 0) ++i;
      out.Put(2, static_cast<std::uint32_t>(i - start));
    }
  }
}

// Code lengths of the three tables; `withCodes` adds the codes themselves
// (needed to send a block, not to weigh one).
void BuildTables(const SymbolCounts& counts, const EncoderMethod& method, BlockTables& t,
                 bool withCodes) {
  t.cUsed = BuildCodeLengths(counts.literalLength, kMaxCodeLength, t.cLen);
  t.cSingle = SingleSymbol(counts.literalLength);
  if (t.cUsed >= 2) {
    t.cCount = TrimmedCount(t.cLen);
    WalkLiteralLengthTable(t, [&](int symbol, int, int) { ++t.tFreq[symbol]; });
    t.tUsed = BuildCodeLengths(t.tFreq, kMaxCodeLength, t.tLen);
    t.tSingle = SingleSymbol(t.tFreq);
    if (withCodes) {
      BuildCanonicalCodes(t.tLen, t.tCode);
      BuildCanonicalCodes(t.cLen, t.cCode);
    }
  }
  const std::span<const std::uint32_t> position(counts.position.data(),
                                                static_cast<std::size_t>(method.positionCodes));
  const std::span<std::uint8_t> pLen(t.pLen.data(), static_cast<std::size_t>(method.positionCodes));
  t.pUsed = BuildCodeLengths(position, kMaxCodeLength, pLen);
  t.pSingle = SingleSymbol(position);
  if (withCodes) BuildCanonicalCodes(pLen, std::span<std::uint16_t>(t.pCode.data(), pLen.size()));
}

}  // namespace

void SymbolCounts::Add(const Token& token) {
  ++literalLength[token.symbol];
  if (token.symbol >= 256) ++position[PositionCode(token.offset)];
  ++tokens;
}

void SymbolCounts::Add(const SymbolCounts& other) {
  for (std::size_t i = 0; i < literalLength.size(); ++i) literalLength[i] += other.literalLength[i];
  for (std::size_t i = 0; i < position.size(); ++i) position[i] += other.position[i];
  tokens += other.tokens;
}

BlockEncoder::BlockEncoder(const EncoderMethod& method, BitWriter& out)
    : method_(method), out_(out) {
  pending_.reserve(kMaxBlockTokens);
}

void BlockEncoder::Restart() {
  pending_.clear();
  pendingCounts_ = SymbolCounts{};
  pendingBits_ = 0;
}

std::uint64_t BlockEncoder::BlockBits(const SymbolCounts& counts) const {
  BlockTables t;
  BuildTables(counts, method_, t, false);
  std::uint64_t bits = 16;
  if (t.cUsed >= 2) {
    bits += t.tUsed >= 2 ? ShortTableBits(t.tLen, kLengthTableCountBits, true)
                         : std::uint64_t{2} * kLengthTableCountBits;
    WalkLiteralLengthTable(
        t, [&](int symbol, int extraBits, int) { bits += t.tLen[symbol] + extraBits; });
    for (int s = 0; s < kLiteralLengthCodes; ++s) {
      bits += std::uint64_t(counts.literalLength[s]) * t.cLen[s];
    }
  } else {
    bits += 2 * kLengthTableCountBits + 2 * kLiteralLengthCountBits;
  }
  const std::span<const std::uint8_t> pLen(t.pLen.data(),
                                           static_cast<std::size_t>(method_.positionCodes));
  bits += t.pUsed >= 2 ? ShortTableBits(pLen, method_.positionCodeBits, false)
                       : std::uint64_t{2} * method_.positionCodeBits;
  for (int p = 0; p < method_.positionCodes; ++p) {
    bits += std::uint64_t(counts.position[p]) * (t.pLen[p] + (p > 1 ? p - 1 : 0));
  }
  return bits;
}

void BlockEncoder::AddSegment(std::span<const Token> tokens) {
  if (tokens.empty()) return;
  SymbolCounts segment;
  for (const Token& token : tokens) segment.Add(token);
  const std::uint64_t segmentBits = BlockBits(segment);
  if (!pending_.empty()) {
    bool startNew = pendingCounts_.tokens + segment.tokens > kMaxBlockTokens;
    if (!startNew) {
      SymbolCounts merged = pendingCounts_;
      merged.Add(segment);
      const std::uint64_t mergedBits = BlockBits(merged);
      if (pendingBits_ + segmentBits < mergedBits + kSplitBonusBits) {
        startNew = true;
      } else {
        pendingBits_ = mergedBits;
      }
    }
    if (startNew) {
      SendBlock();
      pendingBits_ = segmentBits;
    }
  } else {
    pendingBits_ = segmentBits;
  }
  pending_.insert(pending_.end(), tokens.begin(), tokens.end());
  pendingCounts_.Add(segment);
}

void BlockEncoder::Finish() {
  if (!pending_.empty()) SendBlock();
}

void BlockEncoder::SendBlock() {
  SendBlockPart(pending_, pendingCounts_);
  pending_.clear();
  pendingCounts_ = SymbolCounts{};
  pendingBits_ = 0;
}

void BlockEncoder::SendBlockPart(std::span<const Token> tokens, const SymbolCounts& counts) {
  BlockTables t;
  BuildTables(counts, method_, t, true);
  out_.Put(16, counts.tokens);
  if (t.cUsed >= 2) {
    if (t.tUsed >= 2) {
      WriteShortTable(out_, t.tLen, kLengthTableCountBits, true);
    } else {
      out_.Put(kLengthTableCountBits, 0);
      out_.Put(kLengthTableCountBits, static_cast<std::uint32_t>(t.tSingle));
    }
    out_.Put(kLiteralLengthCountBits, static_cast<std::uint32_t>(t.cCount));
    WalkLiteralLengthTable(t, [&](int symbol, int extraBits, int extraValue) {
      out_.Put(t.tLen[symbol], t.tCode[symbol]);
      out_.Put(extraBits, static_cast<std::uint32_t>(extraValue));
    });
  } else {
    out_.Put(kLengthTableCountBits, 0);
    out_.Put(kLengthTableCountBits, 0);
    out_.Put(kLiteralLengthCountBits, 0);
    out_.Put(kLiteralLengthCountBits, static_cast<std::uint32_t>(t.cSingle));
  }
  const std::span<const std::uint8_t> pLen(t.pLen.data(),
                                           static_cast<std::size_t>(method_.positionCodes));
  if (t.pUsed >= 2) {
    WriteShortTable(out_, pLen, method_.positionCodeBits, false);
  } else {
    out_.Put(method_.positionCodeBits, 0);
    out_.Put(method_.positionCodeBits, static_cast<std::uint32_t>(t.pSingle));
  }
  for (const Token& token : tokens) {
    out_.Put(t.cLen[token.symbol], t.cCode[token.symbol]);
    if (token.symbol < 256) continue;
    const int p = PositionCode(token.offset);
    out_.Put(t.pLen[p], t.pCode[p]);
    if (p > 1) out_.Put(p - 1, token.offset);
  }
}

}  // namespace pelko::lzh
