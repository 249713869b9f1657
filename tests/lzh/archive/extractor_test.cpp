// Extraction into real folders on drive C: (a temporary host folder).
#include "lzh/archive/extractor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "lzh/archive/memory_stream.h"
#include "lzh/lzh_test_support.h"
#include "support/scripted_message_box_host.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"
#include "text/code_page.h"

namespace pelko::lzh {
namespace {

namespace fs = std::filesystem;
using pelko::test::ReadHostFile;
using pelko::test::ScriptedMessageBoxHost;
using pelko::test::TestProgramFolder;
using pelko::test::WriteHostFile;
using test::ReadFixture;

constexpr std::int64_t kFixtureTime = 1704164646;  // 2024-01-02 03:04:06 UTC

const std::vector<std::string> kTreeListing = {"empty.txt",
                                               "hello.txt",
                                               "tree",
                                               "tree/a",
                                               "tree/a/b",
                                               "tree/a/b/c",
                                               "tree/a/b/c/deep.txt",
                                               "tree/a/x.txt",
                                               "tree/empty_dir",
                                               "tree/ソフト",
                                               "tree/ソフト/表.txt",
                                               "表.txt"};

class Extraction : public ::testing::Test {
 protected:
  // Host folder behind C:\out, and its sibling C:\outside that nothing may touch.
  std::string Out(const std::string& utf8 = {}) const {
    return c_.CDriveHostPath() + "/out" + (utf8.empty() ? "" : "/" + utf8);
  }
  std::string Outside() const { return c_.CDriveHostPath() + "/outside"; }

  void SetUp() override {
    fs::create_directories(Outside());
    WriteHostFile(Outside() + "/keep.txt", "outside\n");
  }

  ExtractReport Run(const std::string& archiveBytes, ExtractOptions options) {
    if (options.targetFolder.empty()) options.targetFolder = "C:\\out";
    MemoryStream stream(archiveBytes);
    return ExtractArchive(stream, options);
  }

  // Everything below a host folder, as relative UTF-8 names.
  static std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    if (!fs::exists(folder)) return names;
    for (const auto& e : fs::recursive_directory_iterator(folder))
      names.push_back(e.path().lexically_relative(folder).string());
    std::sort(names.begin(), names.end());
    return names;
  }

  void ExpectOutsideUntouched() {
    EXPECT_EQ(Listing(Outside()), std::vector<std::string>{"keep.txt"});
    EXPECT_EQ(ReadHostFile(Outside() + "/keep.txt"), "outside\n");
    for (const auto& e : fs::directory_iterator(c_.CDriveHostPath())) {
      const std::string name = e.path().filename().string();
      EXPECT_TRUE(name == "out" || name == "outside" || name == "PELKO")
          << "written outside: " << name;
    }
  }

  static std::int64_t MTime(const std::string& host) {
    struct stat st {};
    if (::lstat(host.c_str(), &st) != 0) return -1;
    return st.st_mtime;
  }

