#include "lzh/codec/input_stream.h"

#include <algorithm>
#include <cstring>

namespace pelko::lzh {

InputStream::InputStream(ByteSource& source)
    : source_(source), buffer_(new std::byte[kBufferSize]), size_(source.Size()) {
  if (!source_.Seek(0)) failed_ = true;
}

bool InputStream::Refill() {
  if (failed_) return false;
  bufferStart_ += bufferLen_;
  bufferPos_ = 0;
  bufferLen_ = 0;
  std::size_t got = 0;
  if (!source_.Read(std::span<std::byte>(buffer_.get(), kBufferSize), got)) {
    failed_ = true;
    return false;
  }
  bufferLen_ = got;
  return got != 0;
}

std::size_t InputStream::Read(std::span<std::byte> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    if (bufferPos_ == bufferLen_ && !Refill()) break;
    const std::size_t n = std::min(out.size() - done, bufferLen_ - bufferPos_);
    std::memcpy(out.data() + done, buffer_.get() + bufferPos_, n);
    bufferPos_ += n;
    done += n;
  }
  return done;
}

bool InputStream::ReadExact(std::span<std::byte> out) { return Read(out) == out.size(); }

bool InputStream::ReadByte(std::uint8_t& byte) {
  if (bufferPos_ == bufferLen_ && !Refill()) return false;
  byte = std::to_integer<std::uint8_t>(buffer_[bufferPos_++]);
  return true;
}

bool InputStream::SeekTo(std::uint64_t offset) {
  if (failed_ || offset > size_) return false;
  if (offset >= bufferStart_ && offset <= bufferStart_ + bufferLen_) {
    bufferPos_ = static_cast<std::size_t>(offset - bufferStart_);
    return true;
  }
  if (!source_.Seek(offset)) {
    failed_ = true;
    return false;
  }
  bufferStart_ = offset;
  bufferPos_ = 0;
  bufferLen_ = 0;
  return true;
}

}  // namespace pelko::lzh
