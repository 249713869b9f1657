// Every switch of the command line, each shown to change what happens.
#include <string>
#include <vector>

#include "command_fixture.h"
#include "lzh/lzh_test_support.h"
#include "support/scripted_message_box_host.h"

namespace pelko::lzh::test {
namespace {

using pelko::test::DialogResult;
using pelko::test::ScriptedMessageBoxHost;

constexpr std::int64_t kOld = 1500000000;  // 2017
constexpr std::int64_t kNew = 1700000000;  // 2023

std::string Work() { return "\"" + std::string(kWork) + "\""; }

class CommandSwitches : public CommandTest {
 protected:
  void SetUp() override {
    Put(C("data/docs/a.txt"), "alpha\n");
    Put(C("data/docs/b.txt"), "beta\n");
    Put(C("data/docs/c.txt"), "gamma\n");
    Put(C("data/docs/sub/d.txt"), "delta\n");
    Put(C("data/docs/.hidden"), "dot\n");
    for (const char* name : {"a.txt", "b.txt", "c.txt", "sub/d.txt"})
      SetTime(C("data/docs/") + name, kOld);
  }

  void AddDocs(std::string_view switches = " -r2 -x1 -a2") {
    const CommandOutcome added =
        Run("a " + Work() + " \"C:\\data\\\" \"docs\"" + std::string(switches));
    ASSERT_EQ(added.code, kArchiverOk) << added.report;
  }

  // D:\out\docs with a.txt, b.txt and c.txt already there, saying "old".
  void ExistingCopies(std::int64_t time = kOld) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
      Put(D("out/docs/") + name, "old\n");
      SetTime(D("out/docs/") + name, time);
    }
  }

  CommandOutcome ExtractDocs(std::string_view switches) {
    return Run("e " + Work() + std::string(switches) + " \"D:\\out\\\" \"docs\"");
  }
};

// --- add: -r2, -x1, -a2, -jx ---------------------------------------------------

TEST_F(CommandSwitches, R2TakesFoldersWithEverythingBelow) {
  AddDocs(" -x1 -a2");
  EXPECT_TRUE(Stored().empty());
  AddDocs(" -r2 -x1 -a2");
  EXPECT_EQ(Stored(), (std::vector<std::string>{"docs/", "docs/.hidden", "docs/a.txt", "docs/b.txt",
                                                "docs/c.txt", "docs/sub/", "docs/sub/d.txt"}));
}

TEST_F(CommandSwitches, X1StoresPathsRelativeToTheBaseFolder) {
  AddDocs(" -r2 -a2");
  EXPECT_EQ(Stored(), (std::vector<std::string>{".hidden", "a.txt", "b.txt", "c.txt", "d.txt"}));
}

TEST_F(CommandSwitches, A2TakesDotNamesToo) {
  AddDocs(" -r2 -x1");
  const auto stored = Stored();
  EXPECT_EQ(std::count(stored.begin(), stored.end(), "docs/.hidden"), 0);
  EXPECT_EQ(std::count(stored.begin(), stored.end(), "docs/a.txt"), 1);
}

