#include "archive/span_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "span_test_floppies.h"

namespace pelko::archive {
namespace {

using test::ActingUser;
using test::DialogResult;
using testing::Floppies;
using testing::k360KFreeBytes;
using testing::PieceHeader;
using testing::RandomBytes;
using testing::SameBytes;

constexpr const char* kFull2 = "ディスクが一杯です。2 枚目のディスクを入れてください。";
constexpr const char* kFull3 = "ディスクが一杯です。3 枚目のディスクを入れてください。";
// On a blank 360K floppy a later piece holds this many data bytes: whole
// blocks that fit beside its 2-byte header.
constexpr std::size_t kLaterPieceData = (k360KFreeBytes - 2) / 512 * 512;

class SpanWriterTest : public ::testing::Test {
 protected:
  // The working copy in the program folder; its Windows path.
  std::string PutSource(std::size_t size, std::uint32_t seed = 1) {
    source_ = RandomBytes(size, seed);
    test::WriteHostFile(home_.HostPathOf("archive.lzh"), source_);
    return home_.WindowsPathOf("archive.lzh");
  }

  test::TestProgramFolder home_;
  Floppies floppies_{home_};
  std::string source_;
};

TEST_F(SpanWriterTest, TwoFloppiesHoldTheArchiveInOrder) {
  std::string disk1 = floppies_.Make360K("disk1.img", 0x11111111);
  std::string disk2 = floppies_.Make360K("disk2.img", 0x22222222);
  floppies_.Insert(disk1);
  std::string source = PutSource(k360KFreeBytes + 100000 + 300);  // ends in a short block
  ActingUser user;
  user.Expect(DialogResult::Yes, kFull2, [&] { floppies_.Insert(disk2); });

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Spanned);

  std::string piece1 = floppies_.Read(disk1, "ARCH.DIV").value_or("missing");
  EXPECT_EQ(piece1.size(), k360KFreeBytes);
  EXPECT_EQ(piece1.size() % 512, 0u);
  EXPECT_TRUE(SameBytes(piece1, source_.substr(0, k360KFreeBytes)));
  EXPECT_TRUE(SameBytes(floppies_.Read(disk2, "ARCH.DIV"),
                        PieceHeader(2, true) + source_.substr(k360KFreeBytes)));
  EXPECT_EQ(user.Shown().size(), 1u);
  EXPECT_EQ(user.Shown()[0].buttons, test::MessageBoxButtons::YesNo);
  EXPECT_FALSE(test::HostPathExists(home_.HostPathOf("arch.div")));
  EXPECT_TRUE(
      SameBytes(test::ReadHostFile(home_.HostPathOf("archive.lzh")), source_));  // only read
  floppies_.ExpectSound(disk1);
  floppies_.ExpectSound(disk2);
}

TEST_F(SpanWriterTest, ThreeFloppiesNumberTheirPiecesAndMarkOnlyTheLast) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  std::string disk2 = floppies_.Make360K("disk2.img", 2);
  std::string disk3 = floppies_.Make360K("disk3.img", 3);
  floppies_.Insert(disk1);
  std::string source = PutSource(k360KFreeBytes + kLaterPieceData + 5017);
  ActingUser user;
  user.Expect(DialogResult::Yes, kFull2, [&] { floppies_.Insert(disk2); });
  user.Expect(DialogResult::Yes, kFull3, [&] { floppies_.Insert(disk3); });

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Spanned);

  EXPECT_TRUE(SameBytes(floppies_.Read(disk1, "ARCH.DIV"), source_.substr(0, k360KFreeBytes)));
  EXPECT_TRUE(SameBytes(floppies_.Read(disk2, "ARCH.DIV"),
                        PieceHeader(2, false) + source_.substr(k360KFreeBytes, kLaterPieceData)));
  EXPECT_TRUE(SameBytes(floppies_.Read(disk3, "ARCH.DIV"),
                        PieceHeader(3, true) + source_.substr(k360KFreeBytes + kLaterPieceData)));
  for (const auto& disk : {disk1, disk2, disk3}) floppies_.ExpectSound(disk);
}

