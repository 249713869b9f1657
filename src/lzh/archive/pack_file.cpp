#include "lzh/archive/pack_file.h"

#include "lzh/archive/capped_sink.h"
#include "lzh/archive/header_writer.h"
#include "lzh/codec/crc16.h"

namespace pelko::lzh {
namespace {

constexpr win::DWORD kErrorFileTooLarge = 223;  // ERROR_FILE_TOO_LARGE

PackedFile Failed(PackedFile result, WriteOutcome outcome, win::DWORD win32) {
  result.outcome = outcome;
  result.win32 = win32;
  return result;
}

}  // namespace

PackedFile PackFile(win::FileStream& source, std::uint64_t listedSize, PackMethod method,
                    std::unique_ptr<LhEncoder>& encoder, std::vector<std::byte>& buffer,
                    ByteSink& sink, const std::function<void(std::uint64_t)>& progress) {
  PackedFile result;
  CappedSink capped(sink, listedSize);
  if (encoder) {
    encoder->Restart(capped);
  } else {
    encoder = std::make_unique<LhEncoder>(method, capped);
  }
  bool packing = listedSize > 0;
  int pieces = 0;
  for (;;) {
    std::size_t got = 0;
    if (!source.Read(buffer, got)) {
      return Failed(std::move(result), WriteOutcome::SourceUnreadable, win::GetLastError());
    }
    if (got == 0) break;
    const std::span<const std::byte> piece(buffer.data(), got);
    result.crc = UpdateCrc16(result.crc, piece);
    result.read += got;
    ++pieces;
    if (result.read > kMaxEntrySize) {
      return Failed(std::move(result), WriteOutcome::TooLarge, kErrorFileTooLarge);
    }
    if (packing && !encoder->Write(piece)) {
      result.sinkFailed = !capped.ReachedLimit();
      if (result.sinkFailed) return result;
      packing = false;
    }
    if (progress) progress(result.read);
  }
  if (packing && !encoder->Finish()) {
    result.sinkFailed = !capped.ReachedLimit();
    if (result.sinkFailed) return result;
    packing = false;
  }
  result.packedSize = capped.Written();
  result.shrank = packing && capped.Written() < result.read;
  if (!result.shrank && pieces <= 1) {
    result.whole.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(result.read));
  }
  return result;
}

}  // namespace pelko::lzh
