// The report of ArchiverCommand: its lines, its summary, its result codes, the
// cut into the caller's buffer, refused lines, listing, testing and progress.
#include "lzh/command/command_report.h"

#include <cstring>
#include <string>
#include <vector>

#include "command_fixture.h"
#include "lzh/lzh_test_support.h"
#include "support/scripted_message_box_host.h"

namespace pelko::lzh::test {
namespace {

using pelko::test::DialogResult;
using pelko::test::ScriptedMessageBoxHost;

std::string Work() { return "\"" + std::string(kWork) + "\""; }

class CommandReports : public CommandTest {
 protected:
  // An archive of `count` files with Japanese names, written by the library.
  void JapaneseArchive(int count, std::string_view padding = {}) {
    for (int i = 0; i < count; ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "src/%.*s表示ファイル%02d.txt",
                    static_cast<int>(padding.size()), padding.data(), i);
      Put(C(name), "content\n");
    }
    const CommandOutcome added = Run("a " + Work() + " \"C:\\src\\\" -r2 -x1 -a2");
    ASSERT_EQ(added.code, kArchiverOk) << added.report;
  }
};

TEST_F(CommandReports, OneLinePerEntryThenASummaryAllEndedWithCrLf) {
  Put(C("src/a.txt"), "a");
  Put(C("src/表.txt"), "b");
  ASSERT_EQ(Run("a " + Work() + " \"C:\\src\\\" \"a.txt\" \"表.txt\" -r2 -x1 -a2").code,
            kArchiverOk);
  const CommandOutcome done = Run("e " + Work() + " -d -y D:\\out\\");
  EXPECT_EQ(done.code, kArchiverOk);
  EXPECT_EQ(
      done.report,
      "展開しました: a.txt\r\n展開しました: 表.txt\r\n展開 2 件、スキップ 0 件、エラー 0 件\r\n");
  EXPECT_EQ(done.raw, cp932::FromUtf8Literal(done.report));  // CP932 in the buffer
}

TEST_F(CommandReports, AddReportsEveryEntryAndWhatWasReplaced) {
  Put(C("src/a.txt"), "a");
  const CommandOutcome first = Run("a " + Work() + " \"C:\\src\\\" \"a.txt\" -r2 -x1 -a2");
  EXPECT_EQ(first.report, "追加しました: a.txt\r\n追加 1 件、除外 0 件、エラー 0 件\r\n");
  const CommandOutcome again = Run("a " + Work() + " \"C:\\src\\\" \"a.txt\" -r2 -x1 -a2");
  EXPECT_EQ(again.report, "置き換えました: a.txt\r\n追加 1 件、除外 0 件、エラー 0 件\r\n");
}

TEST_F(CommandReports, AddOfAMissingNameIsReportedAndShownToTheUser) {
  Put(C("src/a.txt"), "a");
  ScriptedMessageBoxHost user;
  user.Expect(DialogResult::Ok, "C:\\src\\gone");
  const CommandOutcome added = Run("a " + Work() + " \"C:\\src\\\" \"gone\" \"a.txt\" -r2 -x1 -a2");
  EXPECT_EQ(added.code, kArchiverWarning);
  EXPECT_NE(added.report.find("除外しました（見つかりません）: C:\\src\\gone\r\n"),
            std::string::npos)
      << added.report;
  EXPECT_NE(added.report.find("追加 1 件、除外 1 件、エラー 0 件\r\n"), std::string::npos);
  EXPECT_EQ(Stored(), std::vector<std::string>{"a.txt"});
}

TEST_F(CommandReports, ReportCutAt500BytesNeverSplitsADoubleByteCharacter) {
  // The cut lands on a lead byte for one of two alignments of the text.
  bool cutInsideACharacter = false;
  for (std::string_view padding : {"", "x"}) {
    std::filesystem::remove_all(C("src"));
    std::filesystem::remove(WorkHost());
    JapaneseArchive(30, padding);
    const CommandOutcome whole = Run("t " + Work());
    ASSERT_GT(whole.raw.size(), 500u);
    const std::size_t fits = cp932::PrefixWithoutSplit(whole.raw, 499);
    const CommandOutcome cut = Run("t " + Work(), 500);
    EXPECT_EQ(cut.raw, whole.raw.substr(0, fits));
    EXPECT_TRUE(cp932::ToUtf8(cut.raw).has_value()) << "a split character is no CP932";
    if (fits == 498) cutInsideACharacter = true;
  }
  EXPECT_TRUE(cutInsideACharacter);
}

TEST_F(CommandReports, BufferOfOneByteHoldsTheTerminatorAndNoBufferIsFine) {
  char one[2] = {'x', 'y'};
  EXPECT_EQ(ArchiverCommand(nullptr, "q", one, 1), kArchiverBadCommandLine);
  EXPECT_EQ(one[0], '\0');
  EXPECT_EQ(one[1], 'y');
  EXPECT_EQ(ArchiverCommand(nullptr, "q", nullptr, 0), kArchiverBadCommandLine);
  char untouched[4] = "abc";
  EXPECT_EQ(ArchiverCommand(nullptr, "q", untouched, 0), kArchiverBadCommandLine);
  EXPECT_STREQ(untouched, "abc");
}

TEST_F(CommandReports, MalformedLinesAreReportedNeverRun) {
  const struct {
    std::string line;
    std::string report;
  } cases[] = {
      {"", "エラー: コマンドがありません\r\n"},
      {"x " + Work(), "エラー（不明なコマンドです）: x\r\n"},
      {"e " + Work() + " -q D:\\out\\", "エラー（不明なスイッチです）: -q\r\n"},
      {"e -d -y", "エラー: 書庫が指定されていません\r\n"},
      {"e archive.lzh D:\\out\\",
       "エラー（書庫はドライブ名から指定してください）: archive.lzh\r\n"},
      {"e " + Work() + " -d \"out\\\"",
       "エラー（基準フォルダはドライブ名から指定してください）: out\\\r\n"},
      {"e " + Work() + " -d \"data\"", "エラー（基準フォルダのない名前です）: data\r\n"},
      {"e " + Work() + " D:\\out\\ ..\\up", "エラー（使えない名前です）: ..\\up\r\n"},
      {"e " + Work() + " \"D:\\out\\", "エラー（引用符が閉じていません）: D:\\out\\\r\n"},
      {"a " + Work() + " C:\\src\\ -jx\"\"", "エラー（除外するパターンがありません）: -jx\"\"\r\n"},
      {"e \"C:\\PELKO\\\"", "エラー（書庫の名前がフォルダです）: C:\\PELKO\\\r\n"},
  };
  for (const auto& c : cases) {
    const CommandOutcome refused = Run(c.line);
    EXPECT_EQ(refused.code, kArchiverBadCommandLine) << c.line;
    EXPECT_EQ(refused.report, c.report + "コマンドを実行しませんでした。\r\n") << c.line;
  }
  EXPECT_EQ(ArchiverCommand(nullptr, nullptr, nullptr, 0), kArchiverBadCommandLine);
  EXPECT_FALSE(Exists(D("out")));
  EXPECT_FALSE(Exists(WorkHost()));
}

TEST_F(CommandReports, ControlCharactersOfAnOffendingTokenAreEscaped) {
  const CommandOutcome refused = Run("e " + Work() + " -\x01");
  EXPECT_EQ(refused.report,
            "エラー（不明なスイッチです）: -\\x01\r\nコマンドを実行しませんでした。\r\n");
}

TEST_F(CommandReports, MissingArchiveIsAnErrorLine) {
  const CommandOutcome missing = Run("e \"C:\\nowhere.lzh\" -d -y D:\\out\\");
  EXPECT_EQ(missing.code, kArchiverError);
  EXPECT_EQ(
      missing.report,
      "エラー（書庫を開けません）: C:\\nowhere.lzh\r\n展開 0 件、スキップ 0 件、エラー 1 件\r\n");
}

TEST_F(CommandReports, ListNamesSizeMethodAndTime) {
  Put(WorkHost(), StoredEntry("one.txt", "one\n") + StoredEntry("dir\\two.txt", "two!\n") + '\0');
  const CommandOutcome listed = Run("l " + Work());
  EXPECT_EQ(listed.code, kArchiverOk);
  EXPECT_NE(listed.report.find("one.txt  4 バイト  -lh0-  "), std::string::npos) << listed.report;
  EXPECT_NE(listed.report.find("dir\\two.txt  5 バイト  -lh0-  "), std::string::npos)
      << listed.report;
  EXPECT_NE(listed.report.find("\r\n2 件、スキップ 0 件、エラー 0 件\r\n"), std::string::npos)
      << listed.report;

  const CommandOutcome one = Run("l " + Work() + " \"dir\\two.txt\" \"three\"");
  EXPECT_EQ(one.code, kArchiverWarning);
  EXPECT_EQ(Lines(one, " バイト "), 1);
  EXPECT_NE(one.report.find("スキップしました（書庫にありません）: three\r\n"), std::string::npos);
}

TEST_F(CommandReports, TestFindsADamagedEntryAndWritesNothing) {
  std::string damaged = StoredEntry("bad.txt", "payload\n");
  damaged[damaged.size() - 2] ^= 0x20;  // the data no longer matches its CRC
  Put(WorkHost(), StoredEntry("good.txt", "fine\n") + damaged + '\0');
  const CommandOutcome tested = Run("t " + Work());
  EXPECT_EQ(tested.code, kArchiverError);
  EXPECT_EQ(tested.report,
            "正常です: good.txt\r\nエラー（データが壊れています）: bad.txt\r\n"
            "正常 1 件、スキップ 0 件、エラー 1 件\r\n");
  EXPECT_EQ(Tree(C()), std::vector<std::string>({"PELKO/", "PELKO/archive.lzh"}));
}

TEST_F(CommandReports, ExtractionReportsProgressThroughTheSeam) {
  JapaneseArchive(3);
  ScriptedMessageBoxHost user;
  EXPECT_EQ(Run("e " + Work() + " -d -y D:\\out\\").code, kArchiverOk);
  EXPECT_GE(user.LongWorkBegun(), 1);
  EXPECT_EQ(user.LongWorkBegun(), user.LongWorkEnded());
  ASSERT_EQ(user.ProgressReports().size(), 3u);
  EXPECT_EQ(user.ProgressReports()[0].entry, cp932::FromUtf8Literal("表示ファイル00.txt"));
  EXPECT_GT(user.ProgressReports()[0].total, 0u);
}

TEST(CommandReportText, FormatFillsPlaceholdersInOrderInCp932) {
  EXPECT_EQ(FormatReportText("%s と %s", {"a", "b"}), cp932::FromUtf8Literal("a と b"));
  EXPECT_EQ(FormatReportText("%s", {"100%s"}), "100%s");  // an argument is never read as a template
}

TEST(CommandReportText, CopyStopsBeforeALeadByteWithoutItsTrailByte) {
  const std::string text = cp932::FromUtf8Literal("ab表");  // 'a' 'b' 0x95 0x5C
  char buffer[4];
  CopyReport(text, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "ab");
  char wide[5];
  CopyReport(text, wide, sizeof wide);
  EXPECT_EQ(std::string(wide), text);
}

}  // namespace
}  // namespace pelko::lzh::test
