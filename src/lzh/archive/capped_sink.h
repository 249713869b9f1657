// Passes packed bytes on until they would reach `limit`: at that point the
// entry is going to be stored anyway, so nothing more is written.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "lzh/codec/byte_sink.h"

namespace pelko::lzh {

class CappedSink final : public ByteSink {
 public:
  CappedSink(ByteSink& out, std::uint64_t limit) : out_(out), limit_(limit) {}
  bool Write(std::span<const std::byte> bytes) override {
    if (bytes.size() >= limit_ - std::min(limit_, written_) || written_ >= limit_) {
      reachedLimit_ = true;
      return false;
    }
    if (!out_.Write(bytes)) return false;
    written_ += bytes.size();
    return true;
  }
  bool ReachedLimit() const { return reachedLimit_; }
  std::uint64_t Written() const { return written_; }

 private:
  ByteSink& out_;
  std::uint64_t limit_;
  std::uint64_t written_ = 0;
  bool reachedLimit_ = false;
};

}  // namespace pelko::lzh