  TestProgramFolder c_;
};

ExtractOptions Defaults() {
  ExtractOptions o;
  o.overwrite = Policy::Never;
  o.createFolder = Policy::Always;
  return o;
}

// The tree fixtures of three writers: level 2, level 0 with 0xFF separators,
// and level 0 with backslashes around CP932 0x5C trail bytes.
class TreeFixture : public Extraction, public ::testing::WithParamInterface<const char*> {};

TEST_P(TreeFixture, ExtractsEveryFileFolderAndTime) {
  const ExtractReport report = Run(ReadFixture(GetParam()), Defaults());
  EXPECT_TRUE(report.Succeeded());
  // 表 and ソ end in 0x5C: split there, they would make other names.
  EXPECT_EQ(Listing(Out()), kTreeListing);
  const auto sha = [&](const std::string& name) {
    return test::Sha256Hex(ReadHostFile(Out(name)));
  };
  EXPECT_EQ(sha("hello.txt"), "b25f636e4720cd0c8bc14830667748606f541f8c691bafdb9fc10b24535f5f2e");
  EXPECT_EQ(sha("表.txt"), "e0143bf84652fda9480eb3a16f59ad5836ccd7a28a2f4d20c11811d1b9ff7217");
  EXPECT_EQ(sha("tree/ソフト/表.txt"),
            "3248e66d74d57403e81b11b7b1a609120deb1ed80a96bc109444c6c3c928ec9a");
  EXPECT_EQ(sha("tree/a/b/c/deep.txt"),
            "00441859948bb09edf55004879d74167e02f8823314fda447307b163fde20bfe");
  EXPECT_EQ(sha("tree/a/x.txt"),
            "45bef695612ef5bd546a1e6f66b31a02bc90f8805a2542bb8d28f86fbb5ca973");
  EXPECT_TRUE(fs::exists(Out("empty.txt")));
  EXPECT_TRUE(fs::is_directory(Out("tree/empty_dir")));
  EXPECT_EQ(MTime(Out("tree/a/x.txt")), kFixtureTime);
  EXPECT_EQ(MTime(Out("tree/empty_dir")), kFixtureTime);
  ExpectOutsideUntouched();
}

INSTANTIATE_TEST_SUITE_P(Writers, TreeFixture,
                         ::testing::Values("lhaunix_h2_lh5_tree.lzh", "lhaunix_h0_lh5_tree.lzh",
                                           "jlha_h0_lh5_tree.lzh", "jlha_h1_lh5_tree.lzh"));

TEST_F(Extraction, SelectedNameTakesItsEntryAndEverythingBelow) {
  ExtractOptions o = Defaults();
  o.selection = {cp932::FromUtf8Literal("tree/ソフト"), "nothing-like-this"};
  const ExtractReport report = Run(ReadFixture("lhaunix_h2_lh5_tree.lzh"), o);
  EXPECT_EQ(Listing(Out()),
            (std::vector<std::string>{"tree", "tree/ソフト", "tree/ソフト/表.txt"}));
  ASSERT_EQ(report.entries.size(), 2u);
  EXPECT_EQ(report.unmatched, std::vector<std::string>{"nothing-like-this"});
  EXPECT_FALSE(report.Succeeded()) << "a name that matched nothing is reported";
}

TEST_F(Extraction, WithoutPathsEveryFileLandsInTheTarget) {
  ExtractOptions o = Defaults();
  o.keepPaths = false;
  o.selection = {"tree\\a"};
  const ExtractReport report = Run(ReadFixture("lhaunix_h2_lh5_tree.lzh"), o);
  EXPECT_TRUE(report.Succeeded());
  EXPECT_EQ(Listing(Out()), (std::vector<std::string>{"deep.txt", "x.txt"}));
}

TEST_F(Extraction, OverwriteNeverKeepsTheExistingFile) {
  fs::create_directories(Out());
  WriteHostFile(Out("hello.txt"), "mine");
  const ExtractReport report = Run(ReadFixture("lhaunix_h2_lh5_tree.lzh"), Defaults());
  EXPECT_EQ(ReadHostFile(Out("hello.txt")), "mine");
  EXPECT_EQ(report.entries[1].outcome, EntryOutcome::KeptExisting);
  EXPECT_TRUE(report.Succeeded());
}

TEST_F(Extraction, OverwriteAlwaysReplacesTheExistingFile) {
  fs::create_directories(Out());
  WriteHostFile(Out("hello.txt"), "mine");
  ExtractOptions o = Defaults();
  o.overwrite = Policy::Always;
  EXPECT_TRUE(Run(ReadFixture("lhaunix_h2_lh5_tree.lzh"), o).Succeeded());
  EXPECT_EQ(ReadHostFile(Out("hello.txt")).size(), 51u);
  EXPECT_EQ(Listing(Out()), kTreeListing) << "no temporary file left behind";
}

TEST_F(Extraction, OverwriteAskedYesReplacesNoKeeps) {
  fs::create_directories(Out());
  WriteHostFile(Out("hello.txt"), "mine");
  WriteHostFile(Out("empty.txt"), "also mine");
  ScriptedMessageBoxHost user;
  user.Expect(win::DialogResult::No, "empty.txt は既に存在します");
  user.Expect(win::DialogResult::Yes, "hello.txt は既に存在します。\n上書きしますか？");
  ExtractOptions o = Defaults();
  o.overwrite = Policy::Ask;
  const ExtractReport report = Run(ReadFixture("lhaunix_h2_lh5_tree.lzh"), o);
  EXPECT_EQ(ReadHostFile(Out("empty.txt")), "also mine");
  EXPECT_EQ(ReadHostFile(Out("hello.txt")).size(), 51u);
  EXPECT_TRUE(report.Succeeded());
  ASSERT_EQ(user.Shown().size(), 2u);
  EXPECT_EQ(user.Shown()[0].buttons, win::MessageBoxButtons::YesNoCancel);
}

TEST_F(Extraction, CancelStopsTheExtraction) {
  fs::create_directories(Out());
  WriteHostFile(Out("empty.txt"), "mine");
  ScriptedMessageBoxHost user;
  user.Expect(win::DialogResult::Cancel, "empty.txt");
  ExtractOptions o = Defaults();
  o.overwrite = Policy::Ask;
  const ExtractReport report = Run(ReadFixture("lhaunix_h2_lh5_tree.lzh"), o);
  EXPECT_TRUE(report.cancelled);
  EXPECT_FALSE(report.Succeeded());
  EXPECT_EQ(Listing(Out()), std::vector<std::string>{"empty.txt"});
}

TEST_F(Extraction, KeepNewerKeepsANewerFileAndReplacesAnOlderOne) {
  fs::create_directories(Out());
  WriteHostFile(Out("hello.txt"), "newer");
  WriteHostFile(Out("empty.txt"), "older");
  const auto at = [](std::int64_t t) {
    return fs::file_time_type::clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(t)));
  };
  fs::last_write_time(Out("hello.txt"), at(kFixtureTime + 3600));
  fs::last_write_time(Out("empty.txt"), at(kFixtureTime - 3600));
  ExtractOptions o = Defaults();
  o.overwrite = Policy::Always;
  o.keepNewer = true;
  const ExtractReport report = Run(ReadFixture("lhaunix_h2_lh5_tree.lzh"), o);
  EXPECT_EQ(ReadHostFile(Out("hello.txt")), "newer");
  EXPECT_EQ(ReadHostFile(Out("empty.txt")), "");
  EXPECT_EQ(report.entries[1].outcome, EntryOutcome::KeptNewer);
}

