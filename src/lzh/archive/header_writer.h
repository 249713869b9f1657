// Entry headers as this library writes them: level 2, OS id 'M', the name
// in extended header 0x01 and its folders in 0x02 (0xFF between and after
// components), the MS-DOS attribute in 0x40 when it is not a plain file's,
// and the CRC of the whole header in 0x00.
#pragma once

#include <cstdint>
#include <string>

#include "lzh/archive/header.h"

namespace pelko::lzh {

enum class HeaderWriteResult {
  Ok,
  NameTooLong,  // the header would exceed its 16-bit size field
  TooLarge,     // a size of 4 GiB or more: refused rather than cut short
  BadName,      // empty, or an empty component
};

// The header's bytes for `header` (method, sizes, unixTime, attributes,
// crc and path with '\' between components are used; level and osId are
// written as 2 and 'M' whatever they hold).
HeaderWriteResult BuildLevel2Header(const Header& header, std::string& bytes);

// Largest size a level-2 header records in its 32-bit fields.
inline constexpr std::uint64_t kMaxEntrySize = 0xFFFFFFFFu;

}  // namespace pelko::lzh
