// MS-DOS date-time stamps (levels 0 and 1 keep the local time in them).
#pragma once

#include <cstdint>

namespace pelko::lzh {

// time = hour<<11 | minute<<5 | second/2 in the low word, date = (year-1980)<<9
// | month<<5 | day in the high word, local time. Impossible fields are clamped
// into range rather than refused: a stamp is never a reason to lose a file.
std::int64_t DosTimeToUnix(std::uint32_t dosTime);
std::uint32_t UnixToDosTime(std::int64_t unixTime);

}  // namespace pelko::lzh
