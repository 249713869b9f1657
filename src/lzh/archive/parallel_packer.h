// Files packed on other threads while the archive is written in entry
// order on the calling thread: each file is packed on its own, so the
// archive holds the same bytes whatever the threads and their timing.
// Every packing thread stays a bounded distance ahead of the writer and
// holds at most a bounded amount of packed bytes, so memory does not grow
// with the files.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "lzh/archive/archive_writer.h"
#include "lzh/archive/pack_file.h"
#include "lzh/codec/encoder_method.h"
#include "platform/file_stream.h"
#include "text/win_error.h"

namespace pelko::lzh {

// What the streams of one packer share: one lock, and the packed bytes all
// of them hold, which are bounded together.
struct PackedStreams {
  std::mutex lock;
  std::condition_variable changed;
  std::size_t held = 0;
  std::size_t head = 0;  // the file the writer takes next
};

// One file's packed bytes on their way from a packing thread to the writer.
class PackedStream {
 public:
  PackedStream(PackedStreams& shared, std::size_t file) : shared_(shared), file_(file) {}

  // Packing thread: false once the writer gave the file up.
  bool Put(std::span<const std::byte> bytes);
  void ReportRead(std::uint64_t read);
  void Finish(PackedFile result);

  // Writer: waits for bytes, news of progress, or the end. True with bytes
  // (possibly none) and the bytes read so far; false once finished and
  // drained.
  bool Next(std::vector<std::byte>& bytes, std::uint64_t& read);
  // Gives the file up: its packing thread stops putting and soon finishes.
  void Abandon();
  PackedFile& Result() { return result_; }

 private:
  PackedStreams& shared_;
  std::size_t file_;
  std::deque<std::vector<std::byte>> chunks_;
  std::size_t held_ = 0;
  std::uint64_t read_ = 0;
  bool readNews_ = false;
  bool finished_ = false;
  bool abandoned_ = false;
  PackedFile result_;
};

class ParallelPacker {
 public:
  // `files` are the entries (files only) in the order they are written.
  ParallelPacker(std::vector<const NewEntry*> files, PackMethod method, unsigned threads);
  ~ParallelPacker();  // gives up what is still packing and waits for the threads
  ParallelPacker(const ParallelPacker&) = delete;
  ParallelPacker& operator=(const ParallelPacker&) = delete;

  PackedStream& StreamOf(std::size_t file) { return *streams_[file]; }
  // The writer is done with `file`: its stream is freed, and the threads
  // may go on further ahead.
  void Release(std::size_t file);

 private:
  void Work();
  void Pack(std::size_t file, std::unique_ptr<class LhEncoder>& encoder,
            std::vector<std::byte>& buffer);

  std::vector<const NewEntry*> files_;
  PackMethod method_;
  PackedStreams shared_;
  std::vector<std::unique_ptr<PackedStream>> streams_;
  std::size_t next_ = 0;  // next file to take up
  std::size_t ahead_;     // how far past the writer a thread may start
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// Cores this process may run on.
unsigned AvailableCores();

}  // namespace pelko::lzh