TEST_F(CommandSwitches, JxLeavesOutFilePatternsAndFolderPatternsToTheirDepth) {
  Put(C("data/docs/x.tmp"), "t");
  Put(C("data/docs/X2.TMP"), "t");
  Put(C("data/docs/tmp/t1.txt"), "t");
  Put(C("data/docs/sub/tmp/t2.txt"), "t");
  Put(C("data/docs/sub/deeper/tmp/t3.txt"), "t");
  const auto has = [](const std::vector<std::string>& names, const std::string& name) {
    return std::count(names.begin(), names.end(), name) == 1;
  };

  AddDocs();  // no patterns: everything
  auto all = Stored();
  EXPECT_TRUE(has(all, "docs/x.tmp") && has(all, "docs/tmp/t1.txt") &&
              has(all, "docs/sub/deeper/tmp/t3.txt"));

  std::filesystem::remove(WorkHost());
  AddDocs(" -jx\"*.tmp\" -jx\"*\\tmp\" -r2 -x1 -a2");  // search depth 1
  auto depth1 = Stored();
  EXPECT_FALSE(has(depth1, "docs/x.tmp"));
  EXPECT_FALSE(has(depth1, "docs/X2.TMP"));
  EXPECT_FALSE(has(depth1, "docs/tmp/"));
  EXPECT_FALSE(has(depth1, "docs/tmp/t1.txt"));
  EXPECT_TRUE(has(depth1, "docs/sub/tmp/t2.txt"));
  EXPECT_TRUE(has(depth1, "docs/sub/deeper/tmp/t3.txt"));
  EXPECT_TRUE(has(depth1, "docs/a.txt"));

  std::filesystem::remove(WorkHost());
  AddDocs(
      " -jx\"*.tmp\" -jx\"*\\tmp\" -jx\"*\\*\\tmp\" -jx\"*\\*\\*\\tmp\" -r2 -x1 -a2");  // depth 3
  auto depth3 = Stored();
  EXPECT_FALSE(has(depth3, "docs/tmp/t1.txt"));
  EXPECT_FALSE(has(depth3, "docs/sub/tmp/t2.txt"));
  EXPECT_FALSE(has(depth3, "docs/sub/deeper/tmp/t3.txt"));
  EXPECT_TRUE(has(depth3, "docs/sub/deeper/"));
  EXPECT_TRUE(has(depth3, "docs/sub/d.txt"));
}

// --- -d: a name and everything below it -------------------------------------

TEST_F(CommandSwitches, DOnExtractTakesWhatIsStoredBelowTheName) {
  AddDocs();
  std::filesystem::create_directories(D("out"));
  EXPECT_EQ(ExtractDocs(" -jyo0").code, kArchiverOk);
  EXPECT_EQ(Tree(D("out")), std::vector<std::string>{"docs/"});  // the folder entry alone
  EXPECT_EQ(ExtractDocs(" -jyo0 -d").code, kArchiverOk);
  EXPECT_EQ(Tree(D("out")).size(), 7u);
  EXPECT_EQ(Get(D("out/docs/sub/d.txt")), "delta\n");
}

TEST_F(CommandSwitches, DOnDeleteRemovesAFolderEntryAndEverythingBelow) {
  AddDocs();
  Put(C("data/keep.txt"), "keep\n");
  ASSERT_EQ(Run("a " + Work() + " \"C:\\data\\\" \"keep.txt\" -r2 -x1 -a2").code, kArchiverOk);

  const CommandOutcome alone = Run("d " + Work() + " -y \"docs\\sub\"");
  EXPECT_EQ(alone.code, kArchiverOk) << alone.report;
  EXPECT_EQ(alone.report, "削除しました: docs\\sub\r\n削除 1 件、スキップ 0 件、エラー 0 件\r\n");
  auto stored = Stored();
  EXPECT_EQ(std::count(stored.begin(), stored.end(), "docs/sub/d.txt"), 1);

  const CommandOutcome below = Run("d " + Work() + " -d -y \"docs\"");
  EXPECT_EQ(below.code, kArchiverOk) << below.report;
  EXPECT_EQ(Stored(), std::vector<std::string>{"keep.txt"});
  EXPECT_EQ(Lines(below, "削除しました: "), 6);
}

TEST_F(CommandSwitches, DeleteOfANameNotStoredIsReportedAndChangesNothing) {
  AddDocs();
  const std::string before = Get(WorkHost());
  const CommandOutcome missing = Run("d " + Work() + " -d -y \"nothing\"");
  EXPECT_EQ(missing.code, kArchiverWarning);
  EXPECT_EQ(
      missing.report,
      "スキップしました（書庫にありません）: nothing\r\n削除 0 件、スキップ 1 件、エラー 0 件\r\n");
  EXPECT_EQ(Get(WorkHost()), before);
}

