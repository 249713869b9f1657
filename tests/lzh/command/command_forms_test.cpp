// The five command forms, formatted exactly as backup and restore format
// them, on real folders behind drives C: and D:.
#include <string>
#include <vector>

#include "command_fixture.h"
#include "support/run_command.h"
#include "support/scripted_message_box_host.h"

namespace pelko::lzh::test {
namespace {

using pelko::test::ScriptedMessageBoxHost;

// What restore passes when there is no options file.
constexpr std::string_view kDefaultExtractSwitches = " -jyo0 -jyc0 -jc0 -c0 -o2";

// One association-list line, split after its last backslash.
struct Pair {
  std::string base;  // with its backslash, UTF-8
  std::string name;
};

std::string AddLine(const Pair& p, std::string_view exclusions = {}) {
  return "a \"" + std::string(kWork) + "\" \"" + p.base + "\" \"" + p.name + "\"" +
         std::string(exclusions) + " -r2 -x1 -a2";
}

std::string ExtractToOriginLine(const std::vector<Pair>& pairs,
                                std::string_view switches = kDefaultExtractSwitches) {
  std::string targets;
  for (const Pair& p : pairs) targets += "\"" + p.base + "\" \"" + p.name + "\" ";
  return "e \"" + std::string(kWork) + "\"" + std::string(switches) + " -d " + targets;
}

std::string DeleteLine(const std::vector<Pair>& pairs,
                       std::string_view switches = kDefaultExtractSwitches) {
  std::string names;
  for (const Pair& p : pairs) names += " \"" + p.name + "\"";
  return "d \"" + std::string(kWork) + "\"" + std::string(switches) + " -d -y " + names;
}

std::string ExtractToDestinationLine(std::string_view destination,
                                     std::string_view switches = kDefaultExtractSwitches) {
  return "e \"" + std::string(kWork) + "\"" + std::string(switches) + " -d -y " +
         std::string(destination);
}

std::string ExtractAndAssociateLine(std::string_view targetFolder, std::string_view switches) {
  return "e \"" + std::string(kWork) + "\"" + std::string(switches) + " -d -y \"" +
         std::string(targetFolder) + "\\\"";
}

class CommandForms : public CommandTest {
 protected:
  // C:\data with files and folders, nesting, a folder and a file whose
  // names end in the trail byte 0x5C (表), blanks, an empty folder.
  void SetUp() override {
    Put(C("data/docs/a.txt"), "alpha\n");
    Put(C("data/docs/sub/deep/b.txt"), std::string(5000, 'b'));
    std::filesystem::create_directories(C("data/docs/empty"));
    Put(C("data/表/表.txt"), "hyou\n");
    Put(C("data/My Files/note 1.txt"), "note\n");
    Put(C("data/memo.txt"), "memo\n");
  }

  const std::vector<Pair> list_ = {{"C:\\data\\", "docs"},
                                   {"C:\\data\\", "表"},
                                   {"C:\\data\\", "My Files"},
                                   {"C:\\data\\", "memo.txt"}};

  const std::vector<std::string> dataTree_ = {
      "My Files/",      "My Files/note 1.txt", "docs/",    "docs/a.txt", "docs/empty/", "docs/sub/",
      "docs/sub/deep/", "docs/sub/deep/b.txt", "memo.txt", "表/",        "表/表.txt"};

  void Backup() {
    for (const Pair& p : list_) {
      const CommandOutcome added = Run(AddLine(p));
      ASSERT_EQ(added.code, kArchiverOk) << added.report;
    }
  }

