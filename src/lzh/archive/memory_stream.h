// A file stream over bytes in memory: archives in tests and in the fuzzer,
// and small archives built before they are written out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/file_stream.h"

namespace pelko::lzh {

class MemoryStream final : public win::FileStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

  bool Read(std::span<std::byte> buffer, std::size_t& bytesRead) override;
  bool Write(std::span<const std::byte> bytes) override;
  bool Seek(std::uint64_t offset) override;
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Close() override { return true; }

  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::size_t position_ = 0;
};

}  // namespace pelko::lzh
