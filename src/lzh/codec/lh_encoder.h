// The -lh5- / -lh6- / -lh7- encoder: input is pushed in pieces of any size
// and packed as it comes, in memory that does not grow with the input.
//
// Three parts: the match finder (match_finder.h), the parse that turns
// matches into tokens (here), and the block Huffman coder with its bit
// writer (block_encoder.h, bit_writer.h). -lh5- parses lazily over hash
// chains for speed; -lh6- and -lh7- parse for the fewest bits over a binary
// tree, pricing tokens with the statistics of the input just packed.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "lzh/codec/bit_writer.h"
#include "lzh/codec/block_encoder.h"
#include "lzh/codec/byte_sink.h"
#include "lzh/codec/encoder_method.h"
#include "lzh/codec/match_finder.h"

namespace pelko::lzh {

class LhEncoder {
 public:
  LhEncoder(PackMethod method, ByteSink& sink);

  // Starts a new stream into `sink` with the same method, as if newly made:
  // the tables and buffers are kept, so packing many small files costs no
  // allocation or clearing per file.
  void Restart(ByteSink& sink);

  // False once the sink refused bytes (nothing more is written then).
  bool Write(std::span<const std::byte> input);
  // Packs what is left and flushes the last bits.
  bool Finish();

  std::uint64_t BytesIn() const { return bytesIn_; }
  std::uint64_t BytesOut() const { return bits_.BytesOut(); }

  // The parse offers this many lengths of a match per step, side by side.
  static constexpr int kParseLanes = 4;

 private:
  // Signed: compares of signed 32-bit lanes are single instructions.
  using Price = std::int32_t;
  struct Prices {
    // Room past the last symbol for the parse's side-by-side steps.
    std::array<Price, kLiteralLengthCodes + kParseLanes - 1> literalLength{};
    std::array<Price, kMaxPositionCodes> position{};
  };

  void PackSegment(bool final);
  void ParseLazy(std::uint32_t segmentEnd);
  void ParseOptimal(std::uint32_t segmentEnd);
  Match FindLazy(std::uint32_t position, int maxChain);
  void InsertRange(std::uint32_t from, std::uint32_t to);
  void EmitLiteral(std::uint32_t position);
  void EmitMatch(Match match);
  void UpdatePrices();
  Prices PricesWith(std::span<const Token> tokens) const;
  void ListSegmentMatches(std::uint32_t n);
  void ShortestPath(std::uint32_t n, const Prices& prices, int lengthsPerMatch);
  void RebaseIfNeeded();
  void StartingPrices();

  EncoderMethod method_;
  bool optimal_;
  BitWriter bits_;
  BlockEncoder blocks_;
  EncoderWindow window_;
  std::unique_ptr<HashChainFinder> chains_;
  std::unique_ptr<BinaryTreeFinder> tree_;
  std::uint32_t position_;  // next byte to parse
  std::uint64_t bytesIn_ = 0;
  std::vector<Token> segment_;

  // Lazy parse: a match found at position_ whose turn has not yet come.
  bool haveFound_ = false;
  Match found_;

  // Optimal parse.
  Prices prices_;
  std::array<double, kLiteralLengthCodes> recentLiteralLength_{};
  std::array<double, kMaxPositionCodes> recentPosition_{};
  std::vector<Price> cost_;
  std::vector<std::uint32_t> step_;  // how each position was reached: the last token
  struct Listed {
    std::uint32_t start = 0;  // first match in pool_
    std::uint16_t count = 0;
    bool skipped = false;      // inside a very long match taken outright
    bool onlyLongest = false;  // weigh only the listed match's full length
  };
  std::vector<Listed> listed_;
  std::vector<Match> pool_;
  std::vector<Match> found_list_;
};

}  // namespace pelko::lzh
