// The fit test and the floppy count of a backup, at their edges.
#include "archive/backup_fit.h"

#include <gtest/gtest.h>

namespace pelko::archive {
namespace {

constexpr std::uint32_t k360K = 362496;

TEST(FitsOnFloppyTest, GrowthEqualToFreeBytesFitsOneMoreDoesNot) {
  EXPECT_TRUE(FitsOnFloppy(1000, 5000, 4000));
  EXPECT_FALSE(FitsOnFloppy(1000, 5001, 4000));
  EXPECT_TRUE(FitsOnFloppy(k360K, k360K, 0));
  EXPECT_FALSE(FitsOnFloppy(k360K, k360K + 1, 0));
}

TEST(FitsOnFloppyTest, ArchiveThatDoesNotGrowAlwaysFits) {
  EXPECT_TRUE(FitsOnFloppy(0, 4000, 4000));
  EXPECT_TRUE(FitsOnFloppy(0, 100, 4000));
  // Free bytes read as a negative number do not make a shrinking archive fail.
  EXPECT_TRUE(FitsOnFloppy(0x80000000u, 100, 4000));
}

TEST(FitsOnFloppyTest, GrowthIsTakenIn32BitsAndComparedSigned) {
  // newSize - oldSize wraps to 0x80000001: negative as a signed number, so it fits.
  EXPECT_TRUE(FitsOnFloppy(0, 0x80000001u, 0));
  // 0x7FFFFFFF is the largest growth; no floppy's free bytes cover it.
  EXPECT_FALSE(FitsOnFloppy(k360K, 0x7FFFFFFFu, 0));
  EXPECT_TRUE(FitsOnFloppy(0x7FFFFFFFu, 0x7FFFFFFFu, 0));
}

TEST(FloppyCountTest, QuotientTruncatedPlusOne) {
  EXPECT_EQ(FloppyCount(1, k360K), 1);
  EXPECT_EQ(FloppyCount(k360K - 1, k360K), 1);
  EXPECT_EQ(FloppyCount(k360K, k360K), 2);
  EXPECT_EQ(FloppyCount(k360K + 1, k360K), 2);
  EXPECT_EQ(FloppyCount(2 * k360K, k360K), 3);
  EXPECT_EQ(FloppyCount(2 * k360K + 70000, k360K), 3);
}

TEST(FloppyCountTest, AtTheMostTheSetTakesTheTrueCountIsOffered) {
  // Floppy 1 holds the capacity, every later floppy one block less: just
  // under twice the capacity takes three floppies, not the quotient's two.
  EXPECT_EQ(FloppyCount(2 * k360K - 512, k360K), 2);
  EXPECT_EQ(FloppyCount(2 * k360K - 511, k360K), 3);
  EXPECT_EQ(FloppyCount(2 * k360K - 1, k360K), 3);
}

TEST(FloppyCountTest, At127FloppiesTheCountEnds) {
  constexpr std::uint32_t k160K = 160256;  // 313 clusters of 512 bytes
  constexpr std::uint32_t kLargestSet = k160K + 126 * (k160K - 512);
  EXPECT_EQ(FloppyCount(kLargestSet, k160K), 127);
  EXPECT_EQ(FloppyCount(kLargestSet + 1, k160K), std::nullopt);
  // The quotient offers 127 here, but the pieces would need 128.
  EXPECT_EQ(FloppyCount(20300000, k160K), std::nullopt);
  EXPECT_EQ(FloppyCount(0xFFFFFFFFu, 1), std::nullopt);  // no wrap back to a small count
  EXPECT_EQ(FloppyCount(0xFDFF0400u, 0x02000000u), 127);
  EXPECT_EQ(FloppyCount(0xFFFFFFFFu, 0x02000000u), std::nullopt);
}

}  // namespace
}  // namespace pelko::archive
