// Where decoded bytes go: a file beside its target, a memory buffer, or
// nowhere (testing an archive).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/file_stream.h"

namespace pelko::lzh {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // All bytes or failure.
  virtual bool Write(std::span<const std::byte> bytes) = 0;
};

// Counts and drops (the "t" command).
class NullSink final : public ByteSink {
 public:
  bool Write(std::span<const std::byte> bytes) override {
    written += bytes.size();
    return true;
  }
  std::uint64_t written = 0;
};

// Appends to a string, refusing to grow beyond `limit` bytes.
class StringSink final : public ByteSink {
 public:
  explicit StringSink(std::size_t limit = SIZE_MAX) : limit_(limit) {}
  bool Write(std::span<const std::byte> bytes) override;
  std::string bytes;

 private:
  std::size_t limit_;
};

// Writes to an open file stream.
class FileSink final : public ByteSink {
 public:
  explicit FileSink(win::FileStream& file) : file_(file) {}
  bool Write(std::span<const std::byte> bytes) override { return file_.Write(bytes); }

 private:
  win::FileStream& file_;
};

}  // namespace pelko::lzh
