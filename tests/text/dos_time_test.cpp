// Run with TZ=UTC (the CTest property), so local time is UTC here.
#include "text/dos_time.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace pelko::text {
namespace {

constexpr DosTime kFirstMoment{0x0021, 0x0000};  // 1980-01-01 00:00:00
constexpr DosTime kLastMoment{0xFF9F, 0xBF7D};   // 2107-12-31 23:59:58

void ExpectWords(DosTime actual, DosTime expected) {
  EXPECT_EQ(actual.date, expected.date);
  EXPECT_EQ(actual.time, expected.time);
}

TEST(DosTime, ClampsToTheLastMomentTheWordsHold) {
  ExpectWords(ToDosTime(4354819198), kLastMoment);  // 2107-12-31 23:59:58 itself
  ExpectWords(ToDosTime(4354819199), kLastMoment);  // odd second rounds down
  ExpectWords(ToDosTime(4354819200), kLastMoment);  // 2108-01-01
  ExpectWords(ToDosTime(7258118400), kLastMoment);  // 2200-01-01, not 2107-08-31
  EXPECT_EQ(FromDosTime(kLastMoment), 4354819198);
}

TEST(DosTime, ClampsToTheFirstMomentTheWordsHold) {
  ExpectWords(ToDosTime(315532800), kFirstMoment);  // 1980-01-01 00:00:00 itself
  ExpectWords(ToDosTime(315532799), kFirstMoment);  // one second before
  ExpectWords(ToDosTime(0), kFirstMoment);
  ExpectWords(ToDosTime(-1000000000), kFirstMoment);
  EXPECT_EQ(FromDosTime(kFirstMoment), 315532800);
}

TEST(DosTime, RoundTripsToTheEvenSecond) {
  const DosTime leapDay = ToDosTime(1709214331);  // 2024-02-29 13:45:31
  EXPECT_EQ(leapDay.date, (44 << 9) | (2 << 5) | 29);
  EXPECT_EQ(leapDay.time, (13 << 11) | (45 << 5) | 15);
  EXPECT_EQ(FromDosTime(leapDay), 1709214330);
}

// Damaged directory entries and archive headers still give a time of the
// same day, never one carried into another month or year.
TEST(DosTime, ImpossibleFieldsAreClampedIntoRange) {
  EXPECT_EQ(FromDosTime({(19 << 9) | (0 << 5) | 1, 0}), 915148800);           // month 0: January
  EXPECT_EQ(FromDosTime({(19 << 9) | (15 << 5) | 1, 0}), 944006400);          // month 15: December
  EXPECT_EQ(FromDosTime({(21 << 9) | (1 << 5) | 0, 0}), 978307200);           // day 0: the 1st
  EXPECT_EQ(FromDosTime({(21 << 9) | (1 << 5) | 1, (31 << 11)}), 978390000);  // hour 31: 23
  EXPECT_EQ(FromDosTime({(21 << 9) | (1 << 5) | 31, (23 << 11) | (63 << 5) | 31}),
            980985599);  // minute 63, second 62: 23:59:59
}

TEST(DosTime, LzhStampHoldsTheDateInTheHighWord) {
  const DosTime stamp = DosTimeFromStamp(0xFF9FBF7Du);
  ExpectWords(stamp, kLastMoment);
}

}  // namespace
}  // namespace pelko::text
