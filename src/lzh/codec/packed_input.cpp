#include "lzh/codec/packed_input.h"

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

}  // namespace pelko::lzh
