// The packed bytes of one entry: exactly `packedSize` bytes of the archive,
// handed out in chunks. Reading past them yields zero bytes that are counted,
// so a decoder never runs off its input and the overrun is seen afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "lzh/codec/input_stream.h"

namespace pelko::lzh {

class PackedInput {
 public:
  PackedInput(InputStream& in, std::uint64_t packedSize)
      : in_(in), packedSize_(packedSize), remaining_(packedSize) {}

  // The next chunk of packed bytes; empty at the end (or on a read failure).
  std::span<const std::byte> NextChunk();

  // Bytes handed out beyond the packed size (as zeros), and read failures.
  std::uint64_t Overrun() const { return overrun_; }
  void AddOverrun(std::uint64_t bytes) { overrun_ += bytes; }
  bool Failed() const { return in_.Failed(); }
  // Packed bytes not yet handed out.
  std::uint64_t Remaining() const { return remaining_; }
  std::uint64_t HandedOut() const { return handedOut_; }
  // The archive ended (or failed) before the packed size was read.
  bool EndedEarly() const { return endedEarly_; }
  std::uint64_t PackedSize() const { return packedSize_; }

 private:
  static constexpr std::size_t kChunk = std::size_t{16} * 1024;
  InputStream& in_;
  std::uint64_t packedSize_;
  std::uint64_t remaining_;
  std::uint64_t handedOut_ = 0;
  std::uint64_t overrun_ = 0;
  bool endedEarly_ = false;
  std::byte chunk_[kChunk];
};

}  // namespace pelko::lzh
