// One archive entry's header, as parsed from any level (0-3) and as written
// (level 2). Shared by the reader and the writer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace pelko::lzh {

struct Header {
  std::array<char, 5> method{};  // "-lh5-" without NUL
  std::uint64_t packedSize = 0;  // bytes of data after the header
  std::uint64_t originalSize = 0;
  std::uint8_t level = 2;
  std::uint8_t osId = 'M';
  std::uint8_t attributes = 0x20;    // MS-DOS attributes
  std::int64_t unixTime = 0;         // last write, seconds since 1970 UTC
  std::optional<std::uint16_t> crc;  // data CRC-16 (absent in some level-0 headers)
  // Full stored name in CP932: directory components joined with '\' (the
  // archive's 0xFF, '/' and '\' separators normalised DBCS-aware), then the
  // file name. A folder entry ("-lhd-") has no trailing separator.
  std::string path;
  std::uint32_t headerSize = 0;  // bytes of the whole header on disk
  // Unix permission bits (extended header 0x50 or the level-0 'U' extension),
  // when stored: a symbolic link is recognised by them and never created.
  std::optional<std::uint16_t> unixMode;

  std::string Method() const { return std::string(method.data(), method.size()); }
  bool IsDirectory() const { return Method() == "-lhd-"; }
};

}  // namespace pelko::lzh
