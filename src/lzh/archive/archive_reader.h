// The basic reader: walks an archive entry by entry, one header and its raw
// packed bytes at a time, and decodes an entry with its CRC checked.
#pragma once

#include <cstdint>
#include <string>

#include "lzh/archive/file_bytes.h"
#include "lzh/archive/header.h"
#include "lzh/codec/byte_sink.h"
#include "lzh/codec/input_stream.h"
#include "lzh/codec/lzh_error.h"
#include "platform/file_stream.h"

namespace pelko::lzh {

struct Entry {
  Header header;
  std::uint64_t headerOffset = 0;  // the header's first byte in the archive
  std::uint64_t dataOffset = 0;    // the first packed byte
  std::uint64_t NextOffset() const { return dataOffset + header.packedSize; }
};

enum class ReadStep { Entry, End, Error };

class ArchiveReader {
 public:
  // The stream must outlive the reader; reading starts at offset 0 (an
  // "MZ" self-extractor stub before the first header is skipped).
  explicit ArchiveReader(win::FileStream& archive);

  // The next entry; on Entry the reader stands at the entry's next header,
  // whatever the caller does with the entry. Error: Error() says why and
  // ErrorOffset() where; Resume() continues past it.
  ReadStep Next(Entry& entry);

  // After an error: scans forward from just past the failed header for the
  // next offset where a valid header starts, and continues there. False when
  // none is left (then Next() answers End).
  bool Resume();

  // Continues reading at `offset` (an offset from a previous Entry).
  bool SeekTo(std::uint64_t offset);

  // The entry's packed bytes as stored.
  LzhError CopyPacked(const Entry& entry, ByteSink& out);
  // Header and packed bytes exactly as stored (to carry an entry unchanged
  // into a rewritten archive).
  LzhError CopyRaw(const Entry& entry, ByteSink& out);
  // Decodes the entry, checking the packed and original sizes and the data
  // CRC; the sink receives exactly the original bytes (a caller must discard
  // them when the result is not None).
  LzhError Extract(const Entry& entry, ByteSink& out);

  LzhError Error() const { return error_; }
  std::uint64_t ErrorOffset() const { return errorOffset_; }
  std::uint64_t ArchiveSize() const { return in_.Size(); }

 private:
  LzhError CopyRange(std::uint64_t offset, std::uint64_t length, ByteSink& out);
  ReadStep Fail(LzhError error, std::uint64_t offset);
  bool SkipSelfExtractorStub();

  FileSource source_;
  InputStream in_;
  std::uint64_t next_ = 0;
  bool started_ = false;
  bool ended_ = false;
  LzhError error_ = LzhError::None;
  std::uint64_t errorOffset_ = 0;
};

}  // namespace pelko::lzh
