// Drive A: through the same Windows calls the tool makes, on a real image.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "oracle.h"
#include "platform/file_services.h"
#include "platform/file_stream.h"
#include "platform/volume_services.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/test_program_folder.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::fat::test {
namespace {

using pelko::test::ScopedEnv;
using pelko::test::ShellQuote;
using pelko::test::TestProgramFolder;
namespace win = pelko::win;

class DriveA : public ::testing::Test {
 protected:
  DriveA() : image_(home_.HostPathOf("floppy.img")), drive_("PELKO_DRIVE_A", image_) {
    MakeImage("BACKUP01");
  }

  void MakeImage(const std::string& label) {
    std::string cmd = "rm -f " + ShellQuote(image_) + " && mformat -C -i " + ShellQuote(image_) +
                      " -f 1440 -N 1234ABCD " + (label.empty() ? "" : "-v " + label) + " ::";
    ToolRun r = RunTool(cmd);
    ASSERT_EQ(r.exitCode, 0) << r.output;
  }
  std::string Host(const std::string& name) const { return home_.HostPathOf(name); }
  std::string C(const std::string& name) const { return home_.WindowsPathOf(name); }
  std::string Label() {
    win::VolumeInformation info;
    EXPECT_TRUE(win::GetVolumeInformation("a:\\", info));
    return info.label;
  }
  std::string BootLabel() {
    std::vector<std::uint8_t> bytes = ReadBytes(image_);
    return std::string(bytes.begin() + 43, bytes.begin() + 54);
  }
  std::string RootLabelSlot() {
    // The first byte and the name of the root slot the label was written to.
    std::vector<std::uint8_t> bytes = ReadBytes(image_);
    std::size_t root = 19 * 512;
    return std::string(bytes.begin() + root, bytes.begin() + root + 11);
  }

  TestProgramFolder home_;
  std::string image_;
  ScopedEnv drive_;
};

TEST_F(DriveA, VolumeInformationShowsTheRootLabelTheSerialAndFat) {
  win::VolumeInformation info;
  ASSERT_TRUE(win::GetVolumeInformation("a:\\", info));
  EXPECT_EQ(info.label, "BACKUP01");
  EXPECT_EQ(info.serial, 0x1234ABCDu);
  EXPECT_EQ(info.fileSystem, "FAT");
}

TEST_F(DriveA, TheBootSectorCopyOfTheLabelIsNotWhatWindowsReports) {
  WriteBytes(Host("boot.txt"), {'B', 'O', 'O', 'T', 'L', 'B', 'L', ' ', ' ', ' ', ' '});
  ToolRun r = RunTool("dd if=" + ShellQuote(Host("boot.txt")) + " of=" + ShellQuote(image_) +
                      " bs=1 seek=43 conv=notrunc status=none");
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(Label(), "BACKUP01");
  MakeImage("");
  RunTool("dd if=" + ShellQuote(Host("boot.txt")) + " of=" + ShellQuote(image_) +
          " bs=1 seek=43 conv=notrunc status=none");
  EXPECT_EQ(Label(), "");
}

TEST_F(DriveA, ANewLabelIsUpperCasedAndWrittenWhereEveryToolReadsIt) {
  ASSERT_TRUE(win::SetVolumeLabel("A:\\", "backup02"));
  EXPECT_EQ(Label(), "BACKUP02");
  EXPECT_EQ(BlkidLabel(image_), "BACKUP02");
  EXPECT_EQ(RunTool("mlabel -i " + ShellQuote(image_) + " -s ::").output,
            " Volume label is BACKUP02   \n");
  EXPECT_EQ(BootLabel(), "BACKUP02   ");
  EXPECT_EQ(FsckProblems(image_), "");
}

TEST_F(DriveA, LabelsBreakingWindowsRulesAreRefusedAndChangeNothing) {
  std::vector<std::uint8_t> before = ReadBytes(image_);
  EXPECT_FALSE(win::SetVolumeLabel("A:\\", "ABCDEFGHIJKL"));
  EXPECT_EQ(win::GetLastError(), win::ERROR_LABEL_TOO_LONG);
  EXPECT_FALSE(win::SetVolumeLabel("A:\\", cp932::FromUtf8Literal("日本語のラベル")));
  EXPECT_EQ(win::GetLastError(), win::ERROR_LABEL_TOO_LONG);
  for (const char* bad : {"A.B", "A*B", "A?B", "A/B", "A\\B", "A:B", "A+B", "A,B", "A;B", "A=B",
                          "A[B", "A]B", "A|B", "A<B", "A>B", "A\"B", "A\tB"}) {
    EXPECT_FALSE(win::SetVolumeLabel("A:\\", bad)) << bad;
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_NAME) << bad;
  }
  EXPECT_EQ(ReadBytes(image_), before);
}

