#include "lzh/dos_time.h"

#include <algorithm>
#include <ctime>

namespace pelko::lzh {

std::int64_t DosTimeToUnix(std::uint32_t dosTime) {
  std::tm tm{};
  tm.tm_sec = static_cast<int>(std::min<std::uint32_t>((dosTime & 0x1F) * 2, 59));
  tm.tm_min = static_cast<int>(std::min<std::uint32_t>((dosTime >> 5) & 0x3F, 59));
  tm.tm_hour = static_cast<int>(std::min<std::uint32_t>((dosTime >> 11) & 0x1F, 23));
  tm.tm_mday = static_cast<int>(std::clamp<std::uint32_t>((dosTime >> 16) & 0x1F, 1, 31));
  tm.tm_mon = static_cast<int>(std::clamp<std::uint32_t>((dosTime >> 21) & 0x0F, 1, 12)) - 1;
  tm.tm_year = static_cast<int>((dosTime >> 25) & 0x7F) + 80;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  return t == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(t);
}

std::uint32_t UnixToDosTime(std::int64_t unixTime) {
  std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr) return (1u << 21) | (1u << 16);  // 1980-01-01
  int year = std::clamp(tm.tm_year + 1900, 1980, 2107);
  if (tm.tm_year + 1900 < 1980) return (1u << 21) | (1u << 16);
  const std::uint32_t date = static_cast<std::uint32_t>(((year - 1980) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
  const std::uint32_t time = static_cast<std::uint32_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
  return (date << 16) | time;
}

}  // namespace pelko::lzh