TEST_F(SpanWriterTest, FloppyThatHoldsAnArchiveKeepsItAndThePieceGetsTheRest) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  std::string disk2 = floppies_.Make360K("disk2.img", 2);
  std::string disk3 = floppies_.Make360K("disk3.img", 3);
  std::string oldArchive = RandomBytes(100000, 77);  // takes 98 clusters
  floppies_.Put(disk2, "ARCHIVE.LZH", oldArchive);
  floppies_.Insert(disk1);
  std::string source = PutSource(2 * k360KFreeBytes);
  ActingUser user;
  user.Expect(DialogResult::Yes, kFull2, [&] { floppies_.Insert(disk2); });
  user.Expect(DialogResult::Yes, kFull3, [&] { floppies_.Insert(disk3); });

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Spanned);

  constexpr std::size_t kRoomBesideOldArchive = k360KFreeBytes - 98 * 1024;
  constexpr std::size_t kPiece2Data = (kRoomBesideOldArchive - 2) / 512 * 512;
  EXPECT_TRUE(SameBytes(floppies_.Read(disk2, "ARCHIVE.LZH"), oldArchive));
  EXPECT_TRUE(SameBytes(floppies_.Read(disk2, "ARCH.DIV"),
                        PieceHeader(2, false) + source_.substr(k360KFreeBytes, kPiece2Data)));
  EXPECT_TRUE(SameBytes(floppies_.Read(disk3, "ARCH.DIV"),
                        PieceHeader(3, true) + source_.substr(k360KFreeBytes + kPiece2Data)));
  floppies_.ExpectSound(disk2);
}

TEST_F(SpanWriterTest, FloppyWithTooLittleRoomIsAskedForAgain) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  std::string crowded = floppies_.Make360K("crowded.img", 5);
  std::string keep = RandomBytes(k360KFreeBytes - 2 * 1024, 5);  // leaves 2 clusters
  floppies_.Put(crowded, "KEEP.DAT", keep);
  std::string disk2 = floppies_.Make360K("disk2.img", 2);
  floppies_.Insert(disk1);
  std::string source = PutSource(k360KFreeBytes + 1000);
  ActingUser user;
  user.Expect(DialogResult::Yes, kFull2, [&] { floppies_.Insert(crowded); });
  user.Expect(DialogResult::Yes, kFull2, [&] { floppies_.Insert(disk2); });

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Spanned);

  EXPECT_EQ(user.Shown().size(), 2u);
  EXPECT_TRUE(SameBytes(floppies_.Read(crowded, "KEEP.DAT"), keep));
  EXPECT_FALSE(floppies_.Read(crowded, "ARCH.DIV").has_value());
  EXPECT_TRUE(SameBytes(floppies_.Read(disk2, "ARCH.DIV"),
                        PieceHeader(2, true) + source_.substr(k360KFreeBytes)));
}

TEST_F(SpanWriterTest, EmptyDriveAtThePromptIsAskedForAgain) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  std::string disk2 = floppies_.Make360K("disk2.img", 2);
  floppies_.Insert(disk1);
  std::string source = PutSource(k360KFreeBytes + 1);
  ActingUser user;
  user.Expect(DialogResult::Yes, kFull2,
              [&] { std::filesystem::remove(home_.FloppyImageHostPath()); });
  user.Expect(DialogResult::Yes, kFull2, [&] { floppies_.Insert(disk2); });

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Spanned);
  EXPECT_TRUE(SameBytes(floppies_.Read(disk2, "ARCH.DIV"),
                        PieceHeader(2, true) + source_.substr(k360KFreeBytes)));
}

TEST_F(SpanWriterTest, NoInTheMiddleLeavesEarlierPiecesUnmarked) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  std::string disk2 = floppies_.Make360K("disk2.img", 2);
  floppies_.Insert(disk1);
  std::string source = PutSource(3 * k360KFreeBytes);
  ActingUser user;
  user.Expect(DialogResult::Yes, kFull2, [&] { floppies_.Insert(disk2); });
  user.Expect(DialogResult::No, kFull3);

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Cancelled);

  EXPECT_TRUE(SameBytes(floppies_.Read(disk1, "ARCH.DIV"), source_.substr(0, k360KFreeBytes)));
  EXPECT_TRUE(SameBytes(floppies_.Read(disk2, "ARCH.DIV"),
                        PieceHeader(2, false) + source_.substr(k360KFreeBytes, kLaterPieceData)));
  EXPECT_TRUE(SameBytes(test::ReadHostFile(home_.HostPathOf("archive.lzh")), source_));
}

