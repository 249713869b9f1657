// Any bytes as an LZH archive: the header parser, the reader (with resuming
// after broken headers) and every decoder must neither crash nor hang.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "lzh/archive/archive_reader.h"
#include "lzh/archive/header_parser.h"
#include "lzh/archive/memory_stream.h"
#include "lzh/codec/decoder.h"

namespace {

using namespace pelko::lzh;

// Output is capped so that a stream claiming gigabytes stays quick.
constexpr std::size_t kOutputCap = 256 * 1024;

void WalkArchive(const std::string& bytes) {
  MemoryStream stream(bytes);
  ArchiveReader reader(stream);
  Entry entry;
  for (;;) {
    const ReadStep step = reader.Next(entry);
    if (step == ReadStep::End) break;
    if (step == ReadStep::Error) {
      if (!reader.Resume()) break;
      continue;
    }
    StringSink sink(kOutputCap);
    reader.Extract(entry, sink);
    NullSink raw;
    reader.CopyRaw(entry, raw);
  }
}

void EveryDecoder(std::span<const std::byte> bytes) {
  if (bytes.size() < 3) return;
  // The first two bytes choose the original size, up to 64 KiB: past 32 768
  // symbols -lh1- rebuilds its adaptive tree. The rest is the stream.
  const std::uint64_t size =
      std::to_integer<unsigned>(bytes[0]) | (std::to_integer<unsigned>(bytes[1]) << 8);
  for (const char* method :
       {"-lh0-", "-lh1-", "-lh4-", "-lh5-", "-lh6-", "-lh7-", "-lzs-", "-lz5-", "-lz4-"}) {
    StringSink sink(kOutputCap);
    DecodeBytes(method, bytes.subspan(2), size, sink);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto bytes = std::as_bytes(std::span(data, size));
  Header header;
  ParseHeader(bytes, header);
  WalkArchive(std::string(reinterpret_cast<const char*>(data), size));
  EveryDecoder(bytes);
  return 0;
}
