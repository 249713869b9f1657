// Reading one entry header of any level (0, 1, 2, 3) into a Header.
//
// Every length is checked before it is used; a header that fails its 8-bit
// sum (levels 0, 1) or its CRC (extended header 0x00) is an error, never the
// end of the archive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "lzh/archive/header.h"
#include "lzh/codec/input_stream.h"
#include "lzh/codec/lzh_error.h"

namespace pelko::lzh {

// Hard cap on one header with all its extended headers. Level 2 cannot
// exceed 65535 bytes by its size field; level 1 and 3 chains get the same cap.
inline constexpr std::size_t kMaxHeaderBytes = 65535;

enum class HeaderStatus {
  Ok,     // header filled; the stream stands at the first packed byte
  End,    // the end mark (a 0x00 byte) or the end of the file
  Error,  // see HeaderResult::error; the stream position is unspecified
};

struct HeaderResult {
  HeaderStatus status = HeaderStatus::Error;
  LzhError error = LzhError::None;
};

// Reads the header at the stream's position.
HeaderResult ReadHeader(InputStream& in, Header& header);

// The same for a header held in memory, starting at its first byte.
HeaderResult ParseHeader(std::span<const std::byte> bytes, Header& header);

// True when the 5 bytes look like a method id: '-', 3 characters, '-'.
bool LooksLikeMethodId(std::span<const std::byte, 5> bytes);

}  // namespace pelko::lzh
