#include "lzh/packed_input.h"

#include <algorithm>

namespace pelko::lzh {

std::span<const std::byte> PackedInput::NextChunk() {
  if (remaining_ == 0) return {};
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, kChunk));
  const std::size_t got = in_.Read(std::span<std::byte>(chunk_, want));
  remaining_ -= got;
  handedOut_ += got;
  if (got < want) {
    remaining_ = 0;
    endedEarly_ = true;
  }
  return {chunk_, got};
}

bool BitReader::NextChunk() {
  const auto chunk = input_.NextChunk();
  next_ = chunk.data();
  end_ = chunk.data() + chunk.size();
  return !chunk.empty();
}

std::uint64_t BitReader::BytesUsed() const {
  const std::uint64_t taken = input_.HandedOut() - static_cast<std::uint64_t>(end_ - next_) + input_.Overrun();
  const std::uint64_t bits = taken * 8 - count_;
  return (bits + 7) / 8;
}

}  // namespace pelko::lzh
