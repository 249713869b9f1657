// Damaged floppies (tests/fixtures/fat): our check agrees with fsck.fat on
// every image, listings end, a damaged floppy is never written, and a repair
// leaves sound files alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "fat/fat_check.h"
#include "fat/fat_volume.h"
#include "oracle.h"
#include "platform/file_services.h"
#include "platform/file_stream.h"
#include "platform/volume_services.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "test_images.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::fat::test {
namespace {

using pelko::test::ShellQuote;
using pelko::test::TempFolder;

ToolRun Floppy(const std::string& arguments) {
  return RunTool(ShellQuote(std::string(PELKO_BIN_DIR) + "/pelko-floppy") + " " + arguments);
}

std::size_t LineCount(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Whether a line of a check report begins with `path`: the entry it is about.
bool Named(const std::string& report, const std::string& path) {
  std::istringstream in(report);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(path, 0) == 0) return true;
  }
  return false;
}

// Every file the driver reads whole, by path; each folder entered once.
std::map<std::string, std::vector<std::uint8_t>> ReadableFiles(const std::string& image) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  auto device = FileDevice::Open(image);
  auto volume = FatVolume::Mount(**device);
  std::set<std::uint32_t> entered{0};
  std::vector<Path> folders{{}};
  while (!folders.empty()) {
    Path folder = folders.back();
    folders.pop_back();
    auto items = volume->List(folder);
    if (!items) continue;
    for (const DirectoryItem& item : *items) {
      Path path = folder;
      path.push_back(item.name);
      if (item.entry.IsDirectory()) {
        if (entered.insert(item.entry.firstCluster).second) folders.push_back(path);
      } else if (auto bytes = volume->ReadFile(path)) {
        std::string name;
        for (const std::string& part : path) name += "/" + part;
        files[name] = *bytes;
      }
    }
  }
  return files;
}

TEST(VolumeCheck, AgreesWithFsckOnEveryImageAndEveryListingEnds) {
  const std::vector<std::string> names = FixtureImageNames();
  ASSERT_GE(names.size(), 12u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    TempFolder folder;
    const std::string image = folder.Sub("disk.img");
    CopyFixtureImage(name, image);
    const int fsck = RunTool("fsck.fat -n " + ShellQuote(image)).exitCode;
    EXPECT_EQ(fsck == 0, name.rfind("sound", 0) == 0) << "the fixture is not what its name says";
    ToolRun check = Floppy("check " + ShellQuote(image));
    EXPECT_EQ(check.exitCode, fsck == 0 ? 0 : 1) << check.output;
    // The long-name overflow aborted here; the loops listed without end.
    ToolRun ls = Floppy("ls " + ShellQuote(image));
    EXPECT_EQ(ls.exitCode, 0) << ls.output;
    EXPECT_LT(LineCount(ls.output), 100u) << ls.output;
  }
}

TEST(VolumeCheck, ALoopIsListedOnceAndNamedAsLeftOut) {
  TempFolder folder;
  const std::string image = folder.Sub("disk.img");
  CopyFixtureImage("folder-fan-out", image);
  ToolRun ls = Floppy("ls " + ShellQuote(image) + " 2>&1 >/dev/null");
  EXPECT_NE(ls.output.find("left out F/G00/"), std::string::npos) << ls.output;
  EXPECT_NE(ls.output.find("left out F/G/F11/"), std::string::npos) << ls.output;
}

