// The history every LZ decoder copies from, which is also its output buffer:
// a ring of 2^k bytes written to the sink each time it fills. Production
// stops at the original size; a stream that asks for more is broken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "lzh/codec/byte_sink.h"
#include "lzh/codec/lzh_error.h"

namespace pelko::lzh {

// LZ77 copy inside the ring: byte by byte where the source is just behind
// the destination (it repeats what is being written), eight at a time where
// the two do not overlap within eight bytes.
inline void CopyForward(std::uint8_t* dst, const std::uint8_t* src, std::size_t length) {
  if (dst >= src + 8 || src >= dst + length) {
    while (length >= 8) {
      std::memcpy(dst, src, 8);
      dst += 8;
      src += 8;
      length -= 8;
    }
  }
  while (length-- != 0) *dst++ = *src++;
}

class SlidingWindow {
 public:
  // `size` is a power of two; the ring starts filled with `fill` (old
  // encoders match against it) and writing starts at `start`.
  SlidingWindow(std::size_t size, std::uint8_t fill, std::size_t start, ByteSink& out,
                std::uint64_t limit)
      : ring_(new std::uint8_t[size]),
        mask_(size - 1),
        pos_(start),
        flushFrom_(start),
        out_(out),
        left_(limit) {
    std::memset(ring_.get(), fill, size);
  }

  std::uint8_t* Ring() { return ring_.get(); }
  std::size_t Position() const { return pos_; }
  std::uint64_t Left() const { return left_; }
  // For a decoder's hot loop, which keeps position and count in locals and
  // writes bytes into Ring() itself: hands them back (pos < size).
  void Sync(std::size_t pos, std::uint64_t left) {
    pos_ = pos;
    left_ = left;
  }
  // The hot loop's way out when it writes the ring's last byte.
  bool WrapAfterLastByte() {
    pos_ = mask_ + 1;
    return Wrap();
  }
  std::size_t Mask() const { return mask_; }
  bool Full() const { return left_ == 0; }
  LzhError Error() const { return error_; }

  bool Put(std::uint8_t byte) {
    if (left_ == 0) return Overflow();
    --left_;
    ring_[pos_] = byte;
    if (++pos_ > mask_) return Wrap();
    return true;
  }

  // Copies `length` bytes starting at ring index `from` (overlap repeats,
  // as LZ77 wants).
  bool Copy(std::size_t from, std::size_t length) {
    if (length > left_) return Overflow();
    left_ -= length;
    from &= mask_;
    const std::size_t size = mask_ + 1;
    if (pos_ + length < size && from + length <= size) {
      // The common case: neither index wraps. Byte by byte, because a
      // source just behind the destination repeats what is being written.
      CopyForward(ring_.get() + pos_, ring_.get() + from, length);
      pos_ += length;
      return true;
    }
    while (length != 0) {
      // Straight run while neither index wraps.
      std::size_t run = std::min(length, std::min(size - pos_, size - from));
      std::uint8_t* dst = ring_.get() + pos_;
      const std::uint8_t* src = ring_.get() + from;
      length -= run;
      pos_ += run;
      from = (from + run) & mask_;
      while (run-- != 0) *dst++ = *src++;
      if (pos_ > mask_ && !Wrap()) return false;
    }
    return true;
  }

  // Writes what is left in the ring.
  bool Finish() {
    if (pos_ > flushFrom_ &&
        !out_.Write(std::as_bytes(std::span(ring_.get() + flushFrom_, pos_ - flushFrom_)))) {
      error_ = LzhError::WriteFailed;
      return false;
    }
    flushFrom_ = pos_;
    return true;
  }

 private:
  bool Wrap() {
    if (!out_.Write(std::as_bytes(std::span(ring_.get() + flushFrom_, mask_ + 1 - flushFrom_)))) {
      error_ = LzhError::WriteFailed;
      return false;
    }
    pos_ = 0;
    flushFrom_ = 0;
    return true;
  }
  bool Overflow() {
    error_ = LzhError::SizeMismatch;
    return false;
  }

  std::unique_ptr<std::uint8_t[]> ring_;
  std::size_t mask_;
  std::size_t pos_;
  std::size_t flushFrom_;
  ByteSink& out_;
  std::uint64_t left_;
  LzhError error_ = LzhError::None;
};

}  // namespace pelko::lzh
