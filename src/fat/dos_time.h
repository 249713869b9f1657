// DOS date and time words, local time as Windows keeps them on FAT.
#pragma once

#include <cstdint>

namespace pelko::fat {

struct DosTime {
  std::uint16_t date = 0x21;  // 1980-01-01
  std::uint16_t time = 0;
};

// Clamped to 1980-01-01 .. 2107-12-31; seconds rounded down to even.
DosTime ToDosTime(std::int64_t unixTime);
std::int64_t FromDosTime(DosTime t);
DosTime DosTimeNow();

}  // namespace pelko::fat
