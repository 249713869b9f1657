#include "lzh/archive/header_parser.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "lzh/archive/path_names.h"
#include "lzh/codec/byte_source.h"
#include "lzh/codec/crc16.h"
#include "text/dos_time.h"
#include "text/little_endian.h"

namespace pelko::lzh {
namespace {

using Bytes = std::vector<std::byte>;

// The first 21 bytes are common to every level; offset 20 is the level.
constexpr std::size_t kCommonBytes = 21;
constexpr std::size_t kLevel2BaseBytes = 26;
constexpr std::size_t kLevel3BaseBytes = 32;
// Seconds between 1601-01-01 (FILETIME) and 1970-01-01.
constexpr std::int64_t kFileTimeToUnixSeconds = 11644473600;

std::uint8_t U8(const Bytes& b, std::size_t at) { return std::to_integer<std::uint8_t>(b[at]); }

HeaderResult Failure(LzhError error) { return {HeaderStatus::Error, error}; }
HeaderResult Success() { return {HeaderStatus::Ok, LzhError::None}; }

// What the extended headers of one entry say, gathered before the Header is
// assembled (several of them override fields of the base header).
struct Extended {
  std::optional<std::string> name;
  std::optional<std::string> directory;
  std::optional<std::uint16_t> headerCrc;
  std::size_t headerCrcAt = 0;  // offset of the CRC bytes inside the header
  std::optional<std::uint8_t> attributes;
  std::optional<std::int64_t> windowsTime;
  std::optional<std::int64_t> unixTime;
  std::optional<std::uint16_t> unixMode;
  std::optional<std::uint64_t> packedSize64;
  std::optional<std::uint64_t> originalSize64;
};

using ExtendedHandler = void (*)(std::span<const std::byte> body, std::size_t bodyAt,
                                 Extended& ext);

struct ExtendedType {
  std::uint8_t type;
  std::size_t minimumBody;  // shorter bodies are a broken header
  ExtendedHandler handle;
};

std::string AsString(std::span<const std::byte> body) {
  return std::string(reinterpret_cast<const char*>(body.data()), body.size());
}
constexpr ExtendedType kExtendedTypes[] = {
    {0x00, 2,
     [](auto body, std::size_t at, Extended& e) {
       e.headerCrc = text::LoadLe16(body, 0);
       e.headerCrcAt = at;
     }},
    {0x01, 0, [](auto body, std::size_t, Extended& e) { e.name = AsString(body); }},
    {0x02, 0, [](auto body, std::size_t, Extended& e) { e.directory = AsString(body); }},
    {0x40, 1,
     [](auto body, std::size_t, Extended& e) {
       e.attributes = std::to_integer<std::uint8_t>(body[0]);
     }},
    {0x41, 24,
     [](auto body, std::size_t, Extended& e) {
       // Creation, last write, last access: the second one is ours.
       const std::uint64_t fileTime = text::LoadLe64(body, 8);
       e.windowsTime = static_cast<std::int64_t>(fileTime / 10000000) - kFileTimeToUnixSeconds;
     }},
    {0x42, 16,
     [](auto body, std::size_t, Extended& e) {
       e.packedSize64 = text::LoadLe64(body, 0);
       e.originalSize64 = text::LoadLe64(body, 8);
     }},
    {0x50, 2, [](auto body, std::size_t, Extended& e) { e.unixMode = text::LoadLe16(body, 0); }},
    {0x54, 4,
     [](auto body, std::size_t, Extended& e) {
       e.unixTime = static_cast<std::int64_t>(text::LoadLe32(body, 0));
     }},
};

// Applies one extended header (type byte first, size field excluded).
bool ApplyExtended(std::span<const std::byte> typeAndBody, std::size_t at, Extended& ext) {
  const auto type = std::to_integer<std::uint8_t>(typeAndBody[0]);
  const auto body = typeAndBody.subspan(1);
  for (const ExtendedType& known : kExtendedTypes) {
    if (known.type != type) continue;
    if (body.size() < known.minimumBody) return false;
    known.handle(body, at + 1, ext);
    return true;
  }
  return true;  // unknown types are skipped by their length
}

// Walks a chain of extended headers held in `header` from `at`, each
// [type][body][size of the next], the first size being `firstSize`. `end` is
// where the chain must stop at the latest. `sizeWidth` is 2 or 4.
bool WalkExtended(const Bytes& header, std::size_t at, std::size_t end, std::uint32_t firstSize,
                  std::size_t sizeWidth, Extended& ext, std::size_t& chainEnd) {
  std::uint32_t size = firstSize;
  while (size != 0) {
    if (size < 1 + sizeWidth) return false;
    if (at > end || size > end - at) return false;
    const std::size_t bodyEnd = at + size - sizeWidth;
    if (!ApplyExtended(std::span(header).subspan(at, bodyEnd - at), at, ext)) return false;
    size = sizeWidth == 2 ? text::LoadLe16(header, bodyEnd) : text::LoadLe32(header, bodyEnd);
    at = bodyEnd + sizeWidth;
  }
  chainEnd = at;
  return true;
}

// The header CRC is taken over the whole header with its own two bytes zero.
bool HeaderCrcMatches(const Bytes& header, const Extended& ext) {
  if (!ext.headerCrc) return true;
  Bytes copy = header;
  copy[ext.headerCrcAt] = std::byte{0};
  copy[ext.headerCrcAt + 1] = std::byte{0};
  return Crc16(copy) == *ext.headerCrc;
}

bool ReadMore(InputStream& in, Bytes& header, std::size_t count) {
  const std::size_t had = header.size();
  header.resize(had + count);
  return in.ReadExact(std::span(header).subspan(had));
}

std::uint8_t Sum8(const Bytes& header, std::size_t from, std::size_t to) {
  unsigned sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += U8(header, i);
  return static_cast<std::uint8_t>(sum);
}

// Directory and name joined with '\'; a folder loses its trailing separator.
std::string AssemblePath(std::string_view directory, std::string_view name, bool isDirectory) {
  std::vector<std::string> parts;
  if (!directory.empty()) {
    parts = SplitStoredPath(directory);
    if (parts.back().empty()) parts.pop_back();
  }
  if (!name.empty() || !isDirectory || parts.empty()) {
    for (std::string& part : SplitStoredPath(name)) parts.push_back(std::move(part));
  }
  if (isDirectory && parts.size() > 1 && parts.back().empty()) parts.pop_back();
  std::string path;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i != 0) path += '\\';
    path += parts[i];
  }
  return path;
}