// --- overwriting: -jyo, -jyo0, asking, -y ---------------------------------------

TEST_F(CommandSwitches, JyoOverwritesWithoutAsking) {
  AddDocs();
  ExistingCopies();
  ScriptedMessageBoxHost user;
  EXPECT_EQ(ExtractDocs(" -jyo -d").code, kArchiverOk);
  EXPECT_EQ(Get(D("out/docs/a.txt")), "alpha\n");
  EXPECT_TRUE(user.Shown().empty());
}

TEST_F(CommandSwitches, Jyo0NeverOverwritesEvenWithY) {
  AddDocs();
  ExistingCopies();
  ScriptedMessageBoxHost user;
  const CommandOutcome kept = ExtractDocs(" -jyo0 -d -y");
  EXPECT_EQ(kept.code, kArchiverWarning);
  EXPECT_EQ(Get(D("out/docs/a.txt")), "old\n");
  EXPECT_EQ(Get(D("out/docs/sub/d.txt")), "delta\n");
  EXPECT_EQ(Lines(kept, "スキップしました（同じ名前のファイルがあります）: docs\\"), 3);
  EXPECT_TRUE(user.Shown().empty());
}

TEST_F(CommandSwitches, WithoutOverwriteSwitchTheUserIsAskedYesOrNo) {
  AddDocs();
  ExistingCopies();
  ScriptedMessageBoxHost user;
  user.Expect(DialogResult::Yes, "docs\\a.txt は既に存在します。");
  user.Expect(DialogResult::No, "docs\\b.txt");
  user.Expect(DialogResult::Yes, "docs\\c.txt");
  const CommandOutcome asked = ExtractDocs(" -d");
  EXPECT_EQ(asked.code, kArchiverWarning) << asked.report;
  EXPECT_EQ(Get(D("out/docs/a.txt")), "alpha\n");
  EXPECT_EQ(Get(D("out/docs/b.txt")), "old\n");
  EXPECT_EQ(Get(D("out/docs/c.txt")), "gamma\n");
  EXPECT_EQ(user.Shown()[0].buttons, pelko::test::MessageBoxButtons::YesNoCancel);
  EXPECT_NE(asked.report.find("スキップしました（同じ名前のファイルがあります）: docs\\b.txt\r\n"),
            std::string::npos);
}

TEST_F(CommandSwitches, YAnswersTheOverwriteQuestionYes) {
  AddDocs();
  ExistingCopies();
  ScriptedMessageBoxHost user;
  EXPECT_EQ(ExtractDocs(" -d -y").code, kArchiverOk);
  EXPECT_EQ(Get(D("out/docs/b.txt")), "beta\n");
  EXPECT_TRUE(user.Shown().empty());
}

TEST_F(CommandSwitches, CancelAtTheOverwriteQuestionStopsAndKeepsWhatWasWritten) {
  AddDocs();
  ExistingCopies();
  ScriptedMessageBoxHost user;
  user.Expect(DialogResult::Yes, "docs\\a.txt");
  user.Expect(DialogResult::Cancel, "docs\\b.txt");
  const CommandOutcome stopped = ExtractDocs(" -d");
  EXPECT_EQ(stopped.code, kArchiverCancelled);
  EXPECT_EQ(Get(D("out/docs/a.txt")), "alpha\n");
  EXPECT_EQ(Get(D("out/docs/b.txt")), "old\n");
  EXPECT_EQ(Get(D("out/docs/c.txt")), "old\n");
  EXPECT_FALSE(Exists(D("out/docs/sub")));
  EXPECT_NE(
      stopped.report.find("展開しました: docs\\a.txt\r\n中止しました（キャンセル）: docs\\b.txt\r\n"
                          "キャンセルで中止しました。展開 "),
      std::string::npos)
      << stopped.report;
  EXPECT_EQ(stopped.report.find("c.txt"), std::string::npos);
}

