#include "archive/span_joiner.h"

#include <gtest/gtest.h>

#include <vector>

#include "archive/span_writer.h"
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

std::string InsertPrompt(int disk) {
  return std::to_string(disk) + " 枚目のディスクを入れてください。";
}

class SpanJoinerTest : public ::testing::Test {
 protected:
  // Writes an archive of `size` bytes over blank 360K floppies; their images.
  std::vector<std::string> WriteSet(std::size_t size, int floppies) {
    std::vector<std::string> disks;
    for (int disk = 1; disk <= floppies; ++disk) {
      disks.push_back(floppies_.Make360K("set" + std::to_string(disk) + ".img",
                                         static_cast<std::uint32_t>(0x5E70000 + disk)));
    }
    archive_ = RandomBytes(size, static_cast<std::uint32_t>(size));
    test::WriteHostFile(home_.HostPathOf("archive.lzh"), archive_);
    floppies_.Insert(disks[0]);
    ActingUser writer;
    for (int disk = 2; disk <= floppies; ++disk) {
      writer.Expect(DialogResult::Yes, "ディスクが一杯です。" + InsertPrompt(disk),
                    [this, &disks, disk] { floppies_.Insert(disks[disk - 1]); });
    }
    EXPECT_EQ(WriteSpannedArchive(home_.WindowsPathOf("archive.lzh")), SpanWriteResult::Spanned);
    test::WriteHostFile(home_.HostPathOf("archive.lzh"), "stale working copy");
    floppies_.Insert(disks[0]);
    return disks;
  }

  std::string WorkingCopy() const { return test::ReadHostFile(home_.HostPathOf("archive.lzh")); }

  test::TestProgramFolder home_;
  Floppies floppies_{home_};
  std::string archive_;
};

TEST_F(SpanJoinerTest, TwoFloppiesGiveTheArchiveBackByteForByte) {
  auto disks = WriteSet(k360KFreeBytes + 70000 + 123, 2);  // a last block shorter than 512
  ActingUser user;
  user.Expect(DialogResult::Yes, InsertPrompt(2), [&] { floppies_.Insert(disks[1]); });

  EXPECT_TRUE(JoinSpannedArchive());
  EXPECT_TRUE(SameBytes(WorkingCopy(), archive_));
  ASSERT_EQ(user.Shown().size(), 1u);
  EXPECT_EQ(user.Shown()[0].TextUtf8(), InsertPrompt(2));
  EXPECT_EQ(user.Shown()[0].buttons, test::MessageBoxButtons::YesNo);
  // The scratch copy of the last piece stays behind.
  EXPECT_TRUE(SameBytes(test::ReadHostFile(home_.HostPathOf("Back.div")),
                        floppies_.Read(disks[1], "ARCH.DIV").value_or("")));
}

TEST_F(SpanJoinerTest, ThreeFloppiesGiveTheArchiveBackByteForByte) {
  auto disks = WriteSet(2 * k360KFreeBytes + 9999, 3);
  ActingUser user;
  user.Expect(DialogResult::Yes, InsertPrompt(2), [&] { floppies_.Insert(disks[1]); });
  user.Expect(DialogResult::Yes, InsertPrompt(3), [&] { floppies_.Insert(disks[2]); });

  EXPECT_TRUE(JoinSpannedArchive());
  EXPECT_TRUE(SameBytes(WorkingCopy(), archive_));
}

TEST_F(SpanJoinerTest, WrongFloppyIsAskedForAgainUntilTheRightOne) {
  auto disks = WriteSet(2 * k360KFreeBytes + 9999, 3);
  std::string blank = floppies_.Make360K("blank.img", 99);
  ActingUser user;
  user.Expect(DialogResult::Yes, InsertPrompt(2), [&] { floppies_.Insert(disks[2]); });
  user.Expect(DialogResult::Yes, InsertPrompt(2), [&] { floppies_.Insert(blank); });
  user.Expect(DialogResult::Yes, InsertPrompt(2), [&] { floppies_.Insert(disks[1]); });
  user.Expect(DialogResult::Yes, InsertPrompt(3));  // floppy 2 is still in
  user.Expect(DialogResult::Yes, InsertPrompt(3), [&] { floppies_.Insert(disks[2]); });

  EXPECT_TRUE(JoinSpannedArchive());
  EXPECT_TRUE(SameBytes(WorkingCopy(), archive_));
}

