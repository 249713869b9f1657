#include "lzh/codec/bit_writer.h"

#include <span>

namespace pelko::lzh {

BitWriter::BitWriter(ByteSink& sink) : sink_(&sink), buffer_(new std::byte[kBufferSize]) {}

void BitWriter::Restart(ByteSink& sink) {
  sink_ = &sink;
  used_ = 0;
  flushed_ = 0;
  accumulator_ = 0;
  pending_ = 0;
  ok_ = true;
}

void BitWriter::Spill() {
  while (pending_ >= 8) {
    pending_ -= 8;
    buffer_[used_++] = static_cast<std::byte>(accumulator_ >> pending_);
    if (used_ == kBufferSize) FlushBuffer();
  }
  accumulator_ &= (std::uint64_t{1} << pending_) - 1;
}

void BitWriter::FlushBuffer() {
  if (ok_ && used_ > 0) ok_ = sink_->Write(std::span<const std::byte>(buffer_.get(), used_));
  flushed_ += used_;
  used_ = 0;
}

bool BitWriter::Finish() {
  if (pending_ % 8 != 0) Put(8 - pending_ % 8, 0);
  Spill();
  FlushBuffer();
  return ok_;
}

}  // namespace pelko::lzh