// --- folder creation: -jyc, -jyc0, asking, -y -----------------------------------

TEST_F(CommandSwitches, JycCreatesTheMissingFolderWithoutAsking) {
  AddDocs();
  ScriptedMessageBoxHost user;
  EXPECT_EQ(ExtractDocs(" -jyc -d").code, kArchiverOk);
  EXPECT_EQ(Get(D("out/docs/a.txt")), "alpha\n");
  EXPECT_TRUE(user.Shown().empty());
}

TEST_F(CommandSwitches, Jyc0SkipsAndReportsEvenWithY) {
  AddDocs();
  ScriptedMessageBoxHost user;
  const CommandOutcome skipped = ExtractDocs(" -jyc0 -d -y");
  EXPECT_EQ(skipped.code, kArchiverWarning);
  EXPECT_FALSE(Exists(D("out")));
  EXPECT_EQ(skipped.report,
            "スキップしました（展開先のフォルダがありません）: D:\\out\\docs\r\n"
            "展開 0 件、スキップ 1 件、エラー 0 件\r\n");
  EXPECT_TRUE(user.Shown().empty());
}

TEST_F(CommandSwitches, WithoutFolderSwitchTheUserIsAsked) {
  AddDocs();
  {
    ScriptedMessageBoxHost user;
    user.Expect(DialogResult::No, "フォルダ D:\\out\\ は存在しません。");
    EXPECT_EQ(ExtractDocs(" -d").code, kArchiverWarning);
    EXPECT_FALSE(Exists(D("out")));
  }
  ScriptedMessageBoxHost user;
  user.Expect(DialogResult::Yes, "D:\\out\\");
  EXPECT_EQ(ExtractDocs(" -d").code, kArchiverOk);
  EXPECT_EQ(Get(D("out/docs/a.txt")), "alpha\n");
}

TEST_F(CommandSwitches, YAnswersTheFolderQuestionYes) {
  AddDocs();
  ScriptedMessageBoxHost user;
  EXPECT_EQ(ExtractDocs(" -d -y").code, kArchiverOk);
  EXPECT_EQ(Get(D("out/docs/a.txt")), "alpha\n");
  EXPECT_TRUE(user.Shown().empty());
}

TEST_F(CommandSwitches, CancelAtTheFolderQuestionEndsTheWholeCommand) {
  AddDocs();
  std::filesystem::create_directories(D("second"));
  ScriptedMessageBoxHost user;
  user.Expect(DialogResult::Cancel, "D:\\out\\");
  const CommandOutcome stopped =
      Run("e " + Work() + " -d \"D:\\out\\\" \"docs\" \"D:\\second\\\" \"docs\"");
  EXPECT_EQ(stopped.code, kArchiverCancelled);
  EXPECT_TRUE(Tree(D("second")).empty());
  EXPECT_EQ(stopped.report,
            "中止しました（キャンセル）: D:\\out\\\r\nキャンセルで中止しました。展開 0 "
            "件、スキップ 0 件、エラー 0 件\r\n");
}

// --- -c1: keep newer --------------------------------------------------------

TEST_F(CommandSwitches, C1KeepsAnExistingFileNewerThanTheEntry) {
  AddDocs();
  ExistingCopies(kNew);
  const CommandOutcome kept = ExtractDocs(" -jyo -c1 -d");
  EXPECT_EQ(Get(D("out/docs/a.txt")), "old\n");
  EXPECT_EQ(Lines(kept, "スキップしました（より新しいファイルがあります）: docs\\"), 3);
  const CommandOutcome compared = ExtractDocs(" -jyo -c0 -d");
  EXPECT_EQ(compared.code, kArchiverOk);
  EXPECT_EQ(Get(D("out/docs/a.txt")), "alpha\n");
}

