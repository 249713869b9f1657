#include "lzh/archive/memory_stream.h"

#include <algorithm>
#include <cstring>

#include "lzh/codec/byte_source.h"
#include "text/win_error.h"

namespace pelko::lzh {

bool MemoryStream::Read(std::span<std::byte> buffer, std::size_t& bytesRead) {
  bytesRead =
      CopyFromMemory(std::as_bytes(std::span(bytes_.data(), bytes_.size())), position_, buffer);
  return true;
}

bool MemoryStream::Write(std::span<const std::byte> bytes) {
  if (position_ > bytes_.size()) bytes_.resize(position_);
  const std::size_t overlap = std::min(bytes.size(), bytes_.size() - position_);
  std::memcpy(bytes_.data() + position_, bytes.data(), overlap);
  bytes_.append(reinterpret_cast<const char*>(bytes.data()) + overlap, bytes.size() - overlap);
  position_ += bytes.size();
  return true;
}

bool MemoryStream::Seek(std::uint64_t offset) {
  if (offset > SIZE_MAX) return win::Fail(win::ERROR_SEEK);
  position_ = static_cast<std::size_t>(offset);
  return true;
}

}  // namespace pelko::lzh
