// The block Huffman coder of the -lh5- family: tokens are buffered, counted
// and sent as static-Huffman blocks; a stretch of tokens that codes better
// on its own starts a new block.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "lzh/codec/bit_writer.h"
#include "lzh/codec/encoder_method.h"

namespace pelko::lzh {

// A literal (symbol < 256) or a match (symbol = length + 253, offset =
// distance - 1).
struct Token {
  std::uint16_t symbol = 0;
  std::uint16_t offset = 0;
};

// Bit length of a match offset: the position code of the block format.
inline int PositionCode(std::uint32_t offset) {
  return offset == 0 ? 0 : 32 - __builtin_clz(offset);
}

struct SymbolCounts {
  std::array<std::uint32_t, kLiteralLengthCodes> literalLength{};
  std::array<std::uint32_t, kMaxPositionCodes> position{};
  std::uint32_t tokens = 0;

  void Add(const Token& token);
  void Add(const SymbolCounts& other);
};

class BlockEncoder {
 public:
  BlockEncoder(const EncoderMethod& method, BitWriter& out);

  // The tokens of one stretch of input, in order.
  void AddSegment(std::span<const Token> tokens);
  // Sends what is buffered.
  void Finish();
  // Drops what is buffered, for a new stream.
  void Restart();

  // Exact size in bits of one block holding tokens with these counts.
  std::uint64_t BlockBits(const SymbolCounts& counts) const;

 private:
  void SendBlock();
  void SendBlockPart(std::span<const Token> tokens, const SymbolCounts& counts);

  EncoderMethod method_;
  BitWriter& out_;
  std::vector<Token> pending_;
  SymbolCounts pendingCounts_;
  std::uint64_t pendingBits_ = 0;
};

}  // namespace pelko::lzh
