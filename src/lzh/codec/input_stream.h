// Buffered, position-keeping reading of an archive's bytes: the bottom layer
// that the header parser, the reader and the decoders share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "lzh/codec/byte_source.h"

namespace pelko::lzh {

class InputStream {
 public:
  explicit InputStream(ByteSource& source);

  // Up to buffer.size() bytes; fewer only at the end of the file or on a
  // read failure (then Failed() is true and the last-error code is set).
  std::size_t Read(std::span<std::byte> buffer);
  // Exactly buffer.size() bytes, or false (end of file or failure).
  bool ReadExact(std::span<std::byte> buffer);
  // One byte, or false at the end of the file.
  bool ReadByte(std::uint8_t& byte);
  // Moves to an absolute offset (not beyond the end of the file).
  bool SeekTo(std::uint64_t offset);

  std::uint64_t Position() const { return bufferStart_ + bufferPos_; }
  std::uint64_t Size() const { return size_; }
  std::uint64_t Remaining() const { return size_ - Position(); }
  bool Failed() const { return failed_; }

 private:
  bool Refill();

  static constexpr std::size_t kBufferSize = std::size_t{64} * 1024;
  ByteSource& source_;
  std::unique_ptr<std::byte[]> buffer_;
  std::uint64_t size_ = 0;
  std::uint64_t bufferStart_ = 0;  // file offset of buffer_[0]
  std::size_t bufferPos_ = 0;
  std::size_t bufferLen_ = 0;
  bool failed_ = false;
};

}  // namespace pelko::lzh