void FillCommon(const Bytes& b, Header& h) {
  for (std::size_t i = 0; i < 5; ++i) h.method[i] = static_cast<char>(U8(b, 2 + i));
  h.packedSize = text::LoadLe32(b, 7);
  h.originalSize = text::LoadLe32(b, 11);
  h.level = U8(b, 20);
}

// Fields the extended headers override, in the order of their precision.
HeaderResult Finish(const Bytes& header, const Extended& ext, std::string_view baseName,
                    Header& h) {
  if (ext.packedSize64) h.packedSize = *ext.packedSize64;
  if (ext.originalSize64) h.originalSize = *ext.originalSize64;
  if (ext.attributes) h.attributes = *ext.attributes;
  if (ext.unixTime) h.unixTime = *ext.unixTime;
  if (ext.windowsTime) h.unixTime = *ext.windowsTime;
  if (ext.unixMode) h.unixMode = ext.unixMode;
  const std::string_view name = ext.name ? std::string_view(*ext.name) : baseName;
  h.path = AssemblePath(ext.directory.value_or(std::string()), name, h.IsDirectory());
  if (header.size() > UINT32_MAX) return Failure(LzhError::HeaderTooLarge);
  h.headerSize = static_cast<std::uint32_t>(header.size());
  if (!HeaderCrcMatches(header, ext)) return Failure(LzhError::BadHeaderCrc);
  return Success();
}

HeaderResult ReadLevel0(InputStream& in, Bytes& b, Header& h) {
  const std::size_t size = U8(b, 0);  // bytes after the first two
  if (size + 2 < b.size()) return Failure(LzhError::BadHeader);
  if (!ReadMore(in, b, size + 2 - b.size())) return Failure(LzhError::Truncated);
  if (Sum8(b, 2, b.size()) != U8(b, 1)) return Failure(LzhError::BadChecksum);
  const std::size_t nameLength = U8(b, 21);
  if (22 + nameLength > b.size()) return Failure(LzhError::BadHeader);
  FillCommon(b, h);
  h.attributes = U8(b, 19);
  h.unixTime = text::FromDosTime(text::DosTimeFromStamp(text::LoadLe32(b, 15)));
  h.osId = 0;
  const std::string name(reinterpret_cast<const char*>(b.data() + 22), nameLength);
  std::size_t at = 22 + nameLength;
  if (at + 2 <= b.size()) {
    h.crc = text::LoadLe16(b, at);
    at += 2;
  }
  // LHa for UNIX's old extension: 'U', minor version, mtime, mode, uid, gid.
  if (at + 8 <= b.size() && U8(b, at) == 'U') {
    h.osId = 'U';
    h.unixTime = text::LoadLe32(b, at + 2);
    h.unixMode = text::LoadLe16(b, at + 6);
  }
  h.path = AssemblePath({}, name, h.IsDirectory());
  h.headerSize = static_cast<std::uint32_t>(b.size());
  return Success();
}

