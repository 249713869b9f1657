#include "platform/file_stream.h"

#include <string>

#include "platform/resolved_path.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

// The services open a volume per call; a stream keeps its volume alive so a
// backend's stream may rely on it until the stream is gone.
class VolumeStream : public FileStream {
 public:
  VolumeStream(std::unique_ptr<Volume> volume, std::unique_ptr<FileStream> stream)
      : volume_(std::move(volume)), stream_(std::move(stream)) {}

  bool Read(std::span<std::byte> buffer, std::size_t& bytesRead) override {
    return stream_->Read(buffer, bytesRead);
  }
  bool Write(std::span<const std::byte> bytes) override { return stream_->Write(bytes); }
  bool Seek(std::uint64_t offset) override { return stream_->Seek(offset); }
  std::uint64_t Size() const override { return stream_->Size(); }
  bool Close() override { return stream_->Close(); }

 private:
  std::unique_ptr<Volume> volume_;  // declared first: outlives the stream
  std::unique_ptr<FileStream> stream_;
};

}  // namespace

std::unique_ptr<FileStream> OpenFile(std::string_view windowsPath, OpenMode mode) {
  auto resolved = ResolvePath(windowsPath);
  if (!resolved) return nullptr;
  if (resolved->path.empty()) {
    SetLastError(ERROR_ACCESS_DENIED);  // the root folder is not a file
    return nullptr;
  }
  auto stream = resolved->volume->Open(resolved->path, mode);
  if (!stream) return nullptr;
  return std::make_unique<VolumeStream>(std::move(resolved->volume), std::move(stream));
}

bool ReadWholeFile(std::string_view windowsPath, std::string& bytes) {
  bytes.clear();
  auto stream = OpenFile(windowsPath, OpenMode::Read);
  if (!stream) return false;
  std::string data;
  char buffer[64 * 1024];
  for (;;) {
    std::size_t got = 0;
    if (!stream->Read(std::as_writable_bytes(std::span(buffer)), got)) return false;
    if (got == 0) break;
    data.append(buffer, got);
  }
  if (!stream->Close()) return false;
  bytes = std::move(data);
  return true;
}

bool WriteWholeFile(std::string_view windowsPath, std::string_view bytes) {
  auto stream = OpenFile(windowsPath, OpenMode::CreateAlways);
  if (!stream) return false;
  if (!stream->Write(std::as_bytes(std::span(bytes.data(), bytes.size())))) return false;
  return stream->Close();
}

}  // namespace pelko::win
