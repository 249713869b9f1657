#include "lzh/archive/archive_reader.h"

#include <algorithm>
#include <array>
#include <vector>

#include "lzh/archive/header_parser.h"
#include "lzh/codec/crc16.h"
#include "lzh/codec/decoder.h"

namespace pelko::lzh {
namespace {

// Passes bytes on while keeping their CRC-16.
class CrcSink final : public ByteSink {
 public:
  explicit CrcSink(ByteSink& out) : out_(out) {}
  bool Write(std::span<const std::byte> bytes) override {
    crc = UpdateCrc16(crc, bytes);
    return out_.Write(bytes);
  }
  std::uint16_t crc = 0;

 private:
  ByteSink& out_;
};

// A header worth resuming at: '-', "lh" / "lz" / "pm", a character, '-', and
// a level byte 0..3 where a header keeps it.
bool PlausibleStart(std::span<const std::byte> at) {
  const auto c = [&](std::size_t i) { return std::to_integer<char>(at[i]); };
  if (at[0] == std::byte{0} || c(2) != '-' || c(6) != '-') return false;
  const bool family = (c(3) == 'l' && (c(4) == 'h' || c(4) == 'z')) || (c(3) == 'p' && c(4) == 'm');
  return family && std::to_integer<std::uint8_t>(at[20]) <= 3;
}

constexpr std::uint64_t kScanChunk = std::uint64_t{64} * 1024;
constexpr std::size_t kMinimumHeader = 22;

}  // namespace

ArchiveReader::ArchiveReader(win::FileStream& archive) : source_(archive), in_(source_) {}

ReadStep ArchiveReader::Fail(LzhError error, std::uint64_t offset) {
  error_ = error;
  errorOffset_ = offset;
  return ReadStep::Error;
}

ReadStep ArchiveReader::Next(Entry& entry) {
  if (error_ != LzhError::None) return ReadStep::Error;  // until Resume() or SeekTo()
  if (!started_) {
    started_ = true;
    if (!SkipSelfExtractorStub()) return Fail(LzhError::BadHeader, 0);
  }
  if (ended_) return ReadStep::End;
  if (next_ > in_.Size()) return Fail(LzhError::Truncated, in_.Size());
  if (!in_.SeekTo(next_)) return Fail(LzhError::ReadFailed, next_);
  const HeaderResult result = ReadHeader(in_, entry.header);
  if (result.status == HeaderStatus::End) {
    ended_ = true;
    return ReadStep::End;
  }
  if (result.status == HeaderStatus::Error) return Fail(result.error, next_);
  entry.headerOffset = next_;
  entry.dataOffset = in_.Position();
  const std::uint64_t packed = entry.header.packedSize;
  next_ = packed > UINT64_MAX - entry.dataOffset ? UINT64_MAX : entry.dataOffset + packed;
  return ReadStep::Entry;
}

bool ArchiveReader::SkipSelfExtractorStub() {
  std::array<std::byte, 2> magic{};
  if (!in_.SeekTo(0) || !in_.ReadExact(magic)) return true;  // Next() reports it
  if (magic[0] != std::byte{'M'} || magic[1] != std::byte{'Z'}) return true;
  errorOffset_ = 0;
  return Resume();
}

bool ArchiveReader::Resume() {
  std::uint64_t from = errorOffset_ + 1;
  error_ = LzhError::None;
  std::vector<std::byte> window(kScanChunk + kMinimumHeader);
  for (std::uint64_t base = from; base < in_.Size(); base += kScanChunk) {
    if (!in_.SeekTo(base)) break;
    const std::size_t got = in_.Read(window);
    for (std::size_t i = 0; i < kScanChunk && i + kMinimumHeader <= got; ++i) {
      if (!PlausibleStart(std::span(window).subspan(i))) continue;
      Header header;
      if (!in_.SeekTo(base + i)) break;
      if (ReadHeader(in_, header).status == HeaderStatus::Ok) {
        next_ = base + i;
        ended_ = false;
        return true;
      }
    }
  }
  ended_ = true;
  return false;
}

bool ArchiveReader::SeekTo(std::uint64_t offset) {
  if (offset > in_.Size()) return false;
  started_ = true;
  ended_ = false;
  error_ = LzhError::None;
  next_ = offset;
  return true;
}

LzhError ArchiveReader::CopyRange(std::uint64_t offset, std::uint64_t length, ByteSink& out) {
  if (offset > in_.Size() || length > in_.Size() - offset) return LzhError::Truncated;
  if (!in_.SeekTo(offset)) return LzhError::ReadFailed;
  std::vector<std::byte> buffer(
      static_cast<std::size_t>(std::min<std::uint64_t>(length, kScanChunk)));
  while (length != 0) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(length, buffer.size()));
    if (!in_.ReadExact(std::span(buffer).first(n)))
      return in_.Failed() ? LzhError::ReadFailed : LzhError::Truncated;
    if (!out.Write(std::span(buffer).first(n))) return LzhError::WriteFailed;
    length -= n;
  }
  return LzhError::None;
}

LzhError ArchiveReader::CopyPacked(const Entry& entry, ByteSink& out) {
  return CopyRange(entry.dataOffset, entry.header.packedSize, out);
}

LzhError ArchiveReader::CopyRaw(const Entry& entry, ByteSink& out) {
  if (entry.dataOffset < entry.headerOffset) return LzhError::BadHeader;
  const std::uint64_t headerBytes = entry.dataOffset - entry.headerOffset;
  if (entry.header.packedSize > UINT64_MAX - headerBytes) return LzhError::Truncated;
  return CopyRange(entry.headerOffset, headerBytes + entry.header.packedSize, out);
}

LzhError ArchiveReader::Extract(const Entry& entry, ByteSink& out) {
  const Header& h = entry.header;
  if (!IsKnownMethod(h.Method())) return LzhError::UnknownMethod;
  if (entry.dataOffset > in_.Size() || h.packedSize > in_.Size() - entry.dataOffset)
    return LzhError::Truncated;
  if (!in_.SeekTo(entry.dataOffset)) return LzhError::ReadFailed;
  CrcSink crcSink(out);
  const LzhError error = Decode(h.Method(), in_, h.packedSize, h.originalSize, crcSink);
  if (error != LzhError::None) return error;
  if (h.crc && !h.IsDirectory() && crcSink.crc != *h.crc) return LzhError::CrcMismatch;
  return LzhError::None;
}

}  // namespace pelko::lzh
