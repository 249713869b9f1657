// The command-line language: tokens, the five forms the tool writes, switches
// and every way a line can be refused.
#include "lzh/command/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/code_page.h"

namespace pelko::lzh {
namespace {

std::string Sjis(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

CommandLineParse Parsed(std::string_view utf8Line) {
  CommandLineParse parse = ParseCommandLine(Sjis(utf8Line));
  EXPECT_TRUE(parse.Ok()) << utf8Line << " refused, offending: " << parse.offending;
  return parse;
}

void ExpectRefused(std::string_view utf8Line, CommandLineError error,
                   std::string_view offendingUtf8 = {}) {
  const CommandLineParse parse = ParseCommandLine(Sjis(utf8Line));
  EXPECT_EQ(parse.error, error) << utf8Line;
  EXPECT_EQ(parse.offending, Sjis(offendingUtf8)) << utf8Line;
}

std::vector<CommandToken> Tokens(std::string_view line) {
  std::vector<CommandToken> tokens;
  std::string unclosed;
  EXPECT_TRUE(SplitCommandTokens(line, tokens, unclosed));
  return tokens;
}

// --- tokens ---------------------------------------------------------------

TEST(CommandLineTokens, BlanksSeparateAndQuotesHoldBlanks) {
  const auto tokens = Tokens("e  \"C:\\a b\\c.lzh\"\t-d   x");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0].text, "e");
  EXPECT_EQ(tokens[1].text, "C:\\a b\\c.lzh");
  EXPECT_TRUE(tokens[1].quoted);
  EXPECT_TRUE(tokens[2].isSwitch);
  EXPECT_EQ(tokens[3].text, "x");
  EXPECT_FALSE(tokens[3].quoted);
}

TEST(CommandLineTokens, BackslashBeforeClosingQuoteIsNoEscape) {
  const auto tokens = Tokens("e \"C:\\out\\DISK1\\\" next");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[1].text, "C:\\out\\DISK1\\");
  EXPECT_EQ(tokens[2].text, "next");
}

TEST(CommandLineTokens, QuotedDashIsAPathAndSwitchKeepsItsQuotes) {
  const auto tokens = Tokens("d x \"-data\" -jx\"a b\"");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_FALSE(tokens[2].isSwitch);
  EXPECT_EQ(tokens[2].text, "-data");
  EXPECT_TRUE(tokens[3].isSwitch);
  EXPECT_EQ(tokens[3].text, "-jx\"a b\"");
}

TEST(CommandLineTokens, UnclosedQuoteIsRefused) {
  std::vector<CommandToken> tokens;
  std::string unclosed;
  EXPECT_FALSE(SplitCommandTokens("e \"C:\\a b", tokens, unclosed));
  EXPECT_EQ(unclosed, "C:\\a b");
}

TEST(CommandLineTokens, BaseFolderEndsInARealBackslashOrIsABareDrive) {
  EXPECT_TRUE(IsBaseFolder("C:\\work\\"));
  EXPECT_TRUE(IsBaseFolder("c:"));
  EXPECT_TRUE(IsBaseFolder("Z:"));
  EXPECT_TRUE(IsBaseFolder(Sjis("C:\\表\\")));
  EXPECT_FALSE(IsBaseFolder(Sjis("C:\\表")));  // 0x95 0x5C: the 0x5C is part of 表
  EXPECT_FALSE(IsBaseFolder(Sjis("表")));
  EXPECT_FALSE(IsBaseFolder("C:\\work"));
  EXPECT_FALSE(IsBaseFolder("1:"));
  EXPECT_FALSE(IsBaseFolder(""));
}

// --- the five forms, as the tool formats them ------------------------------

TEST(CommandLineForms, AddWithPathPairAndExclusions) {
  const auto p = Parsed(
      "a \"C:\\PELKO\\archive.lzh\" \"C:\\My Documents\\\" \"memo 表.txt\" -jx\"*.tmp\" "
      "-jx\"*\\tmp\" "
      "-jx\"*\\*\\tmp\" -r2 -x1 -a2");
  EXPECT_EQ(p.command.kind, CommandKind::Add);
  EXPECT_EQ(p.command.archive, "C:\\PELKO\\archive.lzh");
  ASSERT_EQ(p.command.groups.size(), 1u);
  EXPECT_EQ(p.command.groups[0].baseFolder, "C:\\My Documents\\");
  EXPECT_EQ(p.command.groups[0].names, std::vector<std::string>{Sjis("memo 表.txt")});
  const CommandSwitches& s = p.command.switches;
  EXPECT_EQ(s.excluded, (std::vector<std::string>{"*.tmp", "*\\tmp", "*\\*\\tmp"}));
  EXPECT_TRUE(s.recurse);
  EXPECT_TRUE(s.relativePaths);
  EXPECT_TRUE(s.hiddenFiles);
  EXPECT_FALSE(s.withEverythingBelow);
}

