// The three static-Huffman methods the encoder writes: one engine, three
// dictionary sizes and position-code tables.
#pragma once

#include <optional>
#include <string_view>

namespace pelko::lzh {

enum class PackMethod { Lh5, Lh6, Lh7 };

struct EncoderMethod {
  std::string_view id;       // "-lh5-", ...
  int dictionaryBits = 0;    // window of 2^bits bytes
  int positionCodes = 0;     // size of the position-code alphabet (NP)
  int positionCodeBits = 0;  // width of the P table's count field (PBIT)
};

EncoderMethod EncoderMethodOf(PackMethod method);

// "-lh5", "-lh6", "-lh7" (as the command line spells them, case ignored) or
// the method ids themselves.
std::optional<PackMethod> PackMethodFromSwitch(std::string_view text);

// Bit stream constants shared by -lh4- .. -lh7-.
inline constexpr int kMinMatch = 3;
inline constexpr int kMaxMatch = 256;
inline constexpr int kLiteralLengthCodes = 256 + kMaxMatch - kMinMatch + 1;  // NC = 510
inline constexpr int kLengthTableCodes = 19;                                 // NT
inline constexpr int kLengthTableCountBits = 5;                              // TBIT
inline constexpr int kLiteralLengthCountBits = 9;                            // CBIT
inline constexpr int kMaxCodeLength = 16;
inline constexpr int kMaxPositionCodes = 17;

}  // namespace pelko::lzh
