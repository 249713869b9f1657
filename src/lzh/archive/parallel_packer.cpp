#include "lzh/archive/parallel_packer.h"

#include <sched.h>

#include <algorithm>

#include "lzh/archive/header_writer.h"
#include "lzh/codec/lh_encoder.h"

namespace pelko::lzh {
namespace {

constexpr std::size_t kReadPiece = std::size_t{64} * 1024;
// Packed bytes the file being written may hold before the writer takes
// them, and all files together: enough for one thread to pack a large file
// while another's is written.
constexpr std::size_t kStreamCapacity = std::size_t{256} * 1024;
constexpr std::size_t kPackedBudget = std::size_t{4} * 1024 * 1024;
constexpr win::DWORD kErrorFileTooLarge = 223;  // ERROR_FILE_TOO_LARGE

class StreamSink final : public ByteSink {
 public:
  explicit StreamSink(PackedStream& stream) : stream_(stream) {}
  bool Write(std::span<const std::byte> bytes) override { return stream_.Put(bytes); }

 private:
  PackedStream& stream_;
};

}  // namespace

unsigned AvailableCores() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof set, &set) == 0) {
    return static_cast<unsigned>(std::max(1, CPU_COUNT(&set)));
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

bool PackedStream::Put(std::span<const std::byte> bytes) {
  std::unique_lock<std::mutex> guard(shared_.lock);
  // The file being written may always hold a little; the others wait while
  // all together hold the budget.
  shared_.changed.wait(guard, [&] {
    return abandoned_ || (file_ == shared_.head && held_ < kStreamCapacity) ||
           shared_.held < kPackedBudget;
  });
  if (abandoned_) return false;
  chunks_.emplace_back(bytes.begin(), bytes.end());
  held_ += bytes.size();
  shared_.held += bytes.size();
  shared_.changed.notify_all();
  return true;
}

void PackedStream::ReportRead(std::uint64_t read) {
  const std::lock_guard<std::mutex> guard(shared_.lock);
  read_ = read;
  readNews_ = true;
  shared_.changed.notify_all();
}

void PackedStream::Finish(PackedFile result) {
  const std::lock_guard<std::mutex> guard(shared_.lock);
  result_ = std::move(result);
  finished_ = true;
  shared_.changed.notify_all();
}

bool PackedStream::Next(std::vector<std::byte>& bytes, std::uint64_t& read) {
  std::unique_lock<std::mutex> guard(shared_.lock);
  shared_.changed.wait(guard, [&] { return !chunks_.empty() || readNews_ || finished_; });
  bytes.clear();
  read = read_;
  readNews_ = false;
  if (!chunks_.empty()) {
    bytes.swap(chunks_.front());
    chunks_.pop_front();
    held_ -= bytes.size();
    shared_.held -= bytes.size();
    shared_.changed.notify_all();
    return true;
  }
  return !finished_;
}

void PackedStream::Abandon() {
  const std::lock_guard<std::mutex> guard(shared_.lock);
  abandoned_ = true;
  shared_.held -= held_;
  held_ = 0;
  chunks_.clear();
  shared_.changed.notify_all();
}

ParallelPacker::ParallelPacker(std::vector<const NewEntry*> files, PackMethod method,
                               unsigned threads)
    : files_(std::move(files)), method_(method), ahead_(16 * std::size_t{threads}) {
  streams_.reserve(files_.size());
  for (std::size_t i = 0; i < files_.size(); ++i) {
    streams_.push_back(std::make_unique<PackedStream>(shared_, i));
  }
  for (unsigned t = 0; t < threads; ++t) threads_.emplace_back([this] { Work(); });
}

ParallelPacker::~ParallelPacker() {
  {
    const std::lock_guard<std::mutex> guard(shared_.lock);
    stopping_ = true;
    shared_.changed.notify_all();
  }
  for (auto& stream : streams_) {
    if (stream) stream->Abandon();
  }
  for (std::thread& thread : threads_) thread.join();
}

void ParallelPacker::Release(std::size_t file) {
  std::unique_ptr<PackedStream> done;
  const std::lock_guard<std::mutex> guard(shared_.lock);
  done.swap(streams_[file]);
  shared_.head = file + 1;
  shared_.changed.notify_all();
}

void ParallelPacker::Work() {
  std::unique_ptr<LhEncoder> encoder;
  std::vector<std::byte> buffer(kReadPiece);
  for (;;) {
    std::size_t file = 0;
    {
      std::unique_lock<std::mutex> guard(shared_.lock);
      shared_.changed.wait(guard, [&] {
        return stopping_ || next_ >= files_.size() || next_ < shared_.head + ahead_;
      });
      if (stopping_ || next_ >= files_.size()) return;
      file = next_++;
    }
    Pack(file, encoder, buffer);
  }
}

void ParallelPacker::Pack(std::size_t file, std::unique_ptr<LhEncoder>& encoder,
                          std::vector<std::byte>& buffer) {
  const NewEntry& entry = *files_[file];
  PackedStream& stream = *streams_[file];
  PackedFile result;
  if (entry.size > kMaxEntrySize) {
    result.outcome = WriteOutcome::TooLarge;
    result.win32 = kErrorFileTooLarge;
    return stream.Finish(std::move(result));
  }
  auto source = win::OpenFile(entry.sourcePath, win::OpenMode::Read);
  if (!source) {
    result.outcome = WriteOutcome::SourceUnreadable;
    result.win32 = win::GetLastError();
    result.openFailed = true;
    return stream.Finish(std::move(result));
  }
  StreamSink sink(stream);
  result = PackFile(*source, entry.size, method_, encoder, buffer, sink,
                    [&](std::uint64_t read) { stream.ReportRead(read); });
  result.source = std::move(source);
  stream.Finish(std::move(result));
}

}  // namespace pelko::lzh
