// An open file as the codec sees it: the source of an archive's bytes, and
// the sink of decoded or packed ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "lzh/codec/byte_sink.h"
#include "lzh/codec/byte_source.h"
#include "platform/file_stream.h"

namespace pelko::lzh {

// Reads an open file stream, which must outlive the source.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(win::FileStream& file) : file_(file) {}
  bool Read(std::span<std::byte> buffer, std::size_t& bytesRead) override {
    return file_.Read(buffer, bytesRead);
  }
  bool Seek(std::uint64_t offset) override { return file_.Seek(offset); }
  std::uint64_t Size() const override { return file_.Size(); }

 private:
  win::FileStream& file_;
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
