#include "text/dos_time.h"

#include <algorithm>
#include <ctime>

namespace pelko::text {
namespace {

constexpr int kFirstYear = 1980;
constexpr int kLastYear = kFirstYear + 127;  // seven bits of year

constexpr DosTime kLastMoment{static_cast<std::uint16_t>((127 << 9) | (12 << 5) | 31),
                              static_cast<std::uint16_t>((23 << 11) | (59 << 5) | 29)};

}  // namespace

DosTime ToDosTime(std::int64_t unixTime) {
  const std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr || tm.tm_year + 1900 < kFirstYear) return DosTime{};
  if (tm.tm_year + 1900 > kLastYear) return kLastMoment;
  DosTime d;
  d.date = static_cast<std::uint16_t>(((tm.tm_year + 1900 - kFirstYear) << 9) |
                                      ((tm.tm_mon + 1) << 5) | tm.tm_mday);
  d.time = static_cast<std::uint16_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
  return d;
}

std::int64_t FromDosTime(DosTime d) {
  std::tm tm{};
  tm.tm_sec = std::min((d.time & 0x1F) * 2, 59);
  tm.tm_min = std::min((d.time >> 5) & 0x3F, 59);
  tm.tm_hour = std::min((d.time >> 11) & 0x1F, 23);
  tm.tm_mday = std::clamp(d.date & 0x1F, 1, 31);
  tm.tm_mon = std::clamp((d.date >> 5) & 0x0F, 1, 12) - 1;
  tm.tm_year = ((d.date >> 9) & 0x7F) + kFirstYear - 1900;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  return t == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(t);
}

DosTime DosTimeNow() { return ToDosTime(static_cast<std::int64_t>(std::time(nullptr))); }

}  // namespace pelko::text
