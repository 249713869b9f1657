// The pelko-floppy command, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "oracle.h"
#include "platform/volume_services.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "text/win_error.h"

namespace pelko::fat::test {
namespace {

using pelko::test::ScopedEnv;
using pelko::test::ShellQuote;
using pelko::test::TempFolder;

ToolRun Floppy(const std::string& arguments) {
  return RunTool("env -u PELKO_DRIVE_A " +
                 ShellQuote(std::string(PELKO_BIN_DIR) + "/pelko-floppy") + " " + arguments);
}

std::string LinkTarget(const std::string& path) {
  char buffer[4096];
  ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
  return n < 0 ? "" : std::string(buffer, static_cast<std::size_t>(n));
}

TEST(PelkoFloppy, FormatMakesAnImageEveryToolAcceptsWithItsLabel) {
  TempFolder folder;
  std::string img = folder.Sub("x.img");
  ToolRun r = Floppy("format " + ShellQuote(img) + " --label DISK1 --serial 1234-ABCD");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(FsckProblems(img), "");
  EXPECT_EQ(BlkidLabel(img), "DISK1");
  EXPECT_EQ(BlkidSerial(img), "1234-ABCD");
  ToolRun mdir = RunTool("mdir -i " + ShellQuote(img) + " ::");
  EXPECT_EQ(mdir.exitCode, 0);
  EXPECT_NE(mdir.output.find("Volume in drive : is DISK1"), std::string::npos) << mdir.output;
  EXPECT_EQ(Floppy("info " + ShellQuote(img)).output,
            "label:  DISK1\nserial: 1234-ABCD\nfree:   1457664 bytes\ntotal:  1457664 bytes\n");
}

TEST(PelkoFloppy, EveryStandardSizeFormatsAndOthersAreRefusedInOneLine) {
  TempFolder folder;
  for (const char* size : {"160", "180", "320", "360", "720", "1200", "1440", "2880"}) {
    std::string img = folder.Sub(std::string(size) + ".img");
    ASSERT_EQ(Floppy("format " + ShellQuote(img) + " --size " + size).exitCode, 0) << size;
    EXPECT_EQ(FsckProblems(img), "") << size;
  }
  ToolRun r = Floppy("format " + ShellQuote(folder.Sub("odd.img")) + " --size 1000");
  EXPECT_NE(r.exitCode, 0);
  EXPECT_EQ(r.output, "pelko-floppy: unsupported size 1000 (160 180 320 360 720 1200 1440 2880)\n");
}

TEST(PelkoFloppy, LabelsAreTakenAsUtf8AndStoredInShiftJis) {
  TempFolder folder;
  std::string img = folder.Sub("x.img");
  ASSERT_EQ(Floppy("format " + ShellQuote(img)).exitCode, 0);
  ASSERT_EQ(Floppy("label " + ShellQuote(img) + " 'テスト01'").exitCode, 0);
  EXPECT_EQ(BlkidLabel(img),
            "\x83\x65\x83\x58\x83\x67"
            "01");
  EXPECT_NE(Floppy("info " + ShellQuote(img)).output.find("label:  テスト01\n"), std::string::npos);
  ToolRun tooLong = Floppy("label " + ShellQuote(img) + " ABCDEFGHIJKL");
  EXPECT_EQ(tooLong.exitCode, 1);
  EXPECT_EQ(tooLong.output, "pelko-floppy: the label is longer than 11 bytes in Shift-JIS\n");
  EXPECT_EQ(Floppy("label " + ShellQuote(img) + " 'A*B'").exitCode, 1);
  ASSERT_EQ(Floppy("label " + ShellQuote(img)).exitCode, 0);
  EXPECT_EQ(BlkidLabel(img), "");
  EXPECT_EQ(FsckProblems(img), "");
}

TEST(PelkoFloppy, LsShowsFilesAndFolders) {
  TempFolder folder;
  std::string img = folder.Sub("x.img");
  ASSERT_EQ(Floppy("format " + ShellQuote(img)).exitCode, 0);
  WriteBytes(folder.Sub("a.bin"), RandomBytes(1234, 1));
  McopyIn(img, folder.Sub("a.bin"), "ARCHIVE.LZH");
  ASSERT_EQ(RunTool("mmd -i " + ShellQuote(img) + " ::SUB").exitCode, 0);
  McopyIn(img, folder.Sub("a.bin"), "SUB/Long Name.txt");
  ToolRun r = Floppy("ls " + ShellQuote(img));
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("      1234  "), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("  ARCHIVE.LZH\n"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("     <DIR>  "), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("  SUB/Long Name.txt\n"), std::string::npos) << r.output;
}

TEST(PelkoFloppy, ABadImageIsOneErrorLine) {
  TempFolder folder;
  WriteBytes(folder.Sub("junk.img"), RandomBytes(5000, 2));
  ToolRun r = Floppy("info " + ShellQuote(folder.Sub("junk.img")));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1) << r.output;
  // A volume with one broken field says which.
  ASSERT_EQ(Floppy("format " + ShellQuote(folder.Sub("x.img"))).exitCode, 0);
  std::vector<std::uint8_t> image = ReadBytes(folder.Sub("x.img"));
  image[16] = 0;  // no FATs
  WriteBytes(folder.Sub("x.img"), image);
  EXPECT_EQ(Floppy("info " + ShellQuote(folder.Sub("x.img"))).output,
            "pelko-floppy: " + folder.Sub("x.img") +
                ": not a FAT12/16 volume: the number of FATs is not 1 to 4\n");
  EXPECT_EQ(Floppy("ls " + ShellQuote(folder.Sub("missing.img"))).exitCode, 1);
  EXPECT_EQ(Floppy("frobnicate").exitCode, 2);
}

TEST(PelkoFloppy, InsertAndEjectSwapTheLinkDriveAReads) {
  TempFolder folder;
  std::string home = folder.Sub("home");
  ASSERT_EQ(::mkdir(home.c_str(), 0755), 0);
  std::string one = folder.Sub("one.img");
  std::string two = folder.Sub("two.img");
  ASSERT_EQ(Floppy("format " + ShellQuote(one) + " --label ONE").exitCode, 0);
  ASSERT_EQ(Floppy("format " + ShellQuote(two) + " --label TWO").exitCode, 0);

  ScopedEnv pelkoHome("PELKO_HOME", home);
  ScopedEnv noDrive("PELKO_DRIVE_A", std::nullopt);
  ToolRun r = Floppy("insert " + ShellQuote(one));
  ASSERT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(r.output, "");
  EXPECT_EQ(LinkTarget(home + "/A.img"), one);
  win::VolumeInformation info;
  ASSERT_TRUE(win::GetVolumeInformation("a:\\", info));
  EXPECT_EQ(info.label, "ONE");
  EXPECT_NE(Floppy("info").output.find("label:  ONE\n"), std::string::npos);

  ASSERT_EQ(Floppy("insert " + ShellQuote(two)).exitCode, 0);
  ASSERT_TRUE(win::GetVolumeInformation("a:\\", info));
  EXPECT_EQ(info.label, "TWO");

  ASSERT_EQ(Floppy("eject").exitCode, 0);
  EXPECT_FALSE(pelko::test::HostPathExists(home + "/A.img"));
  EXPECT_FALSE(win::GetVolumeInformation("a:\\", info));
  EXPECT_EQ(win::GetLastError(), win::ERROR_NOT_READY);
  EXPECT_EQ(Floppy("eject").exitCode, 0);
}

TEST(PelkoFloppy, InsertNamesTheProgramFolderByOptionAndWarnsWhenTheVariableWins) {
  TempFolder folder;
  std::string img = folder.Sub("one.img");
  ASSERT_EQ(Floppy("format " + ShellQuote(img)).exitCode, 0);
  ToolRun r = RunTool("PELKO_DRIVE_A=/elsewhere.img " +
                      ShellQuote(std::string(PELKO_BIN_DIR) + "/pelko-floppy") + " insert " +
                      ShellQuote(img) + " --home " + ShellQuote(folder.Path()));
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.output.find("warning: PELKO_DRIVE_A is set"), std::string::npos) << r.output;
  EXPECT_EQ(LinkTarget(folder.Sub("A.img")), img);
}

TEST(PelkoFloppy, ARealImageNamedAImgIsNeverReplacedOrRemoved) {
  TempFolder folder;
  std::string real = folder.Sub("A.img");
  ASSERT_EQ(Floppy("format " + ShellQuote(real) + " --label KEEP").exitCode, 0);
  std::string other = folder.Sub("other.img");
  ASSERT_EQ(Floppy("format " + ShellQuote(other)).exitCode, 0);
  EXPECT_EQ(Floppy("insert " + ShellQuote(other) + " --home " + ShellQuote(folder.Path())).exitCode,
            1);
  EXPECT_EQ(Floppy("eject --home " + ShellQuote(folder.Path())).exitCode, 1);
  EXPECT_EQ(BlkidLabel(real), "KEEP");
}

}  // namespace
}  // namespace pelko::fat::test