TEST_F(Extraction, MissingTargetFolderIsAskedFor) {
  ScriptedMessageBoxHost user;
  user.Expect(win::DialogResult::Yes, "フォルダ C:\\out\\new は存在しません。\n作成しますか？");
  ExtractOptions o = Defaults();
  o.createFolder = Policy::Ask;
  o.targetFolder = "C:\\out\\new";
  EXPECT_TRUE(Run(ReadFixture("lhaunix_h2_lh7_mixed.lzh"), o).Succeeded());
  EXPECT_EQ(ReadHostFile(Out("new/mixed.bin")).size(), 100000u);
}

TEST_F(Extraction, MissingTargetFolderAnsweredNoWritesNothing) {
  ScriptedMessageBoxHost user;
  user.Expect(win::DialogResult::No);
  ExtractOptions o = Defaults();
  o.createFolder = Policy::Ask;
  const ExtractReport report = Run(ReadFixture("lhaunix_h2_lh7_mixed.lzh"), o);
  EXPECT_EQ(report.openError, win::ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(fs::exists(Out()));
}

TEST_F(Extraction, MissingTargetFolderWithPolicyNeverFails) {
  ExtractOptions o = Defaults();
  o.createFolder = Policy::Never;
  EXPECT_FALSE(Run(ReadFixture("lhaunix_h2_lh7_mixed.lzh"), o).Succeeded());
  EXPECT_FALSE(fs::exists(Out()));
}

TEST_F(Extraction, CorruptEntryNeverReplacesAGoodFile) {
  fs::create_directories(Out());
  WriteHostFile(Out("mixed.bin"), "the good old file");
  ExtractOptions o = Defaults();
  o.overwrite = Policy::Always;
  for (const char* damaged : {"damaged_flipbyte.lzh", "damaged_truncated.lzh"}) {
    const ExtractReport report = Run(ReadFixture(damaged), o);
    ASSERT_FALSE(report.entries.empty());
    EXPECT_EQ(report.entries[0].outcome, EntryOutcome::DecodeFailed) << damaged;
    EXPECT_EQ(ReadHostFile(Out("mixed.bin")), "the good old file") << damaged;
    EXPECT_EQ(Listing(Out()), std::vector<std::string>{"mixed.bin"}) << "temporary file removed";
  }
}

TEST_F(Extraction, CorruptEntryLeavesNoFileWhereThereWasNone) {
  const ExtractReport report = Run(ReadFixture("damaged_flipbyte.lzh"), Defaults());
  EXPECT_FALSE(report.Succeeded());
  EXPECT_TRUE(Listing(Out()).empty());
}

TEST_F(Extraction, TestingWritesNothing) {
  ExtractOptions o = Defaults();
  o.testOnly = true;
  const ExtractReport report = Run(ReadFixture("lhaunix_h2_lh5_tree.lzh"), o);
  EXPECT_TRUE(report.Succeeded());
  EXPECT_EQ(report.entries.size(), 12u);
  EXPECT_FALSE(fs::exists(Out()));
}

TEST_F(Extraction, FileInTheWayOfAFolderIsAFailureNotAReplacement) {
  fs::create_directories(Out());
  WriteHostFile(Out("tree"), "a file named tree");
  ExtractOptions o = Defaults();
  o.overwrite = Policy::Always;
  const ExtractReport report = Run(ReadFixture("lhaunix_h2_lh5_tree.lzh"), o);
  EXPECT_FALSE(report.Succeeded());
  EXPECT_EQ(ReadHostFile(Out("tree")), "a file named tree");
}

TEST_F(Extraction, ExistingSymlinkAsTargetFileIsNeverWrittenThrough) {
  fs::create_directories(Out());
  fs::create_symlink(Outside() + "/keep.txt", Out("hello.txt"));
  ExtractOptions o = Defaults();
  o.overwrite = Policy::Always;
  const ExtractReport report = Run(ReadFixture("lhaunix_h2_lh5_tree.lzh"), o);
  EXPECT_EQ(report.entries[1].outcome, EntryOutcome::RefusedLink);
  EXPECT_TRUE(fs::is_symlink(Out("hello.txt")));
  ExpectOutsideUntouched();
}

// One hostile archive per hazard (tests/fixtures/lzh/hostile/, see README):
// the hazard is refused, the harmless entry after it is extracted, and
// nothing appears outside the target folder.
struct HostileCase {
  const char* archive;
  EntryOutcome outcome;
};

class HostileFixture : public Extraction, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileFixture, RefusedAndNothingWrittenOutside) {
  fs::create_directories(Out());
  fs::create_symlink("../outside", Out("link"));
  ExtractOptions o = Defaults();
  o.overwrite = Policy::Always;
  const ExtractReport report = Run(ReadFixture(std::string("hostile/") + GetParam().archive), o);
  ASSERT_EQ(report.entries.size(), 2u);
  EXPECT_EQ(report.entries[0].outcome, GetParam().outcome);
  EXPECT_EQ(report.entries[1].outcome, EntryOutcome::Extracted);
  EXPECT_FALSE(report.Succeeded());
  EXPECT_EQ(Listing(Out()), (std::vector<std::string>{"good.txt", "link"}));
  ExpectOutsideUntouched();
}

