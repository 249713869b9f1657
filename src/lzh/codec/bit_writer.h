// Bits out, most significant first, as the -lh5- family's decoders read them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "lzh/codec/byte_sink.h"

namespace pelko::lzh {

class BitWriter {
 public:
  explicit BitWriter(ByteSink& sink);

  // Starts over into `sink`, keeping the buffer.
  void Restart(ByteSink& sink);

  // The low `count` bits of `value` (count <= 32).
  void Put(int count, std::uint32_t value) {
    if (count == 0) return;
    accumulator_ = (accumulator_ << count) | (value & ((std::uint64_t{1} << count) - 1));
    pending_ += count;
    if (pending_ >= 32) Spill();
  }

  // Pads the last byte with zero bits and hands everything to the sink.
  bool Finish();
  // False once the sink refused bytes; later output is dropped.
  bool Ok() const { return ok_; }
  // Bytes handed to the sink or waiting in the buffer (whole bytes only).
  std::uint64_t BytesOut() const {
    return flushed_ + used_ + static_cast<std::uint64_t>(pending_ / 8);
  }

 private:
  void Spill();
  void FlushBuffer();

  static constexpr std::size_t kBufferSize = std::size_t{32} * 1024;
  ByteSink* sink_;
  std::unique_ptr<std::byte[]> buffer_;
  std::size_t used_ = 0;
  std::uint64_t flushed_ = 0;
  std::uint64_t accumulator_ = 0;
  int pending_ = 0;  // bits in the accumulator not yet in the buffer
  bool ok_ = true;
};

}  // namespace pelko::lzh
