// Whether a backup replaces the floppy's archive or offers to split it, on
// real 360K images: an archive exactly as large as the free space plus the
// old archive fits, one byte more does not, a smaller one always fits.
#include <gtest/gtest.h>

#include "backup_restore_fixture.h"
#include "res/texts_backup_restore.h"

namespace pelko::archive::testing {
namespace {

using Names = std::vector<std::string>;

class FitTest : public BackupRestoreTest {
 protected:
  void SetUp() override {
    WriteOnC("data/docs/a.txt", std::string(4000, 'a'));
    WriteOnC("data/docs/b.bin", Noise(60000, 31));
    WriteOnC("data/docs/sub/c.bin", Noise(25000, 32));
    WriteList("DISK1", {"C:\\data\\docs"});
    newSize_ = MeasureArchive();
  }

  // The size of the archive a backup builds from this tree, by a backup to a
  // large floppy (the archive of one tree is the same each time).
  std::uint32_t MeasureArchive() {
    std::string large = MakeFloppy("measure.img", "DISK1", 1440);
    Insert(large);
    PressCompress();
    Answer(res::kConfirmBackup, MessageBoxButtons::YesNo, DialogResult::Yes);
    RunMainWindow();
    std::optional<std::string> archive = ReadFromFloppy(large, "ARCHIVE.LZH");
    EXPECT_TRUE(archive);
    return archive ? static_cast<std::uint32_t>(archive->size()) : 0;
  }

  // A 360K floppy DISK1 whose free bytes plus its old archive `oldName` come
  // to `total`: a filler file takes whole clusters, the old archive the rest.
  std::string ArrangeFloppy(const std::string& oldName, std::uint32_t total) {
    std::string image = MakeFloppy("disk1.img", "DISK1");
    constexpr std::int64_t kCluster = 1024;
    const std::int64_t blankFree = static_cast<std::int64_t>(FloppyFreeBytes(image));
    EXPECT_LE(total, blankFree);
    const std::int64_t fillerClusters = (blankFree - total) / kCluster;
    const std::int64_t shortfall = total - blankFree + fillerClusters * kCluster;  // in (-1024, 0]
    const std::int64_t oldSize = 2 * kCluster + shortfall;
    if (fillerClusters > 0) PutOnFloppy(image, "FILLER.BIN", Noise(fillerClusters * kCluster, 33));
    oldArchive_ = Noise(static_cast<std::size_t>(oldSize), 34);
    PutOnFloppy(image, oldName, oldArchive_);
    EXPECT_EQ(static_cast<std::int64_t>(FloppyFreeBytes(image)) + oldSize, total);
    Insert(image);
    return image;
  }

  void BackUp() {
    PressCompress();
    Answer(res::kConfirmBackup, MessageBoxButtons::YesNo, DialogResult::Yes);
  }

  void ExpectArchiveReplaced(const std::string& image) {
    EXPECT_EQ(FloppyFiles(image), (Names{"ARCHIVE.LZH", "FILLER.BIN"}));
    std::optional<std::string> archive = ReadFromFloppy(image, "ARCHIVE.LZH");
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->size(), newSize_);
    EXPECT_FALSE(WorkingCopyExists());
    ExpectFloppySound(image);
  }

  void RefuseSplit() {
    Answer("ディスクの空きスペースが足りません。\n空フロッピー 1 枚に分割して保存しますか？",
           MessageBoxButtons::YesNo, DialogResult::No);
  }

  std::uint32_t newSize_ = 0;
  std::string oldArchive_;
};

TEST_F(FitTest, ArchiveOfFreeBytesPlusOldArchiveLzhFits) {
  std::string image = ArrangeFloppy("ARCHIVE.LZH", newSize_);
  BackUp();
  RunMainWindow();
  ExpectScriptDone();
  ExpectArchiveReplaced(image);
}

TEST_F(FitTest, OneByteMoreThanFreeBytesPlusOldArchiveLzhIsOfferedASplit) {
  std::string image = ArrangeFloppy("ARCHIVE.LZH", newSize_ - 1);
  std::string before = ImageBytes(image);
  BackUp();
  RefuseSplit();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(ImageBytes(image), before);
  EXPECT_EQ(ReadStored("archive.lzh").value_or("").size(), newSize_);  // the working copy stays
}

TEST_F(FitTest, OldSpanPieceCountsLikeAnOldArchive) {
  std::string image = ArrangeFloppy("ARCH.DIV", newSize_);
  BackUp();
  RunMainWindow();
  ExpectScriptDone();
  ExpectArchiveReplaced(image);  // the piece is gone
}

TEST_F(FitTest, OneByteMoreThanFreeBytesPlusOldSpanPieceIsOfferedASplit) {
  std::string image = ArrangeFloppy("ARCH.DIV", newSize_ - 1);
  std::string before = ImageBytes(image);
  BackUp();
  RefuseSplit();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(ImageBytes(image), before);
}

TEST_F(FitTest, SmallerArchiveFitsOnAFullFloppy) {
  std::string image = MakeFloppy("disk1.img", "DISK1");
  const std::uint32_t oldSize = newSize_ + 5000;
  const std::uint32_t oldClusters = (oldSize + 1023) / 1024;
  PutOnFloppy(image, "FILLER.BIN", Noise(k360KFreeBytes - oldClusters * 1024, 35));
  PutOnFloppy(image, "ARCHIVE.LZH", Noise(oldSize, 36));
  ASSERT_EQ(FloppyFreeBytes(image), 0u);
  Insert(image);
  BackUp();
  RunMainWindow();
  ExpectScriptDone();
  ExpectArchiveReplaced(image);
}

TEST_F(FitTest, ArchiveBeyond127FloppiesIsRefusedWithTheFloppyUntouched) {
  // 12 data sectors of 512 bytes: 127 such floppies hold less than the archive.
  WriteOnC("data/docs/big.bin", Noise(127 * 6144, 37));
  std::string image = MakeTinyFloppy("tiny.img", "DISK1");
  PutOnFloppy(image, "ARCHIVE.LZH", "old");
  Insert(image);
  std::string before = ImageBytes(image);
  BackUp();
  Answer(res::kArchiveTooLargeForFloppySet, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(ImageBytes(image), before);
}

}  // namespace
}  // namespace pelko::archive::testing