TEST_F(SpanWriterTest, SameFloppyAnsweredYesAgainIsRefused) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  std::string disk2 = floppies_.Make360K("disk2.img", 2);
  std::string disk3 = floppies_.Make360K("disk3.img", 3);
  floppies_.Insert(disk1);
  std::string source = PutSource(2 * k360KFreeBytes);
  ActingUser user;
  user.Expect(DialogResult::Yes, kFull2);  // floppy 1 still in the drive
  user.Expect(DialogResult::Yes, kFull2, [&] { floppies_.Insert(disk2); });
  user.Expect(DialogResult::Yes, kFull3);  // floppy 2 still in the drive
  user.Expect(DialogResult::Yes, kFull3, [&] { floppies_.Insert(disk1); });  // an earlier one
  user.Expect(DialogResult::Yes, kFull3, [&] { floppies_.Insert(disk3); });

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Spanned);

  EXPECT_TRUE(SameBytes(floppies_.Read(disk1, "ARCH.DIV"), source_.substr(0, k360KFreeBytes)));
  EXPECT_TRUE(SameBytes(floppies_.Read(disk2, "ARCH.DIV"),
                        PieceHeader(2, false) + source_.substr(k360KFreeBytes, kLaterPieceData)));
  EXPECT_TRUE(SameBytes(floppies_.Read(disk3, "ARCH.DIV"),
                        PieceHeader(3, true) + source_.substr(k360KFreeBytes + kLaterPieceData)));
}

TEST_F(SpanWriterTest, FreshCopyOfTheSameBlankImageIsAccepted) {
  std::string blank = floppies_.Make360K("blank.img", 0xABCD0001);
  std::string disk1 = floppies_.Copy(blank, "disk1.img");
  std::string disk2 = floppies_.Copy(blank, "disk2.img");  // same serial, no piece
  floppies_.Insert(disk1);
  std::string source = PutSource(k360KFreeBytes + 4096);
  ActingUser user;
  user.Expect(DialogResult::Yes, kFull2, [&] { floppies_.Insert(disk2); });

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Spanned);
  EXPECT_EQ(user.Shown().size(), 1u);
  EXPECT_TRUE(SameBytes(floppies_.Read(disk2, "ARCH.DIV"),
                        PieceHeader(2, true) + source_.substr(k360KFreeBytes)));
}

TEST_F(SpanWriterTest, ArchiveThatFitsAfterTheDeletionsGoesOnTheFloppyWhole) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  floppies_.Put(disk1, "ARCHIVE.LZH", RandomBytes(200000, 3));
  floppies_.Put(disk1, "ARCH.DIV", RandomBytes(50000, 4));
  floppies_.Put(disk1, "PELKO.INF", "old");
  floppies_.Insert(disk1);
  std::string source = PutSource(300000);  // more than was free before the deletions
  ActingUser user;                         // no prompt at all

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::WrittenWhole);

  EXPECT_TRUE(SameBytes(floppies_.Read(disk1, "ARCHIVE.LZH"), source_));
  EXPECT_FALSE(floppies_.Read(disk1, "ARCH.DIV").has_value());
  EXPECT_FALSE(floppies_.Read(disk1, "PELKO.INF").has_value());
  EXPECT_FALSE(test::HostPathExists(home_.HostPathOf("arch.div")));
  floppies_.ExpectSound(disk1);
}

TEST_F(SpanWriterTest, ArchiveOfExactlyTheFreeSpaceStillFitsWhole) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  floppies_.Insert(disk1);
  std::string source = PutSource(k360KFreeBytes);
  ActingUser user;
  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::WrittenWhole);
  EXPECT_TRUE(SameBytes(floppies_.Read(disk1, "ARCHIVE.LZH"), source_));
}