TEST_F(DriveA, LabelsWindowsAcceptsAreStoredAsItStoresThem) {
  struct Case {
    std::string given;
    std::string stored;
  };
  const Case cases[] = {
      {"MY DISK", "MY DISK"},
      {"  X", "  X"},
      {"X   ", "X"},
      {"#$%&'()-@^_", "#$%&'()-@^_"},
      {cp932::FromUtf8Literal("ﾃｽﾄ"), cp932::FromUtf8Literal("ﾃｽﾄ")},
      {cp932::FromUtf8Literal("テスト01"), cp932::FromUtf8Literal("テスト01")},
      {cp932::FromUtf8Literal("ａｂｃ"), cp932::FromUtf8Literal("ＡＢＣ")},
      {cp932::FromUtf8Literal("表ソ"), cp932::FromUtf8Literal("表ソ")},  // trail bytes 0x5C
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(win::SetVolumeLabel("A:\\", c.given)) << c.stored;
    EXPECT_EQ(Label(), c.stored);
    EXPECT_EQ(BlkidLabel(image_), c.stored);
    EXPECT_EQ(BootLabel().substr(0, c.stored.size()), c.stored);
    // fsck.fat 4.2 calls a label with leading blanks invalid; Windows keeps them.
    if (c.stored[0] != ' ') {
      EXPECT_EQ(FsckProblems(image_), "") << c.stored;
    }
  }
}

TEST_F(DriveA, ALabelStartingWithE5IsStoredEscapedAndReadBack) {
  const std::string label = cp932::FromUtf8Literal("蕁麻");  // E5 40 96 83
  ASSERT_TRUE(win::SetVolumeLabel("A:\\", label));
  EXPECT_EQ(RootLabelSlot(), std::string("\x05\x40\x96\x83       ", 11));
  EXPECT_EQ(Label(), label);
  EXPECT_EQ(BlkidLabel(image_), label);
  EXPECT_EQ(FsckProblems(image_), "");
}

TEST_F(DriveA, AnEmptyOrBlankLabelRemovesItFromBothPlaces) {
  for (const char* none : {"", "   "}) {
    ASSERT_TRUE(win::SetVolumeLabel("A:\\", none));
    EXPECT_EQ(Label(), "");
    EXPECT_EQ(static_cast<std::uint8_t>(RootLabelSlot()[0]), 0xE5);
    EXPECT_EQ(BootLabel(), "NO NAME    ");
    EXPECT_EQ(FsckProblems(image_), "");
  }
}

TEST_F(DriveA, FreeSpaceCountsAreTheOnesWindowsGivesAFloppy) {
  win::DiskFreeSpace space;
  ASSERT_TRUE(win::GetDiskFreeSpace("a:\\", space));
  EXPECT_EQ(space.sectorsPerCluster, 1u);
  EXPECT_EQ(space.bytesPerSector, 512u);
  EXPECT_EQ(space.freeClusters, 2847u);
  EXPECT_EQ(space.totalClusters, 2847u);
  WriteBytes(Host("archive.lzh"), RandomBytes(1400000, 1));
  ASSERT_TRUE(win::CopyFile(C("archive.lzh"), "a:\\archive.lzh", false));
  ASSERT_TRUE(win::GetDiskFreeSpace("a:\\", space));
  EXPECT_EQ(space.freeClusters, 112u);
  EXPECT_EQ(MdirFreeClusters(image_, 512), 112u);
}

TEST_F(DriveA, FilesCopiedToAndFromTheFloppyStayByteIdentical) {
  std::vector<std::uint8_t> content = RandomBytes(700001, 2);
  WriteBytes(Host("archive.lzh"), content);
  ASSERT_TRUE(win::CopyFile(C("archive.lzh"), "a:\\archive.lzh", true));
  EXPECT_EQ(FsckProblems(image_), "");
  McopyOut(image_, "ARCHIVE.LZH", Host("mcopied.bin"));
  EXPECT_EQ(ReadBytes(Host("mcopied.bin")), content);
  ASSERT_TRUE(win::CopyFile("A:\\ARCHIVE.LZH", C("back.lzh"), true));
  EXPECT_EQ(ReadBytes(Host("back.lzh")), content);
  EXPECT_EQ(win::ProbeFileSize("A:\\archive.lzh"), 700001u);

  EXPECT_FALSE(win::CopyFile(C("archive.lzh"), "a:\\archive.lzh", true));
  EXPECT_EQ(win::GetLastError(), win::ERROR_FILE_EXISTS);
  std::vector<std::uint8_t> other = RandomBytes(1000, 3);
  WriteBytes(Host("other.lzh"), other);
  ASSERT_TRUE(win::CopyFile(C("other.lzh"), "a:\\archive.lzh", false));
  EXPECT_EQ(MdirNames(image_), std::vector<std::string>{"archive.lzh"});
  EXPECT_EQ(MdirFreeClusters(image_, 512), 2847u - 2);
  EXPECT_EQ(FsckProblems(image_), "");
}