HeaderResult ReadLevel1(InputStream& in, Bytes& b, Header& h) {
  const std::size_t size = U8(b, 0);
  if (size + 2 < b.size()) return Failure(LzhError::BadHeader);
  if (!ReadMore(in, b, size + 2 - b.size())) return Failure(LzhError::Truncated);
  if (Sum8(b, 2, b.size()) != U8(b, 1)) return Failure(LzhError::BadChecksum);
  const std::size_t nameLength = U8(b, 21);
  if (27 + nameLength > b.size()) return Failure(LzhError::BadHeader);
  FillCommon(b, h);
  h.unixTime = text::FromDosTime(text::DosTimeFromStamp(text::LoadLe32(b, 15)));
  h.crc = text::LoadLe16(b, 22 + nameLength);
  h.osId = U8(b, 24 + nameLength);
  const std::string baseName(reinterpret_cast<const char*>(b.data() + 22), nameLength);

  // The extended headers follow the base header; each one is read whole
  // before its size field tells the size of the next.
  Extended ext;
  std::uint16_t next = text::LoadLe16(b, b.size() - 2);
  std::uint64_t extendedBytes = 0;
  while (next != 0) {
    if (next < 3) return Failure(LzhError::BadHeader);
    if (next > kMaxHeaderBytes - b.size()) return Failure(LzhError::HeaderTooLarge);
    const std::size_t at = b.size();
    if (!ReadMore(in, b, next)) return Failure(LzhError::Truncated);
    if (!ApplyExtended(std::span(b).subspan(at, next - 2), at, ext))
      return Failure(LzhError::BadHeader);
    extendedBytes += next;
    next = text::LoadLe16(b, b.size() - 2);
  }
  // Offset 7 holds the extended headers and the packed data together.
  if (extendedBytes > h.packedSize) return Failure(LzhError::BadHeader);
  h.packedSize -= extendedBytes;
  return Finish(b, ext, baseName, h);
}

// Levels 2 and 3 keep a Unix time, the CRC and the OS id at the same offsets.
void FillLevel2And3(const Bytes& b, Header& h) {
  FillCommon(b, h);
  h.unixTime = static_cast<std::int64_t>(text::LoadLe32(b, 15));
  h.crc = text::LoadLe16(b, 21);
  h.osId = U8(b, 23);
}

HeaderResult ReadLevel2(InputStream& in, Bytes& b, Header& h) {
  const std::size_t total = text::LoadLe16(b, 0);
  if (total < kLevel2BaseBytes) return Failure(LzhError::BadHeader);
  if (!ReadMore(in, b, total - b.size())) return Failure(LzhError::Truncated);
  FillLevel2And3(b, h);
  Extended ext;
  std::size_t chainEnd = 0;
  if (!WalkExtended(b, kLevel2BaseBytes, total, text::LoadLe16(b, 24), 2, ext, chainEnd)) {
    return Failure(LzhError::BadHeader);
  }
  // One pad byte keeps a size with a low byte of 0 from reading as the end mark.
  if (total - chainEnd > 1) return Failure(LzhError::BadHeader);
  return Finish(b, ext, {}, h);
}

HeaderResult ReadLevel3(InputStream& in, Bytes& b, Header& h) {
  if (text::LoadLe16(b, 0) != 4) return Failure(LzhError::BadHeader);
  if (!ReadMore(in, b, kLevel3BaseBytes - b.size())) return Failure(LzhError::Truncated);
  const std::uint32_t total = text::LoadLe32(b, 24);
  if (total < kLevel3BaseBytes) return Failure(LzhError::BadHeader);
  if (total > kMaxHeaderBytes) return Failure(LzhError::HeaderTooLarge);
  if (!ReadMore(in, b, total - b.size())) return Failure(LzhError::Truncated);
  FillLevel2And3(b, h);
  Extended ext;
  std::size_t chainEnd = 0;
  if (!WalkExtended(b, kLevel3BaseBytes, total, text::LoadLe32(b, 28), 4, ext, chainEnd)) {
    return Failure(LzhError::BadHeader);
  }
  return Finish(b, ext, {}, h);
}

}  // namespace

bool LooksLikeMethodId(std::span<const std::byte, 5> id) {
  return id[0] == std::byte{'-'} && id[4] == std::byte{'-'};
}

HeaderResult ReadHeader(InputStream& in, Header& header) {
  header = Header{};
  Bytes b(1);
  if (!in.ReadExact(b)) {
    return in.Failed() ? Failure(LzhError::ReadFailed)
                       : HeaderResult{HeaderStatus::End, LzhError::None};
  }
  if (U8(b, 0) == 0) return {HeaderStatus::End, LzhError::None};
  if (!ReadMore(in, b, kCommonBytes + 1 - b.size())) {
    return Failure(in.Failed() ? LzhError::ReadFailed : LzhError::Truncated);
  }
  if (!LooksLikeMethodId(std::span(b).subspan<2, 5>())) return Failure(LzhError::BadHeader);
  HeaderResult result;
  switch (U8(b, 20)) {
    case 0:
      result = ReadLevel0(in, b, header);
      break;
    case 1:
      result = ReadLevel1(in, b, header);
      break;
    case 2:
      result = ReadLevel2(in, b, header);
      break;
    case 3:
      result = ReadLevel3(in, b, header);
      break;
    default:
      result = Failure(LzhError::BadHeader);
      break;
  }
  if (result.error == LzhError::Truncated && in.Failed()) result.error = LzhError::ReadFailed;
  return result;
}

HeaderResult ParseHeader(std::span<const std::byte> bytes, Header& header) {
  MemorySource memory(bytes);
  InputStream in(memory);
  return ReadHeader(in, header);
}

}  // namespace pelko::lzh
