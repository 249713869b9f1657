#include "lzh/archive/header_writer.h"

#include <algorithm>
#include <span>
#include <vector>

#include "lzh/codec/crc16.h"
#include "text/cp932_path.h"
#include "text/little_endian.h"

namespace pelko::lzh {
namespace {

constexpr std::size_t kMaxHeader = 0xFFFF;

// One extended header: type, body, then the 2-byte size of the next one
// (patched when the next is added).
void AddExtended(std::string& out, std::size_t& nextSizeAt, std::uint8_t type,
                 std::string_view body) {
  text::StoreLe16(out, nextSizeAt, static_cast<std::uint16_t>(body.size() + 3));
  out += static_cast<char>(type);
  out += body;
  nextSizeAt = out.size();
  out += '\0';
  out += '\0';
}

}  // namespace

HeaderWriteResult BuildLevel2Header(const Header& header, std::string& out) {
  if (header.packedSize > kMaxEntrySize || header.originalSize > kMaxEntrySize) {
    return HeaderWriteResult::TooLarge;
  }
  std::vector<std::string> parts = cp932::Path(header.path).Components();
  if (std::any_of(parts.begin(), parts.end(), [](const std::string& p) { return p.empty(); })) {
    return HeaderWriteResult::BadName;
  }
  std::string name;
  if (!header.IsDirectory()) {
    name = std::move(parts.back());
    parts.pop_back();
  }
  std::string folders;
  for (const std::string& part : parts) {
    folders += part;
    folders += '\xFF';
  }

  out.clear();
  out += '\0';
  out += '\0';  // total size, set below
  out.append(header.method.data(), header.method.size());
  text::AppendLittleEndian(out, header.packedSize, 4);
  text::AppendLittleEndian(out, header.originalSize, 4);
  const std::int64_t time = std::clamp<std::int64_t>(header.unixTime, 0, 0xFFFFFFFF);
  text::AppendLittleEndian(out, static_cast<std::uint64_t>(time), 4);
  out += '\x20';
  out += '\x02';
  text::AppendLittleEndian(out, header.crc.value_or(0), 2);
  out += 'M';
  std::size_t nextSizeAt = out.size();
  out += '\0';
  out += '\0';

  AddExtended(out, nextSizeAt, 0x00, std::string(2, '\0'));
  const std::size_t crcAt = out.size() - 4;
  AddExtended(out, nextSizeAt, 0x01, name);
  if (!folders.empty()) AddExtended(out, nextSizeAt, 0x02, folders);
  if (header.attributes != 0x20) {
    AddExtended(out, nextSizeAt, 0x40, std::string{static_cast<char>(header.attributes), '\0'});
  }
  // A first byte of 0 would read as the end of the archive.
  if ((out.size() & 0xFF) == 0) out += '\0';
  if (out.size() > kMaxHeader) return HeaderWriteResult::NameTooLong;
  text::StoreLe16(out, 0, static_cast<std::uint16_t>(out.size()));
  const std::uint16_t crc = Crc16(std::as_bytes(std::span<const char>(out.data(), out.size())));
  text::StoreLe16(out, crcAt, crc);
  return HeaderWriteResult::Ok;
}

}  // namespace pelko::lzh
