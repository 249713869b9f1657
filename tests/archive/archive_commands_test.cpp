// The command lines of backup and restore, character for character, built
// from association entries as the floppy's list holds them.
#include "archive/archive_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/entry_name_clashes.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"
#include "text/code_page.h"

namespace pelko::archive {
namespace {

using Entries = store::AssociationList;
using Groups = std::vector<std::vector<std::string>>;

std::string J(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

constexpr char kWorkingCopy[] = "C:\\PELKO\\archive.lzh";

TEST(PathPairTest, QuotesSeparateBaseFolderAndEntryName) {
  EXPECT_EQ(PathPair("C:\\Documents\\memo.txt"), "C:\\Documents\\\" \"memo.txt");
  EXPECT_EQ(PathPair("c:\\work\\data"), "c:\\work\\\" \"data");
}

TEST(PathPairTest, TrailByte5CIsNoCut) {
  // 表 is 0x95 0x5C: the cut is after "data\", not inside the character.
  EXPECT_EQ(PathPair(J("C:\\data\\表")), J("C:\\data\\\" \"表"));
  EXPECT_EQ(PathPair(J("C:\\表\\ソ")), J("C:\\表\\\" \"ソ"));
}

TEST(PathPairTest, DriveRootHasEmptyBaseFolder) { EXPECT_EQ(PathPair("c:"), "\" \"c:"); }

TEST(AddCommandTest, NamesWorkingCopyPairAndSwitchesInOrder) {
  EXPECT_EQ(AddCommand(kWorkingCopy, "C:\\Documents\\memo.txt", ""),
            "a \"C:\\PELKO\\archive.lzh\" \"C:\\Documents\\\" \"memo.txt\" -r2 -x1 -a2");
  EXPECT_EQ(AddCommand(kWorkingCopy, "D:\\my data\\sub dir", " -jx\"*.bak\" -jx\"*\\tmp\""),
            "a \"C:\\PELKO\\archive.lzh\" \"D:\\my data\\\" \"sub dir\" -jx\"*.bak\" "
            "-jx\"*\\tmp\" -r2 -x1 -a2");
}

TEST(TargetPairsTest, EachEntryQuotedPairThenBlankInListOrder) {
  Entries entries{"C:\\Documents\\memo.txt", "c:\\work\\data", "C:\\Documents\\memo.txt"};
  EXPECT_EQ(TargetPairs(entries),
            "\"C:\\Documents\\\" \"memo.txt\" \"c:\\work\\\" \"data\" "
            "\"C:\\Documents\\\" \"memo.txt\" ");
  EXPECT_EQ(TargetPairs({}), "");
}

TEST(NameListTest, EachEntryNameAfterABlankInQuotes) {
  Entries entries{"C:\\Documents\\memo.txt", J("c:\\work\\表"), "c:"};
  EXPECT_EQ(NameList(entries), J(" \"memo.txt\" \"表\" \"c:\""));
  EXPECT_EQ(NameList({}), "");
}

TEST(RestoreCommandTest, ExtractToOriginCarriesSwitchesThenTargetPairs) {
  Entries entries{"C:\\Documents\\memo.txt", "c:\\work\\data"};
  EXPECT_EQ(ExtractToOriginCommand(kWorkingCopy, " -jyo0 -jyc0 -jc0 -c0 -o2", TargetPairs(entries)),
            "e \"C:\\PELKO\\archive.lzh\" -jyo0 -jyc0 -jc0 -c0 -o2 -d "
            "\"C:\\Documents\\\" \"memo.txt\" \"c:\\work\\\" \"data\" ");
}

TEST(RestoreCommandTest, ExtractToOriginWithNoEntriesNamesNothing) {
  EXPECT_EQ(ExtractToOriginCommand(kWorkingCopy, "", ""), "e \"C:\\PELKO\\archive.lzh\" -d ");
}

TEST(RestoreCommandTest, DeleteNamesEntryNamesOnly) {
  Entries entries{"C:\\Documents\\memo.txt", "c:\\work\\data"};
  EXPECT_EQ(DeleteCommand(kWorkingCopy, " -jc0 -c1 -o2", NameList(entries)),
            "d \"C:\\PELKO\\archive.lzh\" -jc0 -c1 -o2 -d -y  \"memo.txt\" \"data\"");
}

TEST(RestoreCommandTest, ExtractToDestinationQuotesTheFolder) {
  EXPECT_EQ(ExtractToDestinationCommand(kWorkingCopy, " -jyo", "D:\\my restore\\"),
            "e \"C:\\PELKO\\archive.lzh\" -jyo -d -y \"D:\\my restore\\\"");
}

TEST(RestoreCommandTest, ExtractAndAssociateEndsTargetWithBackslashInQuotes) {
  EXPECT_EQ(ExtractAndAssociateCommand(kWorkingCopy, " -c1", "D:\\Restore\\DISK1"),
            "e \"C:\\PELKO\\archive.lzh\" -c1 -d -y \"D:\\Restore\\DISK1\\\"");
}

TEST(DestinationFolderTest, EmptyIsNotSet) { EXPECT_EQ(UsableDestinationFolder(""), std::nullopt); }

TEST(DestinationFolderTest, TrailingBackslashKeptOrAdded) {
  EXPECT_EQ(UsableDestinationFolder("D:\\restore\\"), "D:\\restore\\");
  EXPECT_EQ(UsableDestinationFolder("D:\\restore"), "D:\\restore\\");
  EXPECT_EQ(UsableDestinationFolder("D:"), "D:\\");
}

TEST(DestinationFolderTest, OnePairOfSurroundingQuotesIsTakenOff) {
  EXPECT_EQ(UsableDestinationFolder("\"D:\\re store\\\""), "D:\\re store\\");
  EXPECT_EQ(UsableDestinationFolder("\"\""), std::nullopt);
  // A quote left over would end the quoted folder and let the rest read as switches.
  EXPECT_EQ(UsableDestinationFolder("D:\\x\" -jyo \"y\\"), std::nullopt);
}

TEST(DestinationFolderTest, TrailByte5CIsNotATrailingBackslash) {
  EXPECT_EQ(UsableDestinationFolder(J("D:\\表")), J("D:\\表\\"));
  EXPECT_EQ(UsableDestinationFolder(J("D:\\表\\")), J("D:\\表\\"));
}

TEST(EntryNameClashTest, SameNameUnderTwoBaseFoldersClashes) {
  Entries entries{"C:\\a\\memo.txt", "C:\\work\\data", "D:\\b\\memo.txt"};
  EXPECT_EQ(FindEntryNameClashes(entries), (Groups{{"C:\\a\\memo.txt", "D:\\b\\memo.txt"}}));
}

TEST(EntryNameClashTest, LetterCaseOfNamesIsIgnoredAsTheArchiveIgnoresIt) {
  Entries entries{"C:\\a\\Data", "D:\\b\\DATA", "E:\\c\\data"};
  EXPECT_EQ(FindEntryNameClashes(entries), (Groups{{"C:\\a\\Data", "D:\\b\\DATA", "E:\\c\\data"}}));
}

TEST(EntryNameClashTest, SameEntryTwiceIsNoClash) {
  Entries entries{"C:\\a\\memo.txt", "C:\\a\\memo.txt", "c:\\A\\MEMO.TXT"};
  EXPECT_TRUE(FindEntryNameClashes(entries).empty());
}

TEST(EntryNameClashTest, RepeatedEntryIsNamedOnceInItsGroup) {
  Entries entries{"C:\\a\\memo.txt", "D:\\b\\memo.txt", "C:\\a\\memo.txt"};
  EXPECT_EQ(FindEntryNameClashes(entries), (Groups{{"C:\\a\\memo.txt", "D:\\b\\memo.txt"}}));
}

TEST(EntryNameClashTest, SeparateGroupsInListOrder) {
  Entries entries{"C:\\x\\b", "C:\\x\\a", "D:\\y\\a", "D:\\y\\b"};
  EXPECT_EQ(FindEntryNameClashes(entries),
            (Groups{{"C:\\x\\b", "D:\\y\\b"}, {"C:\\x\\a", "D:\\y\\a"}}));
}

TEST(EntryNameClashTest, DoubleByteNamesCompareWhole) {
  // 表 and ソ both end in 0x5C; different characters never clash.
  Entries entries{J("C:\\a\\表"), J("D:\\b\\ソ"), J("E:\\表\\x"), J("F:\\ソ\\x")};
  EXPECT_EQ(FindEntryNameClashes(entries), (Groups{{J("E:\\表\\x"), J("F:\\ソ\\x")}}));
}

TEST(EntryNameClashTest, DifferentNamesAndNestedEntriesDoNotClash) {
  test::TestProgramFolder home;  // "c:" holds what an empty drive C: holds
  Entries entries{"C:\\a\\data", "C:\\a\\data\\sub", "C:\\memo.txt", "c:"};
  EXPECT_TRUE(FindEntryNameClashes(entries).empty());
}

// A name-less entry (a drive root, or an entry ending in a backslash) stores
// every name its folder holds, with no folder before it.
TEST(EntryNameClashTest, NameLessEntryHoldsEveryNameOfItsFolder) {
  test::TestProgramFolder home;
  test::TempFolder driveD("drive-d");
  test::ScopedEnv mapD("PELKO_DRIVE_D", driveD.Path());
  for (const std::string& folder : {home.CDriveHostPath() + "/work/docs", driveD.Sub("docs")}) {
    std::filesystem::create_directories(folder);
  }
  struct Case {
    const char* name;
    Entries entries;
    Groups expected;
  };
  const Case cases[] = {
      {"drive root alone", {"d:"}, {}},
      {"drive root and a name it holds", {"C:\\work\\docs", "d:"}, {{"C:\\work\\docs", "d:"}}},
      {"drive root and a name it does not hold", {"d:", "C:\\data"}, {}},
      {"drive root and an entry of its own", {"d:", "D:\\docs"}, {}},
      {"one drive root written twice", {"d:", "D:\\", "D:"}, {}},
      {"two drive roots, whatever they hold", {"c:", "D:"}, {{"c:", "D:"}}},
      {"folder ending in a backslash", {"C:\\work\\", "D:\\docs"}, {{"C:\\work\\", "D:\\docs"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindEntryNameClashes(c.entries), c.expected);
  }
}

}  // namespace
}  // namespace pelko::archive
