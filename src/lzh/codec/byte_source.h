// Where packed bytes come from: an archive file (the archive layer adapts an
// open file stream) or bytes in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pelko::lzh {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to buffer.size() bytes (0 at the end); false when reading fails, the
  // last-error code saying why.
  virtual bool Read(std::span<std::byte> buffer, std::size_t& bytesRead) = 0;
  // Moves to an absolute offset; false when that cannot be done.
  virtual bool Seek(std::uint64_t offset) = 0;
  virtual std::uint64_t Size() const = 0;
};

// Copies the bytes from `position` on into `buffer` (none when the position
// lies past their end) and moves the position on; the count copied.
std::size_t CopyFromMemory(std::span<const std::byte> bytes, std::size_t& position,
                           std::span<std::byte> buffer);

// Bytes in memory, which must outlive the source.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::byte> bytes) : bytes_(bytes) {}

  bool Read(std::span<std::byte> buffer, std::size_t& bytesRead) override;
  bool Seek(std::uint64_t offset) override;
  std::uint64_t Size() const override { return bytes_.size(); }

 private:
  std::span<const std::byte> bytes_;
  std::size_t position_ = 0;
};

}  // namespace pelko::lzh