TEST_F(CommandSwitches, C1StillReplacesAnOlderFile) {
  AddDocs();
  ExistingCopies(kOld - 1000);
  EXPECT_EQ(ExtractDocs(" -jyo -c1 -d").code, kArchiverOk);
  EXPECT_EQ(Get(D("out/docs/a.txt")), "alpha\n");
}

// --- -jc0 / -jc1: broken headers ---------------------------------------------

class BrokenHeaders : public CommandSwitches {
 protected:
  // one.txt, a second entry whose header CRC is wrong, three.txt.
  void SetUp() override {
    std::string second = StoredEntry("two.txt", "two\n");
    second[30] ^= 0x01;  // inside the name: the header CRC no longer matches
    Put(WorkHost(),
        StoredEntry("one.txt", "one\n") + second + StoredEntry("three.txt", "three\n") + '\0');
    std::filesystem::create_directories(D("out"));
  }
};

TEST_F(BrokenHeaders, Jc1SkipsTheBrokenHeaderAndReadsOn) {
  const CommandOutcome resumed = Run("e " + Work() + " -jc1 -d -y D:\\out\\");
  EXPECT_EQ(resumed.code, kArchiverError);
  EXPECT_EQ(Tree(D("out")), (std::vector<std::string>{"one.txt", "three.txt"}));
  EXPECT_NE(resumed.report.find("壊れたヘッダを飛ばしました（位置 "), std::string::npos)
      << resumed.report;
}

TEST_F(BrokenHeaders, Jc0StopsAtTheBrokenHeader) {
  const CommandOutcome stopped = Run("e " + Work() + " -jc0 -d -y D:\\out\\");
  EXPECT_EQ(stopped.code, kArchiverError);
  EXPECT_EQ(Tree(D("out")), std::vector<std::string>{"one.txt"});
  EXPECT_NE(stopped.report.find("エラー（壊れたヘッダのため読み込みを中止しました、位置 "),
            std::string::npos)
      << stopped.report;
}

TEST_F(BrokenHeaders, NamedEntriesBehindTheBrokenHeaderNeedJc1) {
  const std::string named = " -y \"D:\\out\\\" \"three.txt\"";
  const CommandOutcome stopped = Run("e " + Work() + " -jc0" + named);
  EXPECT_TRUE(Tree(D("out")).empty());
  EXPECT_NE(stopped.report.find("スキップしました（書庫にありません）: three.txt"),
            std::string::npos);
  EXPECT_EQ(Run("e " + Work() + " -jc1" + named).code,
            kArchiverError);  // the broken header is still reported
  EXPECT_EQ(Tree(D("out")), std::vector<std::string>{"three.txt"});
}

TEST_F(BrokenHeaders, DeleteRefusesADamagedArchiveAndLeavesItAlone) {
  const std::string before = Get(WorkHost());
  const CommandOutcome refused = Run("d " + Work() + " -jc1 -d -y \"one.txt\"");
  EXPECT_EQ(refused.code, kArchiverError);
  EXPECT_EQ(Get(WorkHost()), before);
}

// --- -o0, -o1, -o2: accepted, no effect on extraction ---------------------------

TEST_F(CommandSwitches, FormatSwitchesChangeNothingOnExtraction) {
  AddDocs();
  const std::vector<std::string> expected = {"docs/",         "docs/.hidden", "docs/a.txt",
                                             "docs/b.txt",    "docs/c.txt",   "docs/sub/",
                                             "docs/sub/d.txt"};
  for (const char* format : {"", " -o0", " -o1", " -o2"}) {
    std::filesystem::remove_all(D("out"));
    const CommandOutcome done = ExtractDocs(std::string(" -jyc -d") + format);
    EXPECT_EQ(done.code, kArchiverOk) << format;
    EXPECT_EQ(Tree(D("out")), expected) << format;
  }
}

}  // namespace
}  // namespace pelko::lzh::test
