#include "store/association_list.h"

#include <gtest/gtest.h>

#include "program_folder_fixture.h"
#include "store/text_lines.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::store {
namespace {

using testing::ProgramFolderTest;

using namespace std::string_literals;

std::string Sjis(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

// --- reading ---------------------------------------------------------------

using AssociationListReadTest = ProgramFolderTest;

TEST_F(AssociationListReadTest, MissingListIsNotFound) {
  EXPECT_FALSE(ReadAssociationList("DISK1").has_value());
}

TEST_F(AssociationListReadTest, LineEndsOfEveryKindEndAnEntry) {
  struct Case {
    const char* name;
    std::string content;
    AssociationList expected;
  };
  const Case cases[] = {
      {"crlf", "C:\\a\r\nC:\\b\r\n", {"C:\\a", "C:\\b"}},
      {"lone lf", "C:\\a\nC:\\b\n", {"C:\\a", "C:\\b"}},
      {"no final line end", "C:\\a\r\nC:\\b", {"C:\\a", "C:\\b"}},
      {"empty lines are empty entries", "\r\nC:\\a\r\n\n", {"", "C:\\a", ""}},
      {"duplicates stay", "c:\r\nc:\r\n", {"c:", "c:"}},
      {"lone cr inside a line is kept", "C:\\a\rb\r\n", {"C:\\a\rb"}},
      {"empty file", "", {}},
      // As the platform's text reader: a NUL ends the line's text, the next line is read.
      {"nul ends the text of its line",
       "C:\\a\0junk\\x\r\nC:\\b\r\n\0\0\0"s,
       {"C:\\a", "C:\\b", ""}},
      {"line too long to be a path is left out",
       "C:\\a\r\nC:\\" + std::string(kMaxLineTextBytes, 'x') + "\r\nC:\\b",
       {"C:\\a", "C:\\b"}},
      // The reader's block ends between the CR and the LF.
      {"cr lf across a read block",
       "C:\\" + std::string(65532, 'y') + "\r\nC:\\b\r\n",
       {"C:\\" + std::string(65532, 'y'), "C:\\b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteHostFile("DISK1.txt", c.content);
    auto entries = ReadAssociationList("DISK1");
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(*entries, c.expected);
  }
}

TEST_F(AssociationListReadTest, LinesOfAnyLengthAreRead) {
  std::string longEntry = "C:\\" + std::string(5000, 'x');
  WriteHostFile("DISK1.txt", longEntry + "\r\nC:\\short\r\n");
  auto entries = ReadAssociationList("DISK1");
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(*entries, (AssociationList{longEntry, "C:\\short"}));
}

TEST_F(AssociationListReadTest, ShiftJisEntryKeepsItsTrailByteBackslash) {
  std::string entry = Sjis("C:\\data\\表");
  WriteHostFile("DISK1.txt", entry + "\r\n");
  auto entries = ReadAssociationList("DISK1");
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(*entries, AssociationList{entry});
}

TEST_F(AssociationListReadTest, UnlabelledFloppyLooksForDotTxt) {
  EXPECT_FALSE(ReadAssociationList("").has_value());
  WriteHostFile(".txt", "c:\r\n");
  EXPECT_EQ(ReadAssociationList(""), AssociationList{"c:"});
}

// --- writing ---------------------------------------------------------------

using AssociationListWriteTest = ProgramFolderTest;

TEST_F(AssociationListWriteTest, WritesEachEntryWithCrLfInOrder) {
  ASSERT_TRUE(WriteAssociationList("DISK1", {"C:\\b", "c:", "C:\\b"}));
  EXPECT_EQ(ReadHostFile("DISK1.txt"), "C:\\b\r\nc:\r\nC:\\b\r\n");
}

TEST_F(AssociationListWriteTest, EmptyListIsAnEmptyFileThatIsFound) {
  ASSERT_TRUE(WriteAssociationList("DISK1", {}));
  EXPECT_EQ(ReadHostFile("DISK1.txt"), "");
  EXPECT_EQ(ReadAssociationList("DISK1"), AssociationList{});
}

TEST_F(AssociationListWriteTest, TruncatesAnEarlierList) {
  WriteHostFile("DISK1.txt", "C:\\old\r\nC:\\older\r\n");
  ASSERT_TRUE(WriteAssociationList("DISK1", {"C:\\new"}));
  EXPECT_EQ(ReadHostFile("DISK1.txt"), "C:\\new\r\n");
}

TEST_F(AssociationListWriteTest, ShiftJisLabelAndEntryRoundTrip) {
  std::string label = Sjis("表ラベル");
  AssociationList entries{Sjis("C:\\data\\表"), Sjis("D:\\ソフト\\予定.txt")};
  ASSERT_TRUE(WriteAssociationList(label, entries));
  EXPECT_TRUE(HostFileExists("表ラベル.txt"));
  EXPECT_EQ(ReadAssociationList(label), entries);
}

TEST_F(AssociationListWriteTest, EntryWithLineBreakIsRefusedWithoutTouchingTheList) {
  WriteHostFile("DISK1.txt", "C:\\keep\r\n");
  EXPECT_FALSE(WriteAssociationList("DISK1", {"C:\\a", "C:\\b\nC:\\c"}));
  EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_DATA);
  EXPECT_EQ(ReadHostFile("DISK1.txt"), "C:\\keep\r\n");
}

TEST_F(AssociationListWriteTest, UncreatableListIsReportedNotWritten) {
  std::filesystem::create_directory(HostPath("DISK1.txt"));  // a folder in the way
  EXPECT_FALSE(WriteAssociationList("DISK1", {"C:\\a"}));
  EXPECT_NE(win::GetLastError(), win::ERROR_SUCCESS);
}

// --- letter case -----------------------------------------------------------

using AssociationListCaseTest = ProgramFolderTest;

TEST_F(AssociationListCaseTest, ListDifferingInAsciiCaseIsTheLabelsList) {
  WriteHostFile("disk1.txt", "C:\\a\r\n");
  EXPECT_EQ(ReadAssociationList("DISK1"), AssociationList{"C:\\a"});
  EXPECT_EQ(ReadAssociationList("Disk1"), AssociationList{"C:\\a"});
}

TEST_F(AssociationListCaseTest, ListDifferingInFullWidthCaseIsTheLabelsList) {
  WriteHostFile("ｄｉｓｋ.txt", "C:\\a\r\n");
  EXPECT_EQ(ReadAssociationList(Sjis("ＤＩＳＫ")), AssociationList{"C:\\a"});
}

TEST_F(AssociationListCaseTest, KanaAndKanjiAreNotFoldedTogether) {
  WriteHostFile("あ.txt", "C:\\a\r\n");
  EXPECT_FALSE(ReadAssociationList(Sjis("ア")).has_value());
}

TEST_F(AssociationListCaseTest, WriteReplacesTheExistingListOfOtherCase) {
  WriteHostFile("disk1.txt", "C:\\old\r\n");
  ASSERT_TRUE(WriteAssociationList("DISK1", {"C:\\new"}));
  EXPECT_EQ(ReadHostFile("disk1.txt"), "C:\\new\r\n");
  EXPECT_FALSE(HostFileExists("DISK1.txt"));
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(AssociationListCaseTest, NewListTakesTheLabelsOwnBytes) {
  ASSERT_TRUE(WriteAssociationList("Disk1", {}));
  EXPECT_TRUE(HostFileExists("Disk1.txt"));
}

TEST_F(AssociationListCaseTest, ExactNameWinsWhenBothCasesExist) {
  WriteHostFile("disk1.txt", "C:\\lower\r\n");
  WriteHostFile("DISK1.txt", "C:\\upper\r\n");
  EXPECT_EQ(ReadAssociationList("DISK1"), AssociationList{"C:\\upper"});
  EXPECT_EQ(ReadAssociationList("disk1"), AssociationList{"C:\\lower"});
}

TEST_F(AssociationListCaseTest, PathNamesTheExistingFile) {
  WriteHostFile("disk1.txt", "");
  std::string path = AssociationListPath("DISK1");
  ASSERT_GE(path.size(), 9u);
  EXPECT_EQ(path.substr(path.size() - 9), "disk1.txt");
  std::string fresh = AssociationListPath("OTHER");
  EXPECT_EQ(fresh.substr(fresh.size() - 9), "OTHER.txt");
}

// --- rename and delete -----------------------------------------------------

using AssociationListRenameTest = ProgramFolderTest;

TEST_F(AssociationListRenameTest, MovesTheListToTheNewLabel) {
  WriteHostFile("OLD.txt", "C:\\a\r\n");
  ASSERT_TRUE(RenameAssociationList("OLD", "NEW"));
  EXPECT_FALSE(HostFileExists("OLD.txt"));
  EXPECT_EQ(ReadHostFile("NEW.txt"), "C:\\a\r\n");
}

TEST_F(AssociationListRenameTest, NeverReplacesAnExistingList) {
  WriteHostFile("OLD.txt", "C:\\old\r\n");
  WriteHostFile("new.txt", "C:\\new\r\n");
  EXPECT_FALSE(RenameAssociationList("OLD", "NEW"));
  EXPECT_EQ(win::GetLastError(), win::ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadHostFile("OLD.txt"), "C:\\old\r\n");
  EXPECT_EQ(ReadHostFile("new.txt"), "C:\\new\r\n");
}

TEST_F(AssociationListRenameTest, RenamingToOtherLetterCaseRenamesTheSameList) {
  WriteHostFile("disk1.txt", "C:\\a\r\n");
  ASSERT_TRUE(RenameAssociationList("DISK1", "Disk1"));
  EXPECT_EQ(ReadHostFile("Disk1.txt"), "C:\\a\r\n");
  EXPECT_FALSE(HostFileExists("disk1.txt"));
}

TEST_F(AssociationListRenameTest, RenamingToTheSameNameSucceeds) {
  WriteHostFile("DISK1.txt", "C:\\a\r\n");
  EXPECT_TRUE(RenameAssociationList("DISK1", "DISK1"));
  EXPECT_EQ(ReadHostFile("DISK1.txt"), "C:\\a\r\n");
}

TEST_F(AssociationListRenameTest, MissingListFails) {
  EXPECT_FALSE(RenameAssociationList("OLD", "NEW"));
  EXPECT_FALSE(HostFileExists("NEW.txt"));
}

TEST_F(AssociationListRenameTest, DeleteRemovesTheListOfAnyCase) {
  WriteHostFile("disk1.txt", "C:\\a\r\n");
  ASSERT_TRUE(DeleteAssociationList("DISK1"));
  EXPECT_FALSE(HostFileExists("disk1.txt"));
  EXPECT_FALSE(DeleteAssociationList("DISK1"));
}

// --- hostile labels --------------------------------------------------------

using AssociationListHostileLabelTest = ProgramFolderTest;

TEST_F(AssociationListHostileLabelTest, LabelsThatAreNoFileNameAreRefusedEverywhere) {
  const std::string hostile[] = {
      "..\\evil",  "a/b",
      "..",        ".",
      "c:x",       "a\\b",
      "tab\there", "bell\x07",
      "a*",        "a?b",
      "a|b",       "a<b>",
      "a\"b",      std::string("x\x81")};  // cut-off double-byte character
  std::filesystem::create_directory(HostPath("sub"));
  WriteHostFile("sub/evil.txt", "C:\\x\r\n");
  for (const std::string& label : hostile) {
    SCOPED_TRACE(label);
    EXPECT_FALSE(IsUsableLabelName(label));
    EXPECT_EQ(AssociationListPath(label), "");
    EXPECT_FALSE(ReadAssociationList(label).has_value());
    EXPECT_FALSE(WriteAssociationList(label, {"C:\\a"}));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_NAME);
    EXPECT_FALSE(DeleteAssociationList(label));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_NAME);
    EXPECT_FALSE(RenameAssociationList("sub", label));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_NAME);
  }
  EXPECT_FALSE(ReadAssociationList("sub\\evil").has_value());
  EXPECT_TRUE(HostFileExists("sub/evil.txt"));
  EXPECT_EQ(FileCount(), 1u);  // only the folder "sub"
  EXPECT_FALSE(std::filesystem::exists(folder_.parent_path() / "evil.txt"));
}

TEST_F(AssociationListHostileLabelTest, TrailByteBackslashIsNoSeparator) {
  EXPECT_TRUE(IsUsableLabelName(Sjis("表")));
  EXPECT_TRUE(IsUsableLabelName(Sjis("ソ能")));
  EXPECT_TRUE(IsUsableLabelName("DISK 1"));
  EXPECT_TRUE(IsUsableLabelName(""));
  EXPECT_TRUE(IsUsableLabelName("..."));
}

// FAT keeps DEL in a label as Windows does, so the disk must be able to have
// its list.
TEST_F(AssociationListHostileLabelTest, LabelWithDeleteCharacterKeepsAList) {
  const std::string label = "DISK";
  ASSERT_TRUE(WriteAssociationList(label, {"C:\a"}));
  EXPECT_EQ(ReadAssociationList(label), (AssociationList{"C:\a"}));
}

// --- split -----------------------------------------------------------------

TEST(SplitAssociationEntryTest, SplitsAtTheLastBackslash) {
  struct Case {
    std::string entry, baseFolder, entryName;
  };
  const Case cases[] = {
      {"C:\\Documents\\memo.txt", "C:\\Documents\\", "memo.txt"},
      {"c:\\work\\data", "c:\\work\\", "data"},
      {"D:\\restore\\DISK1", "D:\\restore\\", "DISK1"},
      {"c:", "", "c:"},
      {"", "", ""},
      {"C:\\", "C:\\", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    SplitEntry split = SplitAssociationEntry(c.entry);
    EXPECT_EQ(split.baseFolder, c.baseFolder);
    EXPECT_EQ(split.entryName, c.entryName);
  }
}

TEST(SplitAssociationEntryTest, SplitKeepsSecondByteOfDoubleByteCharacter) {
  SplitEntry split = SplitAssociationEntry(Sjis("C:\\data\\表"));
  EXPECT_EQ(split.baseFolder, "C:\\data\\");
  EXPECT_EQ(split.entryName, Sjis("表"));
  SplitEntry folder = SplitAssociationEntry(Sjis("C:\\表\\ソ"));
  EXPECT_EQ(folder.baseFolder, Sjis("C:\\表\\"));
  EXPECT_EQ(folder.entryName, Sjis("ソ"));
}

}  // namespace
}  // namespace pelko::store
