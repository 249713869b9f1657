// Where decoded or packed bytes go: a file (the archive layer's FileSink), a
// memory buffer, or nowhere (testing an archive).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

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

}  // namespace pelko::lzh
