#include "lzh/codec/bit_reader.h"

namespace pelko::lzh {

bool BitReader::NextChunk() {
  const auto chunk = input_.NextChunk();
  next_ = chunk.data();
  end_ = chunk.data() + chunk.size();
  return !chunk.empty();
}

std::uint64_t BitReader::BytesUsed() const {
  const std::uint64_t taken =
      input_.HandedOut() - static_cast<std::uint64_t>(end_ - next_) + input_.Overrun();
  const std::uint64_t bits = taken * 8 - count_;
  return (bits + 7) / 8;
}

}  // namespace pelko::lzh