TEST_F(SpanWriterTest, EarlierBackupFilesAreDeletedFromFloppyOne) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  std::string disk2 = floppies_.Make360K("disk2.img", 2);
  floppies_.Put(disk1, "ARCHIVE.LZH", RandomBytes(100000, 3));
  floppies_.Put(disk1, "PELKO.INF", "old");
  floppies_.Put(disk1, "OTHER.TXT", "kept");
  floppies_.Insert(disk1);
  std::string source = PutSource(k360KFreeBytes + 10);
  ActingUser user;
  user.Expect(DialogResult::Yes, kFull2, [&] { floppies_.Insert(disk2); });

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Spanned);

  EXPECT_FALSE(floppies_.Read(disk1, "ARCHIVE.LZH").has_value());
  EXPECT_FALSE(floppies_.Read(disk1, "PELKO.INF").has_value());
  EXPECT_TRUE(SameBytes(floppies_.Read(disk1, "OTHER.TXT"), "kept"));
  EXPECT_TRUE(
      SameBytes(floppies_.Read(disk1, "ARCH.DIV"), source_.substr(0, k360KFreeBytes - 1024)));
}

// --- failures are shown, never silent ---------------------------------------

TEST_F(SpanWriterTest, StagingFileThatCannotBeCreatedIsReported) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  floppies_.Insert(disk1);
  std::filesystem::create_directory(home_.HostPathOf("arch.div"));  // in the way
  std::string source = PutSource(k360KFreeBytes + 10);
  ActingUser user;
  user.Expect(DialogResult::Ok, "ファイル C:\\PELKO\\arch.div を作成できませんでした。");

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Failed);
  EXPECT_EQ(user.Shown()[0].buttons, test::MessageBoxButtons::Ok);
  EXPECT_FALSE(floppies_.Read(disk1, "ARCH.DIV").has_value());
}

TEST_F(SpanWriterTest, SourceThatCannotBeOpenedIsReportedAndTheFloppyKept) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  floppies_.Put(disk1, "ARCHIVE.LZH", "previous backup");
  floppies_.Insert(disk1);
  ActingUser user;
  user.Expect(DialogResult::Ok, "ファイル C:\\PELKO\\archive.lzh を開けませんでした。");

  EXPECT_EQ(WriteSpannedArchive(home_.WindowsPathOf("archive.lzh")), SpanWriteResult::Failed);
  EXPECT_TRUE(SameBytes(floppies_.Read(disk1, "ARCHIVE.LZH"), "previous backup"));
}

TEST_F(SpanWriterTest, PieceThatCannotBeMovedShowsTheSystemErrorAndAsksNothing) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  ASSERT_EQ(chmod(disk1.c_str(), 0444), 0);  // the write-protect tab
  floppies_.Insert(disk1);
  std::string source = PutSource(k360KFreeBytes + 10);
  ActingUser user;
  user.Expect(DialogResult::Ok, "このメディアは書き込み禁止になっています。");

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Failed);
  EXPECT_EQ(user.Shown().size(), 1u);
  EXPECT_FALSE(floppies_.Read(disk1, "ARCH.DIV").has_value());
}

TEST_F(SpanWriterTest, SetStopsAtFloppy127WithAMessage) {
  std::string blank = floppies_.MakeTiny("blank.img", 0x127);
  constexpr std::size_t kTinyFree = 22528;
  constexpr std::size_t kTinyLaterData = (kTinyFree - 2) / 512 * 512;
  std::vector<std::string> disks(128);
  disks[1] = floppies_.Copy(blank, "disk1.img");
  floppies_.Insert(disks[1]);
  std::string source = PutSource(kTinyFree + 126 * kTinyLaterData + 1);
  ActingUser user;
  for (int disk = 2; disk <= 127; ++disk) {
    std::string prompt =
        "ディスクが一杯です。" + std::to_string(disk) + " 枚目のディスクを入れてください。";
    user.Expect(DialogResult::Yes, prompt, [this, &disks, blank, disk] {
      disks[disk] = floppies_.Copy(blank, "disk" + std::to_string(disk) + ".img");
      floppies_.Insert(disks[disk]);
    });
  }
  user.Expect(DialogResult::Ok, "127 枚を超える");

  EXPECT_EQ(WriteSpannedArchive(source), SpanWriteResult::Failed);

  EXPECT_EQ(user.Shown().size(), 127u);
  std::size_t offset127 = kTinyFree + 125 * kTinyLaterData;
  EXPECT_TRUE(SameBytes(floppies_.Read(disks[127], "ARCH.DIV"),
                        PieceHeader(127, false) + source_.substr(offset127, kTinyLaterData)));
}

}  // namespace
}  // namespace pelko::archive
