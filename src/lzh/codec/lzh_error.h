// What can go wrong while reading an archive: one small result type for the
// whole library, mapped to a Win32 code where a caller needs the last error.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/win_error.h"

namespace pelko::lzh {

enum class LzhError {
  None,
  ReadFailed,      // the host could not read the archive (last-error code kept)
  WriteFailed,     // the output refused bytes (last-error code kept)
  Truncated,       // the archive ends inside a header or inside packed data
  BadHeader,       // a header field or length is impossible
  HeaderTooLarge,  // beyond the hard cap on header sizes
  BadChecksum,     // level-0/1 8-bit header sum
  BadHeaderCrc,    // level-1/2/3 header CRC (extended header 0x00)
  UnknownMethod,   // a method id this library cannot decode
  BadData,         // the packed stream is impossible (table, code, distance)
  SizeMismatch,    // packed bytes consumed or original bytes produced differ
  CrcMismatch,     // the data CRC-16 does not match the header
  Cancelled,
};

// A short English description (for tools and logs; the tool's own report
// texts live in res/).
std::string_view Describe(LzhError error);

// The Win32 code a caller sets as last error for this failure.
win::DWORD ToWin32(LzhError error);

}  // namespace pelko::lzh