TEST_F(DriveA, MovingTheWorkingCopyOntoTheFloppyCopiesThenDeletes) {
  std::vector<std::uint8_t> content = RandomBytes(5000, 4);
  WriteBytes(Host("archive.lzh"), content);
  ASSERT_TRUE(win::MoveFile(C("archive.lzh"), "a:\\archive.lzh"));
  EXPECT_FALSE(pelko::test::HostPathExists(Host("archive.lzh")));
  McopyOut(image_, "archive.lzh", Host("out.bin"));
  EXPECT_EQ(ReadBytes(Host("out.bin")), content);
  WriteBytes(Host("archive.lzh"), content);
  EXPECT_FALSE(win::MoveFile(C("archive.lzh"), "a:\\ARCHIVE.LZH"));
  EXPECT_EQ(win::GetLastError(), win::ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(pelko::test::HostPathExists(Host("archive.lzh")));
  EXPECT_EQ(FsckProblems(image_), "");
}

TEST_F(DriveA, DeleteAndSizeProbeWorkInEitherLetterCase) {
  WriteBytes(Host("x.bin"), RandomBytes(3000, 5));
  McopyIn(image_, Host("x.bin"), "ARCH.DIV");
  McopyIn(image_, Host("x.bin"), "PELKO.INF");
  McopyIn(image_, Host("x.bin"), "ARCHIVE.LZH");
  EXPECT_EQ(win::ProbeFileSize("A:\\arch.div"), 3000u);
  EXPECT_EQ(win::ProbeFileSize("a:\\ARCH.DIV"), 3000u);
  ASSERT_TRUE(win::DeleteFile("a:\\archive.lzh"));
  ASSERT_TRUE(win::DeleteFile("a:\\PELKO.INF"));
  ASSERT_TRUE(win::DeleteFile("A:\\arch.div"));
  EXPECT_EQ(win::ProbeFileSize("A:\\arch.div"), 0xFFFFFFFFu);
  EXPECT_FALSE(win::DeleteFile("a:\\archive.lzh"));
  EXPECT_EQ(win::GetLastError(), win::ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(MdirNames(image_).empty());
  EXPECT_EQ(MdirFreeClusters(image_, 512), 2847u);
  EXPECT_EQ(FsckProblems(image_), "");
}

TEST_F(DriveA, ACopyTooBigForTheFloppyFailsWithDiskFullAndLeavesNothing) {
  WriteBytes(Host("big.lzh"), RandomBytes(2847 * 512 + 1, 6));
  EXPECT_FALSE(win::CopyFile(C("big.lzh"), "a:\\archive.lzh", false));
  EXPECT_EQ(win::GetLastError(), win::ERROR_DISK_FULL);
  EXPECT_TRUE(MdirNames(image_).empty());
  EXPECT_EQ(MdirFreeClusters(image_, 512), 2847u);
  EXPECT_EQ(FsckProblems(image_), "");
}

TEST_F(DriveA, AStreamWriteFailsAsSoonAsTheDataCannotFit) {
  auto stream = win::OpenFile("a:\\archive.lzh", win::OpenMode::CreateNew);
  ASSERT_TRUE(stream);
  std::vector<std::byte> block(2847 * 512 - 10);
  ASSERT_TRUE(stream->Write(block));
  std::vector<std::byte> more(11);
  EXPECT_FALSE(stream->Write(more));
  EXPECT_EQ(win::GetLastError(), win::ERROR_DISK_FULL);
  std::vector<std::byte> last(10, std::byte{0x42});
  ASSERT_TRUE(stream->Write(last));
  ASSERT_TRUE(stream->Close());
  EXPECT_EQ(win::ProbeFileSize("a:\\archive.lzh"), 2847u * 512);
  EXPECT_EQ(FsckProblems(image_), "");
}

TEST_F(DriveA, AStreamOpenedForReadAndWriteKeepsWhatItDoesNotOverwrite) {
  ASSERT_TRUE(win::WriteWholeFile("a:\\arch.div", "0123456789"));
  auto stream = win::OpenFile("A:\\ARCH.DIV", win::OpenMode::ReadWrite);
  ASSERT_TRUE(stream);
  ASSERT_TRUE(stream->Seek(4));
  const char ab[] = "ab";
  ASSERT_TRUE(stream->Write(std::as_bytes(std::span(ab, 2))));
  ASSERT_TRUE(stream->Close());
  std::string back;
  ASSERT_TRUE(win::ReadWholeFile("a:\\arch.div", back));
  EXPECT_EQ(back, "0123ab6789");
}

TEST_F(DriveA, ASwappedImageIsSeenAtOnce) {
  EXPECT_EQ(Label(), "BACKUP01");
  std::string other = Host("other.img");
  RunTool("mformat -C -i " + ShellQuote(other) + " -f 720 -v SECOND ::");
  ScopedEnv swap("PELKO_DRIVE_A", other);
  EXPECT_EQ(Label(), "SECOND");
}

TEST_F(DriveA, NoImageOrNoFatVolumeIsADriveWithoutADisk) {
  win::VolumeInformation info;
  {
    ScopedEnv missing("PELKO_DRIVE_A", Host("missing.img"));
    EXPECT_FALSE(win::GetVolumeInformation("a:\\", info));
    EXPECT_EQ(win::GetLastError(), win::ERROR_NOT_READY);
    EXPECT_EQ(win::ProbeFileSize("A:\\arch.div"), 0xFFFFFFFFu);
    EXPECT_EQ(win::GetLastError(), win::ERROR_NOT_READY);
  }
  WriteBytes(Host("garbage.img"), RandomBytes(1474560, 7));
  ScopedEnv garbage("PELKO_DRIVE_A", Host("garbage.img"));
  EXPECT_FALSE(win::GetVolumeInformation("a:\\", info));
  EXPECT_EQ(win::GetLastError(), win::ERROR_NOT_READY);
  win::DiskFreeSpace space;
  EXPECT_FALSE(win::GetDiskFreeSpace("a:\\", space));
  EXPECT_EQ(win::GetLastError(), win::ERROR_NOT_READY);
  EXPECT_FALSE(win::DeleteFile("a:\\archive.lzh"));
  EXPECT_EQ(win::GetLastError(), win::ERROR_NOT_READY);
}

TEST_F(DriveA, AnImageInTheProgramFolderIsTheDefaultDrive) {
  ScopedEnv unset("PELKO_DRIVE_A", std::nullopt);
  win::VolumeInformation info;
  EXPECT_FALSE(win::GetVolumeInformation("a:\\", info));
  EXPECT_EQ(win::GetLastError(), win::ERROR_NOT_READY);
  ASSERT_EQ(::symlink(image_.c_str(), home_.FloppyImageHostPath().c_str()), 0);
  EXPECT_EQ(Label(), "BACKUP01");
}

TEST_F(DriveA, AReadOnlyImageIsAWriteProtectedDisk) {
  ASSERT_EQ(::chmod(image_.c_str(), 0444), 0);
  std::vector<std::uint8_t> before = ReadBytes(image_);
  EXPECT_EQ(Label(), "BACKUP01");
  EXPECT_FALSE(win::SetVolumeLabel("A:\\", "OTHER"));
  EXPECT_EQ(win::GetLastError(), win::ERROR_WRITE_PROTECT);
  WriteBytes(Host("x.lzh"), RandomBytes(100, 8));
  EXPECT_FALSE(win::CopyFile(C("x.lzh"), "a:\\archive.lzh", false));
  EXPECT_EQ(win::GetLastError(), win::ERROR_WRITE_PROTECT);
  EXPECT_EQ(ReadBytes(image_), before);
}

TEST_F(DriveA, ListingTheFloppyGivesLongNamesAndFolders) {
  WriteBytes(Host("x.bin"), RandomBytes(10, 9));
  McopyIn(image_, Host("x.bin"), "Long File Name.txt");
  ASSERT_TRUE(win::CreateDirectory("A:\\SUB"));
  std::vector<win::FindData> entries;
  std::size_t leftOut = 1;
  ASSERT_TRUE(win::ListFolder("a:\\", entries, leftOut));
  EXPECT_EQ(leftOut, 0u);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "Long File Name.txt");
  EXPECT_EQ(entries[0].info.size, 10u);
  EXPECT_EQ(entries[1].name, "SUB");
  EXPECT_EQ(entries[1].info.kind, win::EntryKind::Directory);
  EXPECT_EQ(FsckProblems(image_), "");
}

}  // namespace
}  // namespace pelko::fat::test
