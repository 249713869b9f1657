// The one loop that reads a file and packs it, behind both the writer
// packing on its own thread and the threads packing ahead of it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "lzh/archive/archive_writer.h"
#include "lzh/codec/byte_sink.h"
#include "lzh/codec/encoder_method.h"
#include "lzh/codec/lh_encoder.h"
#include "platform/file_stream.h"
#include "text/win_error.h"

namespace pelko::lzh {

// How a file's packing ended.
struct PackedFile {
  WriteOutcome outcome = WriteOutcome::Written;  // Written, SourceUnreadable or TooLarge
  win::DWORD win32 = win::ERROR_SUCCESS;
  bool openFailed = false;
  bool sinkFailed = false;  // the sink refused bytes before the file's size was reached
  bool shrank = false;      // packing made it smaller: the sink got it all
  std::uint16_t crc = 0;
  std::uint64_t read = 0;
  std::uint64_t packedSize = 0;
  std::unique_ptr<win::FileStream> source;  // for storing it as it is
  std::vector<std::byte> whole;             // the file, when read in one piece and not shrunk
};

// Packs `source` (listed at `listedSize` bytes) into `sink` with `method`,
// until the packed bytes would reach the file's size (it is stored then).
// `encoder` is made on first use and restarted after; `buffer` holds what
// was read last. `progress` gets the bytes read so far.
PackedFile PackFile(win::FileStream& source, std::uint64_t listedSize, PackMethod method,
                    std::unique_ptr<LhEncoder>& encoder, std::vector<std::byte>& buffer,
                    ByteSink& sink, const std::function<void(std::uint64_t)>& progress);

}  // namespace pelko::lzh
