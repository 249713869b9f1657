#include "lzh/codec/byte_source.h"

#include <algorithm>
#include <cstring>

#include "text/win_error.h"

namespace pelko::lzh {

bool MemorySource::Read(std::span<std::byte> buffer, std::size_t& bytesRead) {
  const std::size_t available = bytes_.size() - std::min(position_, bytes_.size());
  bytesRead = std::min(buffer.size(), available);
  if (bytesRead != 0) std::memcpy(buffer.data(), bytes_.data() + position_, bytesRead);
  position_ += bytesRead;
  return true;
}

bool MemorySource::Seek(std::uint64_t offset) {
  if (offset > SIZE_MAX) return win::Fail(win::ERROR_SEEK);
  position_ = static_cast<std::size_t>(offset);
  return true;
}

}  // namespace pelko::lzh