TEST_F(SpanJoinerTest, NoAtAPromptFailsAndKeepsWhatWasJoined) {
  auto disks = WriteSet(k360KFreeBytes + 5000, 2);
  ActingUser user;
  user.Expect(DialogResult::No, InsertPrompt(2));

  EXPECT_FALSE(JoinSpannedArchive());
  EXPECT_TRUE(SameBytes(WorkingCopy(), archive_.substr(0, k360KFreeBytes)));
}

TEST_F(SpanJoinerTest, AbandonedSetAsksForFurtherFloppiesUntilNo) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  std::string disk2 = floppies_.Make360K("disk2.img", 2);
  std::string head = RandomBytes(1024, 1);
  std::string middle = RandomBytes(512, 2);
  floppies_.Put(disk1, "ARCH.DIV", head);
  floppies_.Put(disk2, "ARCH.DIV", PieceHeader(2, false) + middle);  // never marked last
  floppies_.Insert(disk1);
  ActingUser user;
  user.Expect(DialogResult::Yes, InsertPrompt(2), [&] { floppies_.Insert(disk2); });
  user.Expect(DialogResult::Yes, InsertPrompt(3));
  user.Expect(DialogResult::Yes, InsertPrompt(3), [&] { floppies_.Insert(disk1); });
  user.Expect(DialogResult::No, InsertPrompt(3));

  EXPECT_FALSE(JoinSpannedArchive());
  EXPECT_TRUE(SameBytes(WorkingCopy(), head + middle));
}

TEST_F(SpanJoinerTest, FloppyOneWithoutAPieceFailsWithoutAsking) {
  std::string blank = floppies_.Make360K("blank.img", 1);
  floppies_.Insert(blank);
  test::WriteHostFile(home_.HostPathOf("archive.lzh"), "untouched");
  ActingUser user;

  EXPECT_FALSE(JoinSpannedArchive());
  EXPECT_EQ(WorkingCopy(), "untouched");
  EXPECT_TRUE(user.Shown().empty());
}

TEST_F(SpanJoinerTest, EmptyDriveFailsWithoutAsking) {
  ActingUser user;
  EXPECT_FALSE(JoinSpannedArchive());
  EXPECT_TRUE(user.Shown().empty());
}

TEST_F(SpanJoinerTest, PieceTooShortForAHeaderIsNotTaken) {
  std::string disk1 = floppies_.Make360K("disk1.img", 1);
  std::string stub = floppies_.Make360K("stub.img", 2);
  std::string disk2 = floppies_.Make360K("disk2.img", 3);
  floppies_.Put(disk1, "ARCH.DIV", "first");
  floppies_.Put(stub, "ARCH.DIV", std::string(1, '\x02'));
  floppies_.Put(disk2, "ARCH.DIV", PieceHeader(2, true) + "second");
  floppies_.Insert(disk1);
  ActingUser user;
  user.Expect(DialogResult::Yes, InsertPrompt(2), [&] { floppies_.Insert(stub); });
  user.Expect(DialogResult::Yes, InsertPrompt(2), [&] { floppies_.Insert(disk2); });

  EXPECT_TRUE(JoinSpannedArchive());
  EXPECT_EQ(WorkingCopy(), "firstsecond");
}

TEST_F(SpanJoinerTest, SetNeverGoesPastFloppy127) {
  std::string blank = floppies_.MakeTiny("blank.img", 7);
  std::string disk1 = floppies_.Copy(blank, "disk1.img");
  floppies_.Put(disk1, "ARCH.DIV", "1");
  floppies_.Insert(disk1);
  std::string expected = "1";
  ActingUser user;
  for (int disk = 2; disk <= 127; ++disk) {
    user.Expect(DialogResult::Yes, InsertPrompt(disk), [this, blank, disk] {
      std::string image = floppies_.Copy(blank, "disk" + std::to_string(disk) + ".img");
      floppies_.Put(image, "ARCH.DIV", PieceHeader(disk, false) + std::to_string(disk));
      floppies_.Insert(image);
    });
    expected += std::to_string(disk);
  }

  EXPECT_FALSE(JoinSpannedArchive());  // and no question for a floppy 128
  EXPECT_EQ(user.Shown().size(), 126u);
  EXPECT_EQ(WorkingCopy(), expected);
}

}  // namespace
}  // namespace pelko::archive