TEST(CommandLineForms, AddOfADriveRootIsTheWholeDrive) {
  const auto p = Parsed("a \"C:\\PELKO\\archive.lzh\" \"\" \"c:\" -r2 -x1 -a2");
  ASSERT_EQ(p.command.groups.size(), 1u);
  EXPECT_EQ(p.command.groups[0].baseFolder, "c:");
  EXPECT_TRUE(p.command.groups[0].names.empty());
}

TEST(CommandLineForms, ExtractToOriginWithTargetPairsAndExtractSwitches) {
  const auto p = Parsed(
      "e \"C:\\PELKO\\archive.lzh\" -jyo0 -jyc0 -jc1 -c1 -o0 -d \"C:\\work\\\" \"data\" "
      "\"D:\\表\\\" \"表\" \"\" \"c:\" ");
  EXPECT_EQ(p.command.kind, CommandKind::Extract);
  ASSERT_EQ(p.command.groups.size(), 3u);
  EXPECT_EQ(p.command.groups[0].baseFolder, "C:\\work\\");
  EXPECT_EQ(p.command.groups[0].names, std::vector<std::string>{"data"});
  EXPECT_EQ(p.command.groups[1].baseFolder, Sjis("D:\\表\\"));
  EXPECT_EQ(p.command.groups[1].names, std::vector<std::string>{Sjis("表")});
  EXPECT_EQ(p.command.groups[2].baseFolder, "c:");
  EXPECT_TRUE(p.command.groups[2].names.empty());
  const CommandSwitches& s = p.command.switches;
  EXPECT_EQ(s.overwrite, Policy::Never);
  EXPECT_EQ(s.createFolder, Policy::Never);
  EXPECT_TRUE(s.resumeAfterBrokenHeader);
  EXPECT_TRUE(s.keepNewer);
  EXPECT_EQ(s.archiveFormat, 0);
  EXPECT_TRUE(s.withEverythingBelow);
  EXPECT_FALSE(s.answerYes);
}

TEST(CommandLineForms, ExtractToOriginWithNoPairsNamesNothing) {
  const auto p = Parsed("e \"C:\\PELKO\\archive.lzh\" -jc0 -c1 -o2 -d ");
  EXPECT_TRUE(p.command.NamesNothing());
}

TEST(CommandLineForms, DeleteNamesStandWithoutBaseFolder) {
  const auto p = Parsed(
      "d \"C:\\PELKO\\archive.lzh\" -jyo -jyc -jc0 -c0 -o1 -d -y  \"data\" \"-data\" \"c:\"");
  EXPECT_EQ(p.command.kind, CommandKind::Delete);
  ASSERT_EQ(p.command.groups.size(), 2u);
  EXPECT_EQ(p.command.groups[0].baseFolder, "");
  EXPECT_EQ(p.command.groups[0].names, (std::vector<std::string>{"data", "-data"}));
  EXPECT_EQ(p.command.groups[1].baseFolder, "c:");
  EXPECT_TRUE(p.command.switches.answerYes);
  EXPECT_EQ(p.command.switches.overwrite, Policy::Always);
  EXPECT_EQ(p.command.switches.createFolder, Policy::Always);
  EXPECT_EQ(p.command.switches.archiveFormat, 1);
}

TEST(CommandLineForms, ExtractToDestinationUnquotedAndQuoted) {
  const auto unquoted = Parsed("e \"C:\\PELKO\\archive.lzh\" -c0 -d -y D:\\Restore\\");
  ASSERT_EQ(unquoted.command.groups.size(), 1u);
  EXPECT_EQ(unquoted.command.groups[0].baseFolder, "D:\\Restore\\");
  EXPECT_TRUE(unquoted.command.groups[0].names.empty());
  const auto quoted = Parsed("e \"C:\\PELKO\\archive.lzh\" -d -y \"D:\\My Restore\\DISK 1\\\"");
  ASSERT_EQ(quoted.command.groups.size(), 1u);
  EXPECT_EQ(quoted.command.groups[0].baseFolder, "D:\\My Restore\\DISK 1\\");
}

TEST(CommandLineForms, UnquotedDestinationWithABlankSplitsIntoAName) {
  // The tool passes the destination unquoted; a blank in it leaves a base
  // folder ("D:\My" is not one) and the line is refused, not misread.
  ExpectRefused("e \"C:\\PELKO\\archive.lzh\" -d -y D:\\My Restore\\",
                CommandLineError::NameWithoutBase, "D:\\My");
}