INSTANTIATE_TEST_SUITE_P(
    OneHazardEach, HostileFixture,
    ::testing::Values(HostileCase{"hostile_dotdot_h2.lzh", EntryOutcome::RefusedUnsafeName},
                      HostileCase{"hostile_dotdot_h0.lzh", EntryOutcome::RefusedUnsafeName},
                      HostileCase{"hostile_absolute_h0.lzh", EntryOutcome::RefusedUnsafeName},
                      HostileCase{"hostile_drive_h2.lzh", EntryOutcome::RefusedUnsafeName},
                      HostileCase{"hostile_empty_component_h2.lzh",
                                  EntryOutcome::RefusedUnsafeName},
                      HostileCase{"hostile_control_chars_h2.lzh", EntryOutcome::RefusedUnsafeName},
                      HostileCase{"hostile_symlink_entry_h2.lzh", EntryOutcome::RefusedLink},
                      HostileCase{"hostile_through_symlink_h2.lzh", EntryOutcome::RefusedLink}),
    [](const auto& info) {
      std::string name = info.param.archive;
      name = name.substr(8, name.find('.') - 8);
      return name;
    });

TEST_F(Extraction, LhasaHostilePathArchivesWriteNothingOutside) {
  ExtractOptions o = Defaults();
  for (const char* name :
       {"third_party/lhasa/regression__dotdot.lzh", "third_party/lhasa/regression__abspath.lzh"}) {
    const ExtractReport report = Run(ReadFixture(name), o);
    EXPECT_FALSE(report.Succeeded()) << name;
    for (const auto& e : report.entries)
      EXPECT_EQ(e.outcome, EntryOutcome::RefusedUnsafeName) << e.path;
  }
  EXPECT_TRUE(Listing(Out()).empty());
  ExpectOutsideUntouched();
}

TEST_F(Extraction, HostileSizesAndTablesFailWithoutOutput) {
  for (const char* name :
       {"hostile/hostile_huge_sizes_h2.lzh", "hostile/hostile_lh5_oversubscribed.lzh",
        "hostile/hostile_lh5_zero_run.lzh", "hostile/hostile_short_ext_h1.lzh"}) {
    const ExtractReport report = Run(ReadFixture(name), Defaults());
    EXPECT_FALSE(report.Succeeded()) << name;
  }
  EXPECT_TRUE(Listing(Out()).empty());
}

}  // namespace
}  // namespace pelko::lzh
