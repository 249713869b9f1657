// MS-DOS date and time words, in local time: FAT directory entries keep them,
// and so do the headers of LZH levels 0 and 1 (date in the high word).
#pragma once

#include <cstdint>

namespace pelko::text {

struct DosTime {
  std::uint16_t date = 0x21;  // (year-1980)<<9 | month<<5 | day; 0x21 is 1980-01-01
  std::uint16_t time = 0;     // hour<<11 | minute<<5 | second/2
};

// Clamped to the first and last moments the words can hold, 1980-01-01
// 00:00:00 and 2107-12-31 23:59:58; seconds rounded down to even.
DosTime ToDosTime(std::int64_t unixTime);

// Impossible fields (month 0 or 13, second 60, hour 24, ...) are clamped into
// range rather than refused: a stamp is never a reason to lose a file.
std::int64_t FromDosTime(DosTime dosTime);

DosTime DosTimeNow();

// The 32-bit stamp of an LZH header: the date in the high word.
constexpr DosTime DosTimeFromStamp(std::uint32_t stamp) {
  return {static_cast<std::uint16_t>(stamp >> 16), static_cast<std::uint16_t>(stamp & 0xFFFF)};
}

}  // namespace pelko::text
