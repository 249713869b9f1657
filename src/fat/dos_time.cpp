#include "fat/dos_time.h"

#include <ctime>

namespace pelko::fat {

DosTime ToDosTime(std::int64_t unixTime) {
  std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr || tm.tm_year < 80) return DosTime{};
  if (tm.tm_year > 207) {
    return DosTime{static_cast<std::uint16_t>((127 << 9) | (12 << 5) | 31),
                   static_cast<std::uint16_t>((23 << 11) | (59 << 5) | 29)};
  }
  DosTime d;
  d.date = static_cast<std::uint16_t>(((tm.tm_year - 80) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
  d.time = static_cast<std::uint16_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
  return d;
}

std::int64_t FromDosTime(DosTime d) {
  std::tm tm{};
  tm.tm_year = ((d.date >> 9) & 0x7F) + 80;
  tm.tm_mon = ((d.date >> 5) & 0x0F) - 1;
  tm.tm_mday = d.date & 0x1F;
  tm.tm_hour = (d.time >> 11) & 0x1F;
  tm.tm_min = (d.time >> 5) & 0x3F;
  tm.tm_sec = (d.time & 0x1F) * 2;
  tm.tm_isdst = -1;
  if (tm.tm_mon < 0) tm.tm_mon = 0;
  if (tm.tm_mday == 0) tm.tm_mday = 1;
  return static_cast<std::int64_t>(std::mktime(&tm));
}

DosTime DosTimeNow() { return ToDosTime(static_cast<std::int64_t>(std::time(nullptr))); }

}  // namespace pelko::fat
