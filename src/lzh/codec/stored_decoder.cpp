// -lh0-, -lz4- and -lhd-: the data is stored as it is.
#include "lzh/codec/decoder_family.h"

namespace pelko::lzh {

LzhError DecodeStored(PackedInput& in, std::uint64_t originalSize, ByteSink& out,
                      std::uint64_t& bytesUsed) {
  // Stored data is its own size: a mismatch is found before a byte is written.
  if (in.PackedSize() != originalSize) return LzhError::SizeMismatch;
  bytesUsed = 0;
  for (auto chunk = in.NextChunk(); !chunk.empty(); chunk = in.NextChunk()) {
    if (!out.Write(chunk)) return LzhError::WriteFailed;
    bytesUsed += chunk.size();
  }
  return LzhError::None;
}

}  // namespace pelko::lzh