// --- switches --------------------------------------------------------------

TEST(CommandLineSwitches, StandAnywhereAfterTheCommandAndIgnoreCase) {
  const auto p = Parsed("E -Y \"C:\\a.lzh\" -JYO0 \"C:\\out\\\" -D x -JX\"*.BAK\"");
  EXPECT_EQ(p.command.kind, CommandKind::Extract);
  EXPECT_TRUE(p.command.switches.answerYes);
  EXPECT_EQ(p.command.switches.overwrite, Policy::Never);
  EXPECT_TRUE(p.command.switches.withEverythingBelow);
  EXPECT_EQ(p.command.switches.excluded, std::vector<std::string>{"*.BAK"});
  EXPECT_EQ(p.command.groups[0].names, std::vector<std::string>{"x"});
}

TEST(CommandLineSwitches, DefaultsAskAndCompareNothing) {
  const auto p = Parsed("e \"C:\\a.lzh\" C:\\out\\");
  const CommandSwitches& s = p.command.switches;
  EXPECT_EQ(s.overwrite, Policy::Ask);
  EXPECT_EQ(s.createFolder, Policy::Ask);
  EXPECT_FALSE(s.answerYes);
  EXPECT_FALSE(s.keepNewer);
  EXPECT_FALSE(s.resumeAfterBrokenHeader);
  EXPECT_FALSE(s.withEverythingBelow);
  EXPECT_EQ(s.archiveFormat, -1);
}

TEST(CommandLineSwitches, TheLastOfTwoOppositesWins) {
  const auto p = Parsed("e \"C:\\a.lzh\" -jyo -jyo0 -jyc0 -jyc -c1 -c0 -jc1 -jc0 C:\\out\\");
  EXPECT_EQ(p.command.switches.overwrite, Policy::Never);
  EXPECT_EQ(p.command.switches.createFolder, Policy::Always);
  EXPECT_FALSE(p.command.switches.keepNewer);
  EXPECT_FALSE(p.command.switches.resumeAfterBrokenHeader);
}

TEST(CommandLineSwitches, ExclusionPatternMayStandUnquotedAndKeepsBackslashes) {
  const auto p = Parsed("a \"C:\\a.lzh\" C:\\src\\ x -jx*\\*\\tmp -jx\"~$*\"");
  EXPECT_EQ(p.command.switches.excluded, (std::vector<std::string>{"*\\*\\tmp", "~$*"}));
}

// --- names and groups -------------------------------------------------------

TEST(CommandLineGroups, NamesFollowTheirBaseFolder) {
  const auto p = Parsed("e \"C:\\a.lzh\" C:\\one\\ x y\\z D:\\two\\ w");
  ASSERT_EQ(p.command.groups.size(), 2u);
  EXPECT_EQ(p.command.groups[0].names, (std::vector<std::string>{"x", "y\\z"}));
  EXPECT_EQ(p.command.groups[1].baseFolder, "D:\\two\\");
  EXPECT_EQ(p.command.groups[1].names, std::vector<std::string>{"w"});
}

TEST(CommandLineGroups, DuplicatePairsCountOnce) {
  const auto p =
      Parsed("e \"C:\\a.lzh\" \"C:\\w\\\" \"data\" \"c:\\W\\\" \"DATA\" \"C:\\w\\\" \"more\"");
  ASSERT_EQ(p.command.groups.size(), 1u);
  EXPECT_EQ(p.command.groups[0].names, (std::vector<std::string>{"data", "more"}));
}

TEST(CommandLineGroups, EverythingOfAFolderAbsorbsItsNames) {
  const auto p = Parsed("e \"C:\\a.lzh\" \"C:\\w\\\" \"data\" \"C:\\w\\\" \"D:\\x\\\" y");
  ASSERT_EQ(p.command.groups.size(), 2u);
  EXPECT_TRUE(p.command.groups[0].names.empty());
  EXPECT_EQ(p.command.groups[1].names, std::vector<std::string>{"y"});
}

TEST(CommandLineGroups, JapaneseNameEndingInTrailByte5CIsAName) {
  const auto p = Parsed("a \"C:\\a.lzh\" \"C:\\ソフト\\\" \"表\" -r2");
  ASSERT_EQ(p.command.groups.size(), 1u);
  EXPECT_EQ(p.command.groups[0].baseFolder, Sjis("C:\\ソフト\\"));
  EXPECT_EQ(p.command.groups[0].names, std::vector<std::string>{Sjis("表")});
}

// --- refused lines -----------------------------------------------------------