  void RemoveSources() {
    for (const char* name : {"docs", "表", "My Files", "memo.txt"})
      std::filesystem::remove_all(C("data/") + name);
  }
};

TEST_F(CommandForms, AddStoresEachEntryRelativeToItsBaseFolder) {
  Backup();
  EXPECT_EQ(Stored(), dataTree_);
  const auto lhasa = pelko::test::RunCommand("lha -t " + pelko::test::ShellQuote(WorkHost()));
  EXPECT_EQ(lhasa.exitCode, 0) << lhasa.output;
}

// The working copy a backup's session started takes every later add of that
// session at its end, in the same file. Commands on their own, and another
// session, never append: each add rebuilds the archive into a new file. The
// bytes come out the same either way.
TEST_F(CommandForms, OnlyTheSessionThatStartedTheWorkingCopyAppendsToIt) {
  const auto inode = [&] {
    struct stat st {};
    EXPECT_EQ(::stat(WorkHost().c_str(), &st), 0);
    return st.st_ino;
  };
  ArchiverSession backup;
  ino_t started = 0;
  for (const Pair& p : list_) {
    ASSERT_EQ(Run(AddLine(p), 1 << 16, &backup).code, kArchiverOk);
    if (started == 0) started = inode();
    EXPECT_EQ(inode(), started) << p.name;
  }
  const std::string appended = Get(WorkHost());
  ArchiverSession other;
  Put(C("data/later.txt"), "later\n");
  ASSERT_EQ(Run(AddLine({"C:\\data\\", "later.txt"}), 1 << 16, &other).code, kArchiverOk);
  EXPECT_NE(inode(), started);

  std::filesystem::remove(WorkHost());
  ino_t previous = 0;
  for (const Pair& p : list_) {
    ASSERT_EQ(Run(AddLine(p)).code, kArchiverOk);
    EXPECT_NE(inode(), previous) << p.name;
    previous = inode();
  }
  EXPECT_EQ(Get(WorkHost()), appended);
  EXPECT_EQ(Stored(), dataTree_);
}

TEST_F(CommandForms, ExtractToOriginBringsBackEveryAssociatedPath) {
  Backup();
  const auto before = Tree(C("data"));
  RemoveSources();
  const CommandOutcome restored = Run(ExtractToOriginLine(list_));
  EXPECT_EQ(restored.code, kArchiverOk) << restored.report;
  EXPECT_EQ(Tree(C("data")), before);
  EXPECT_EQ(Get(C("data/docs/sub/deep/b.txt")), std::string(5000, 'b'));
  EXPECT_EQ(Get(C("data/表/表.txt")), "hyou\n");
  EXPECT_EQ(Get(C("data/My Files/note 1.txt")), "note\n");
  EXPECT_EQ(Lines(restored, "展開しました: "), 5);
  EXPECT_EQ(Lines(restored, "フォルダを作成しました: "), 6);
}

TEST_F(CommandForms, ExtractToOriginTouchesOnlyTheNamedEntries) {
  Backup();
  RemoveSources();
  const CommandOutcome restored = Run(ExtractToOriginLine({{"C:\\data\\", "表"}}));
  EXPECT_EQ(restored.code, kArchiverOk) << restored.report;
  EXPECT_EQ(Tree(C("data")), (std::vector<std::string>{"表/", "表/表.txt"}));
}

TEST_F(CommandForms, ExtractToOriginWithNoPairsTouchesNothing) {
  Backup();
  RemoveSources();
  const CommandOutcome nothing = Run(ExtractToOriginLine({}));
  EXPECT_EQ(nothing.code, kArchiverOk);
  EXPECT_EQ(nothing.report,
            "対象が指定されていないため、何もしませんでした。\r\n展開 0 件、スキップ 0 件、エラー "
            "0 件\r\n");
  EXPECT_TRUE(Tree(C("data")).empty());
}

TEST_F(CommandForms, DeleteWithNothingNamedLeavesTheArchiveAlone) {
  Backup();
  const std::string before = Get(WorkHost());
  const CommandOutcome nothing = Run(DeleteLine({}));
  EXPECT_EQ(nothing.code, kArchiverOk);
  EXPECT_NE(nothing.report.find("何もしませんでした"), std::string::npos);
  EXPECT_EQ(Get(WorkHost()), before);
}

TEST_F(CommandForms, RestoreOfUnassociatedFilesExtractsWhatRemainsIntoTheDestination) {
  Backup();
  RemoveSources();
  // The floppy's list now names only two of the four paths.
  const std::vector<Pair> associated = {{"C:\\data\\", "docs"}, {"C:\\data\\", "memo.txt"}};
  EXPECT_EQ(Run(ExtractToOriginLine(associated)).code, kArchiverOk);
  const CommandOutcome deleted = Run(DeleteLine(associated));
  EXPECT_EQ(deleted.code, kArchiverOk) << deleted.report;
  EXPECT_EQ(Stored(),
            (std::vector<std::string>{"My Files/", "My Files/note 1.txt", "表/", "表/表.txt"}));
  std::filesystem::create_directories(D("Restore"));
  const CommandOutcome rest = Run(ExtractToDestinationLine("D:\\Restore\\"), 500);
  EXPECT_EQ(rest.code, kArchiverOk) << rest.report;
  EXPECT_EQ(Tree(D("Restore")),
            (std::vector<std::string>{"My Files/", "My Files/note 1.txt", "表/", "表/表.txt"}));
  EXPECT_EQ(Tree(C("data")),
            (std::vector<std::string>{"docs/", "docs/a.txt", "docs/empty/", "docs/sub/",
                                      "docs/sub/deep/", "docs/sub/deep/b.txt", "memo.txt"}));
  EXPECT_NE(rest.report.find("展開しました: 表\\表.txt\r\n"), std::string::npos) << rest.report;
  EXPECT_NE(rest.report.find("展開 4 件、スキップ 0 件、エラー 0 件\r\n"), std::string::npos)
      << rest.report;
}

TEST_F(CommandForms, DestinationWithBlanksQuotedAsTheToolSendsIt) {
  Backup();
  std::filesystem::create_directories(D("My Restore"));
  const CommandOutcome rest = Run(ExtractToDestinationLine("\"D:\\My Restore\\\""), 500);
  EXPECT_EQ(rest.code, kArchiverOk) << rest.report;
  EXPECT_EQ(Tree(D("My Restore")).size(), dataTree_.size());
}

TEST_F(CommandForms, DestinationWithBlanksUnquotedIsRefusedAndNothingIsWritten) {
  Backup();
  std::filesystem::create_directories(D("My Restore"));
  const CommandOutcome rest = Run(ExtractToDestinationLine("D:\\My Restore\\"), 500);
  EXPECT_EQ(rest.code, kArchiverBadCommandLine);
  EXPECT_EQ(rest.report,
            "エラー（基準フォルダのない名前です）: D:\\My\r\nコマンドを実行しませんでした。\r\n");
  EXPECT_TRUE(Tree(D("My Restore")).empty());
}

TEST_F(CommandForms, ExtractAndAssociateMakesTheLabelFolderWithoutAsking) {
  Backup();
  std::filesystem::create_directories(D("Restore"));
  ScriptedMessageBoxHost user;  // any question would fail the test: -y answers them
  // The dialog's defaults: confirm overwriting, confirm folders, keep newer.
  const CommandOutcome made =
      Run(ExtractAndAssociateLine("D:\\Restore\\DISK1", " -jc0 -c1 -o2"), 500);
  EXPECT_EQ(made.code, kArchiverOk) << made.report;
  EXPECT_EQ(Tree(D("Restore/DISK1")), dataTree_);
  EXPECT_TRUE(user.Shown().empty());
}

TEST_F(CommandForms, DriveRootEntryTakesTheWholeDriveButNotTheArchiveItself) {
  const Pair root{"", "c:"};  // the association "c:" splits into nothing and "c:"
  const CommandOutcome added = Run(AddLine(root));
  ASSERT_EQ(added.code, kArchiverOk) << added.report;
  std::vector<std::string> expected = {"PELKO/"};
  for (const std::string& name : dataTree_) expected.push_back("data/" + name);
  expected.insert(expected.begin(), "data/");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Stored(), expected);

