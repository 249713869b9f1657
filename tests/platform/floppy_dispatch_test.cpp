// The file services between host drives and drive A: on a real FAT image,
// checked with mtools, which no one here wrote.
#include <gtest/gtest.h>

#include "platform/file_services.h"
#include "platform/volume_services.h"
#include "support/run_command.h"
#include "support/test_program_folder.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

using test::ReadHostFile;
using test::RunCommand;
using test::ShellQuote;
using test::TestProgramFolder;
using test::WriteHostFile;

class FloppyDispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    auto made =
        RunCommand("mkfs.fat -C -n BACKUP1 " + ShellQuote(home_.FloppyImageHostPath()) + " 1440");
    ASSERT_EQ(made.exitCode, 0) << made.output;
  }
  std::string MType(const std::string& name) {
    auto typed = RunCommand("MTOOLS_SKIP_CHECK=1 mtype -i " +
                            ShellQuote(home_.FloppyImageHostPath()) + " ::" + name);
    return typed.exitCode == 0 ? typed.output : "(missing)";
  }
  TestProgramFolder home_;
};

TEST_F(FloppyDispatch, WorkingCopyMovesOntoTheFloppyAndIsGoneFromTheProgramFolder) {
  WriteHostFile(home_.HostPathOf("archive.lzh"), "the archive");
  ASSERT_TRUE(MoveFile(home_.WindowsPathOf("archive.lzh"), "a:\\archive.lzh")) << GetLastError();
  EXPECT_EQ(MType("archive.lzh"), "the archive");
  EXPECT_EQ(ProbeFileSize("A:\\archive.lzh"), 11u);
  EXPECT_EQ(ProbeFileSize(home_.WindowsPathOf("archive.lzh")), 0xFFFFFFFFu);
}

TEST_F(FloppyDispatch, MoveOntoTheFloppyNeverReplaces) {
  WriteHostFile(home_.HostPathOf("archive.lzh"), "new");
  ASSERT_TRUE(CopyFile(home_.WindowsPathOf("archive.lzh"), "A:\\ARCHIVE.LZH", true));
  WriteHostFile(home_.HostPathOf("archive.lzh"), "newer");
  EXPECT_FALSE(MoveFile(home_.WindowsPathOf("archive.lzh"), "a:\\archive.lzh"));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(MType("archive.lzh"), "new");
  EXPECT_EQ(ReadHostFile(home_.HostPathOf("archive.lzh")), "newer");
}

TEST_F(FloppyDispatch, CopyFromTheFloppyBackToTheProgramFolder) {
  WriteHostFile(home_.HostPathOf("arch.div"), std::string(3000, 'd'));
  ASSERT_TRUE(CopyFile(home_.WindowsPathOf("arch.div"), "A:\\arch.div", false));
  ASSERT_TRUE(CopyFile("a:\\arch.div", home_.WindowsPathOf("Back.div"), false));
  EXPECT_EQ(ReadHostFile(home_.HostPathOf("Back.div")), std::string(3000, 'd'));
}

TEST_F(FloppyDispatch, FloppyVolumeAnswersThroughTheDriveRoot) {
  VolumeInformation info;
  ASSERT_TRUE(GetVolumeInformation("a:\\", info)) << GetLastError();
  EXPECT_EQ(info.label, "BACKUP1");
  EXPECT_EQ(info.fileSystem, "FAT");
  DiskFreeSpace space;
  ASSERT_TRUE(GetDiskFreeSpace("a:\\", space));
  EXPECT_EQ(space.bytesPerSector, 512u);
  EXPECT_EQ(space.totalClusters, 2847u);
}

TEST_F(FloppyDispatch, MissingFileOnTheFloppyIsAllOnesAndDeleteSays2) {
  EXPECT_EQ(ProbeFileSize("A:\\arch.div"), 0xFFFFFFFFu);
  EXPECT_FALSE(DeleteFile("a:\\PELKO.INF"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace pelko::win
