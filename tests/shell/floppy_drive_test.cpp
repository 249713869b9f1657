#include "shell/floppy_drive.h"

#include <gtest/gtest.h>

#include "platform/file_stream.h"
#include "support/acting_user.h"
#include "support/floppy_images.h"
#include "support/test_program_folder.h"

namespace pelko::shell {
namespace {

using test::ActingUser;
using test::DialogResult;
using test::MakeFloppyImage;
using test::TestProgramFolder;

// --- the volume label ------------------------------------------------------

TEST(ReadVolumeLabelTest, LabelledFloppyGivesItsLabel) {
  TestProgramFolder home;
  MakeFloppyImage(home.FloppyImageHostPath(), "DISK1", 0x1234ABCD);
  EXPECT_EQ(ReadVolumeLabel(), "DISK1");
}

TEST(ReadVolumeLabelTest, UnlabelledFloppyGivesTheEmptyLabel) {
  TestProgramFolder home;
  MakeFloppyImage(home.FloppyImageHostPath(), "", 1);
  EXPECT_EQ(ReadVolumeLabel(), "");
}

TEST(ReadVolumeLabelTest, EmptyDriveOrUnreadableImageFails) {
  TestProgramFolder home;
  EXPECT_FALSE(ReadVolumeLabel().has_value());
  test::WriteHostFile(home.FloppyImageHostPath(), std::string(368640, '\xF6'));
  EXPECT_FALSE(ReadVolumeLabel().has_value());
}

// --- waiting for a disk ----------------------------------------------------

TEST(WaitForDiskTest, DiskInTheDriveIsTakenWithoutAsking) {
  TestProgramFolder home;
  MakeFloppyImage(home.FloppyImageHostPath(), "DISK1", 7);
  ActingUser user;
  EXPECT_EQ(WaitForDisk(), "DISK1");
  EXPECT_TRUE(user.Shown().empty());
}

TEST(WaitForDiskTest, RetryWithTheDriveStillEmptyAsksAgainAndCancelGivesUp) {
  TestProgramFolder home;
  ActingUser user;
  user.Expect(DialogResult::Retry, "ディスクをセットしてください");
  user.Expect(DialogResult::Retry, "ディスクをセットしてください");
  user.Expect(DialogResult::Cancel, "ディスクをセットしてください");
  EXPECT_FALSE(WaitForDisk().has_value());
  ASSERT_EQ(user.Shown().size(), 3u);
  for (const auto& box : user.Shown()) {
    EXPECT_EQ(box.TextUtf8(), "ディスクをセットしてください");
    EXPECT_EQ(box.buttons, test::MessageBoxButtons::RetryCancel);
  }
  EXPECT_FALSE(test::HostPathExists(home.FloppyImageHostPath()));
}

TEST(WaitForDiskTest, RetryAfterInsertingADiskGivesItsLabel) {
  TestProgramFolder home;
  ActingUser user;
  user.Expect(DialogResult::Retry, "ディスクをセットしてください");
  user.Expect(DialogResult::Retry, "ディスクをセットしてください",
              [&] { MakeFloppyImage(home.FloppyImageHostPath(), "BACKUP", 9); });
  EXPECT_EQ(WaitForDisk(), "BACKUP");
  EXPECT_EQ(user.Shown().size(), 2u);
}

// --- disk space ------------------------------------------------------------

TEST(QueryFloppySpaceTest, Blank360KFloppyHasAllItsClustersFree) {
  TestProgramFolder home;
  MakeFloppyImage(home.FloppyImageHostPath(), "DISK1", 1);
  FloppySpace space = QueryFloppySpace();
  EXPECT_EQ(space.sectorsPerCluster, 2u);
  EXPECT_EQ(space.bytesPerSector, 512u);
  EXPECT_EQ(space.totalClusters, 354u);
  EXPECT_EQ(space.freeClusters, 354u);
  EXPECT_EQ(space.FreeBytes(), 362496u);
  EXPECT_EQ(space.Capacity(), 362496u);
}

TEST(QueryFloppySpaceTest, FileOnTheFloppyTakesWholeClusters) {
  TestProgramFolder home;
  MakeFloppyImage(home.FloppyImageHostPath(), "DISK1", 1);
  ASSERT_TRUE(win::WriteWholeFile("A:\\archive.lzh", std::string(1025, 'x')));
  FloppySpace space = QueryFloppySpace();
  EXPECT_EQ(space.freeClusters, 352u);
  EXPECT_EQ(space.FreeBytes(), 362496u - 2048u);
}

TEST(QueryFloppySpaceTest, EmptyDriveHasNoRoom) {
  TestProgramFolder home;
  FloppySpace space = QueryFloppySpace();
  EXPECT_EQ(space.freeClusters, 0u);
  EXPECT_EQ(space.FreeBytes(), 0u);
  EXPECT_EQ(space.Capacity(), 0u);
}

TEST(QueryFloppySpaceTest, ProductsAre32BitAndFreeBytesCompareSigned) {
  FloppySpace huge{64, 512, 0x00010000, 0x00020000};  // 2 GiB free of 4 GiB
  EXPECT_EQ(huge.FreeBytes(), 0x80000000u);
  EXPECT_LT(huge.SignedFreeBytes(), 0);
  EXPECT_EQ(huge.Capacity(), 0u);  // wraps
}

}  // namespace
}  // namespace pelko::shell