  RemoveSources();
  const CommandOutcome restored = Run(ExtractToOriginLine({root}));
  EXPECT_EQ(restored.code, kArchiverOk) << restored.report;
  EXPECT_EQ(Tree(C("data")), dataTree_);

  const CommandOutcome deleted = Run(DeleteLine({root}));
  EXPECT_EQ(deleted.code, kArchiverOk) << deleted.report;
  EXPECT_TRUE(Stored().empty());
}

TEST_F(CommandForms, DuplicateListLinesAddAndRestoreOnce) {
  const std::vector<Pair> twice = {{"C:\\data\\", "docs"}, {"C:\\data\\", "docs"}};
  for (const Pair& p : twice) ASSERT_EQ(Run(AddLine(p)).code, kArchiverOk);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"docs/", "docs/a.txt", "docs/empty/", "docs/sub/",
                                                "docs/sub/deep/", "docs/sub/deep/b.txt"}));
  RemoveSources();
  ScriptedMessageBoxHost user;  // a second pass would ask about the files of the first
  const CommandOutcome restored = Run(ExtractToOriginLine(twice, ""));
  EXPECT_EQ(restored.code, kArchiverOk) << restored.report;
  EXPECT_EQ(Lines(restored, "展開しました: docs\\a.txt"), 1);
}

TEST_F(CommandForms, EntryNamedLikeASwitchInQuotes) {
  Put(C("data/-data/x.txt"), "x\n");
  const Pair dash{"C:\\data\\", "-data"};
  ASSERT_EQ(Run(AddLine(dash)).code, kArchiverOk);
  ASSERT_EQ(Run(AddLine({"C:\\data\\", "memo.txt"})).code, kArchiverOk);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"-data/", "-data/x.txt", "memo.txt"}));
  std::filesystem::remove_all(C("data/-data"));
  EXPECT_EQ(Run(ExtractToOriginLine({dash})).code, kArchiverOk);
  EXPECT_EQ(Get(C("data/-data/x.txt")), "x\n");
  EXPECT_EQ(Run(DeleteLine({dash})).code, kArchiverOk);
  EXPECT_EQ(Stored(), std::vector<std::string>{"memo.txt"});
}

}  // namespace
}  // namespace pelko::lzh::test