TEST(VolumeCheck, RepairLeavesWhatFsckCallsCleanAndSoundFilesAlone) {
  for (const std::string& name : FixtureImageNames()) {
    if (name.rfind("sound", 0) == 0) continue;
    SCOPED_TRACE(name);
    TempFolder folder;
    const std::string image = folder.Sub("disk.img");
    CopyFixtureImage(name, image);
    const auto before = ReadableFiles(image);
    ToolRun repair = Floppy("check --repair " + ShellQuote(image));
    EXPECT_EQ(repair.exitCode, 1) << repair.output;

    auto device = FileDevice::Open(image);
    auto report = CheckVolume(**device);
    ASSERT_TRUE(report.ok());
    EXPECT_TRUE(report->SafeToWrite());
    if (name == "lfn-order-zero") {
      // A broken long name is only reported: the short entry stands.
      ASSERT_EQ(report->problems.size(), 1u);
      EXPECT_EQ(report->problems[0].kind, ProblemKind::StrayLongName);
    } else {
      EXPECT_TRUE(report->Sound()) << Floppy("check " + ShellQuote(image)).output;
      EXPECT_EQ(FsckProblems(image), "");
    }
    const auto after = ReadableFiles(image);
    for (const auto& [path, bytes] : before) {
      if (Named(repair.output, path)) continue;  // damaged, and mended
      ASSERT_TRUE(after.count(path)) << path;
      EXPECT_EQ(after.at(path), bytes) << path;
    }
  }
}

// Every kind of write through drive A:, as the tool makes them, in an order
// in which each works on a sound floppy.
const std::vector<std::pair<const char*, bool (*)()>> kWrites = {
    {"create", [] { return win::OpenFile("A:\\NEW.TXT", win::OpenMode::CreateAlways) != nullptr; }},
    {"rewrite",
     [] {
       auto s = win::OpenFile("A:\\HELLO.TXT", win::OpenMode::ReadWrite);
       const std::byte b[1] = {std::byte{'x'}};
       return s && s->Write(b) && s->Close();
     }},
    {"rename", [] { return win::MoveFile("A:\\HELLO.TXT", "A:\\DEEP\\HELLO.TXT"); }},
    {"delete", [] { return win::DeleteFile("A:\\DEEP\\HELLO.TXT"); }},
    {"make folder", [] { return win::CreateDirectory("A:\\NEWDIR"); }},
    {"label", [] { return win::SetVolumeLabel("A:\\", "NEWLABEL"); }},
    {"write time", [] { return win::SetFileLastWriteTime("A:\\NEW.TXT", 1000000000); }},
};

TEST(VolumeCheck, ACrossLinkedFloppyIsNeverWrittenLostClustersAreNoHindrance) {
  for (const char* name :
       {"cross-linked", "chain-loop", "folder-self-loop", "lost-clusters", "fat-copies-differ"}) {
    SCOPED_TRACE(name);
    const bool damaged =
        std::string(name) != "lost-clusters" && std::string(name) != "fat-copies-differ";
    TempFolder folder;
    const std::string image = folder.Sub("disk.img");
    CopyFixtureImage(name, image);
    pelko::test::ScopedEnv drive("PELKO_DRIVE_A", image);
    const std::vector<std::uint8_t> bytes = ReadBytes(image);
    for (const auto& [what, write] : kWrites) {
      SCOPED_TRACE(what);
      win::SetLastError(win::ERROR_SUCCESS);
      if (damaged) {
        EXPECT_FALSE(write());
        EXPECT_EQ(win::GetLastError(), win::ERROR_FILE_CORRUPT);
      } else {
        EXPECT_TRUE(write()) << win::GetLastError();
      }
    }
    if (damaged) {
      EXPECT_TRUE(ReadBytes(image) == bytes) << "the damaged floppy was changed";
    }
  }
  // The user reads why, in the system's words.
  EXPECT_EQ(cp932::ToUtf8(win::SystemErrorText(win::ERROR_FILE_CORRUPT)).value_or(""),
            "ファイルまたはディレクトリが壊れているため、読み取ることができません。\r\n");
}

TEST(VolumeCheck, ABrokenLongNameSequenceGivesTheShortName) {
  TempFolder folder;
  const std::string image = folder.Sub("disk.img");
  CopyFixtureImage("lfn-order-zero", image);
  auto device = FileDevice::Open(image);
  auto volume = FatVolume::Mount(**device);
  auto items = volume->List({});
  ASSERT_TRUE(items.ok());
  ASSERT_EQ(items->size(), 1u);
  EXPECT_EQ((*items)[0].name, "HELLO.TXT");
}

}  // namespace
}  // namespace pelko::fat::test
