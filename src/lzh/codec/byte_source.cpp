#include "lzh/codec/byte_source.h"

#include <algorithm>
#include <cstring>

#include "text/win_error.h"

namespace pelko::lzh {

std::size_t CopyFromMemory(std::span<const std::byte> bytes, std::size_t& position,
                           std::span<std::byte> buffer) {
  const std::size_t available = bytes.size() - std::min(position, bytes.size());
  const std::size_t count = std::min(buffer.size(), available);
  if (count != 0) std::memcpy(buffer.data(), bytes.data() + position, count);
  position += count;
  return count;
}

bool MemorySource::Read(std::span<std::byte> buffer, std::size_t& bytesRead) {
  bytesRead = CopyFromMemory(bytes_, position_, buffer);
  return true;
}

bool MemorySource::Seek(std::uint64_t offset) {
  if (offset > SIZE_MAX) return win::Fail(win::ERROR_SEEK);
  position_ = static_cast<std::size_t>(offset);
  return true;
}

}  // namespace pelko::lzh