TEST(CommandLineErrors, EmptyAndUnknownCommands) {
  ExpectRefused("", CommandLineError::Empty);
  ExpectRefused("   \t ", CommandLineError::Empty);
  ExpectRefused("x \"C:\\a.lzh\"", CommandLineError::UnknownCommand, "x");
  ExpectRefused("add \"C:\\a.lzh\"", CommandLineError::UnknownCommand, "add");
  ExpectRefused("\"e\" \"C:\\a.lzh\"", CommandLineError::UnknownCommand, "e");
  ExpectRefused("-y e \"C:\\a.lzh\"", CommandLineError::UnknownCommand, "-y");
}

TEST(CommandLineErrors, UnknownOrMalformedSwitches) {
  ExpectRefused("e \"C:\\a.lzh\" -z", CommandLineError::UnknownSwitch, "-z");
  ExpectRefused("e \"C:\\a.lzh\" -", CommandLineError::UnknownSwitch, "-");
  ExpectRefused("e \"C:\\a.lzh\" -r3", CommandLineError::UnknownSwitch, "-r3");
  ExpectRefused("e \"C:\\a.lzh\" -jyo1", CommandLineError::UnknownSwitch, "-jyo1");
  ExpectRefused("e \"C:\\a.lzh\" -\"y\"", CommandLineError::UnknownSwitch, "-\"y\"");
  ExpectRefused("a \"C:\\a.lzh\" -jx\"\"", CommandLineError::EmptyPattern, "-jx\"\"");
  ExpectRefused("a \"C:\\a.lzh\" -jx", CommandLineError::EmptyPattern, "-jx");
  ExpectRefused("d \"C:\\a.lzh\" -data", CommandLineError::UnknownSwitch, "-data");
}

TEST(CommandLineErrors, ArchiveMissingRelativeOrAFolder) {
  ExpectRefused("e", CommandLineError::NoArchive);
  ExpectRefused("e -d -y", CommandLineError::NoArchive);
  ExpectRefused("e \"\" -d", CommandLineError::NoArchive);
  ExpectRefused("e archive.lzh", CommandLineError::ArchiveNotAbsolute, "archive.lzh");
  ExpectRefused("e \"C:archive.lzh\"", CommandLineError::ArchiveNotAbsolute, "C:archive.lzh");
  ExpectRefused("e \"C:\\PELKO\\\"", CommandLineError::ArchiveIsFolder, "C:\\PELKO\\");
  ExpectRefused("e c: x", CommandLineError::ArchiveIsFolder, "c:");
}

TEST(CommandLineErrors, NamesNeedAnAbsoluteBaseFolderForAddAndExtract) {
  ExpectRefused("a \"C:\\a.lzh\" \"memo.txt\" -r2", CommandLineError::NameWithoutBase, "memo.txt");
  ExpectRefused("e \"C:\\a.lzh\" -d \"memo.txt\"", CommandLineError::NameWithoutBase, "memo.txt");
  ExpectRefused("e \"C:\\a.lzh\" \"work\\\" \"memo.txt\"", CommandLineError::RelativeBaseFolder,
                "work\\");
  ExpectRefused("e \"C:\\a.lzh\" \"\\work\\\" \"memo.txt\"", CommandLineError::RelativeBaseFolder,
                "\\work\\");
  EXPECT_TRUE(ParseCommandLine("d \"C:\\a.lzh\" \"memo.txt\"").Ok());
  EXPECT_TRUE(ParseCommandLine("l \"C:\\a.lzh\" \"memo.txt\"").Ok());
}

TEST(CommandLineErrors, NamesMayNotClimbOutOrBeAbsolute) {
  ExpectRefused("e \"C:\\a.lzh\" C:\\w\\ ..\\x", CommandLineError::BadName, "..\\x");
  ExpectRefused("e \"C:\\a.lzh\" C:\\w\\ a\\.\\b", CommandLineError::BadName, "a\\.\\b");
  ExpectRefused("e \"C:\\a.lzh\" C:\\w\\ C:\\x", CommandLineError::BadName, "C:\\x");
  ExpectRefused("e \"C:\\a.lzh\" C:\\w\\ \\x", CommandLineError::BadName, "\\x");
  ExpectRefused("e \"C:\\a.lzh\" C:\\w\\ *.txt", CommandLineError::BadName, "*.txt");
  ExpectRefused("d \"C:\\a.lzh\" a\\\\b", CommandLineError::BadName, "a\\\\b");
}

TEST(CommandLineErrors, UnclosedQuote) {
  ExpectRefused("a \"C:\\a.lzh\" \"C:\\w\\\" \"memo.txt -r2", CommandLineError::UnclosedQuote,
                "memo.txt -r2");
}

}  // namespace
}  // namespace pelko::lzh
