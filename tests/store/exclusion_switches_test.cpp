#include "store/exclusion_switches.h"

#include <gtest/gtest.h>

#include <string>

#include "program_folder_fixture.h"
#include "text/win_error.h"

namespace pelko::store {
namespace {

std::string Entry(std::string_view text) {
  std::string field(text);
  field.resize(kExclusionEntrySize, '\0');
  return field;
}

std::string FilesBytes(int enabled, std::initializer_list<std::string_view> entries) {
  std::string bytes(4, '\0');
  bytes[0] = static_cast<char>(enabled);
  for (auto entry : entries) bytes += Entry(entry);
  return bytes;
}

std::string FoldersBytes(int depth, std::initializer_list<std::string_view> entries) {
  std::string bytes(1, static_cast<char>(depth));
  for (auto entry : entries) bytes += Entry(entry);
  return bytes;
}

// --- the switch string from the lists --------------------------------------

TEST(ExclusionSwitchesTest, FilePatternsThenEveryLevelOfEachFolder) {
  ExcludedFilesList files{1, {"*.bak", "~*"}};
  ExcludedFoldersList folders{3, {"tmp", "obj"}};
  EXPECT_EQ(BuildExclusionSwitches(files, folders),
            " -jx\"*.bak\" -jx\"~*\""
            " -jx\"*\\tmp\" -jx\"*\\*\\tmp\" -jx\"*\\*\\*\\tmp\""
            " -jx\"*\\obj\" -jx\"*\\*\\obj\" -jx\"*\\*\\*\\obj\"");
}

TEST(ExclusionSwitchesTest, EntryWithAQuoteIsLeftOutRatherThanEndingTheSwitch) {
  ExcludedFilesList files{1, {"a\" -d \"C:\\", "*.bak"}};
  ExcludedFoldersList folders{2, {"x\"y", "tmp"}};
  EXPECT_EQ(BuildExclusionSwitches(files, folders), " -jx\"*.bak\" -jx\"*\\tmp\" -jx\"*\\*\\tmp\"");
}

TEST(ExclusionSwitchesTest, EmptyFileEntryIsLeftOutRatherThanRefusingTheAdd) {
  EXPECT_EQ(BuildExclusionSwitches(ExcludedFilesList{1, {"", "*.bak"}}, ExcludedFoldersList{1, {}}),
            " -jx\"*.bak\"");
}

TEST(ExclusionSwitchesTest, SearchDepthOneGivesOneSwitchPerFolder) {
  EXPECT_EQ(BuildExclusionSwitches(ExcludedFilesList{1, {}}, ExcludedFoldersList{1, {"tmp", "x"}}),
            " -jx\"*\\tmp\" -jx\"*\\x\"");
}

TEST(ExclusionSwitchesTest, DisabledExclusionGivesNothingWhateverTheListsHold) {
  EXPECT_EQ(
      BuildExclusionSwitches(ExcludedFilesList{0, {"*.bak"}}, ExcludedFoldersList{5, {"tmp"}}), "");
}

TEST(ExclusionSwitchesTest, MissingListsGiveWhatTheOthersHold) {
  EXPECT_EQ(BuildExclusionSwitches(std::nullopt, ExcludedFoldersList{2, {"tmp"}}), "");
  EXPECT_EQ(BuildExclusionSwitches(ExcludedFilesList{1, {"*.bak"}}, std::nullopt), " -jx\"*.bak\"");
}

TEST(ExclusionSwitchesTest, SearchDepthOutsideOneToTenIsClamped) {
  EXPECT_EQ(BuildExclusionSwitches(ExcludedFilesList{1, {}}, ExcludedFoldersList{0, {"t"}}),
            " -jx\"*\\t\"");
  std::string deepest =
      BuildExclusionSwitches(ExcludedFilesList{1, {}}, ExcludedFoldersList{200, {"t"}});
  std::string expected;
  std::string prefix;
  for (int level = 0; level < 10; ++level) {
    prefix += "*\\";
    expected += " -jx\"" + prefix + "t\"";
  }
  EXPECT_EQ(deepest, expected);
}

// --- from the files --------------------------------------------------------

using ExclusionSwitchesFileTest = testing::ProgramFolderTest;

TEST_F(ExclusionSwitchesFileTest, NoFilesListNoSwitches) {
  WriteHostFile("ExtFolder.exc", FoldersBytes(3, {"tmp"}));
  EXPECT_EQ(BuildExclusionSwitches(), "");
}

TEST_F(ExclusionSwitchesFileTest, FilesListHoldingOnlyItsFlagStillGivesFolderPatterns) {
  WriteHostFile("ExtFiles.exc", FilesBytes(1, {}));
  WriteHostFile("ExtFolder.exc", FoldersBytes(2, {"tmp"}));
  EXPECT_EQ(BuildExclusionSwitches(), " -jx\"*\\tmp\" -jx\"*\\*\\tmp\"");
}

TEST_F(ExclusionSwitchesFileTest, DisabledFlagIgnoresFullLists) {
  WriteHostFile("ExtFiles.exc", FilesBytes(0, {"*.bak", "*.tmp"}));
  WriteHostFile("ExtFolder.exc", FoldersBytes(3, {"tmp"}));
  EXPECT_EQ(BuildExclusionSwitches(), "");
}

TEST_F(ExclusionSwitchesFileTest, NoFoldersListGivesFilePatternsOnly) {
  WriteHostFile("ExtFiles.exc", FilesBytes(1, {"*.bak"}));
  EXPECT_EQ(BuildExclusionSwitches(), " -jx\"*.bak\"");
}

TEST_F(ExclusionSwitchesFileTest, OddFilesAreReadOnlyAsFarAsTheyHoldWholeFields) {
  // Bytes after an entry's NUL are ignored; a partial entry at the end is not one.
  std::string files = FilesBytes(1, {});
  files += std::string("a.b\0junkjunk", 12) + std::string(13, 'z');
  files += "partial";
  WriteHostFile("ExtFiles.exc", files);
  WriteHostFile("ExtFolder.exc", FoldersBytes(1, {"tmp"}) + "par");
  EXPECT_EQ(BuildExclusionSwitches(), " -jx\"a.b\" -jx\"*\\tmp\"");

  WriteHostFile("ExtFiles.exc", std::string("\x01\x00", 2));  // flag cut off: off
  EXPECT_EQ(BuildExclusionSwitches(), "");
  WriteHostFile("ExtFiles.exc", FilesBytes(1, {"x"}));
  WriteHostFile("ExtFolder.exc", "");  // depth cut off: no folder entries either
  EXPECT_EQ(BuildExclusionSwitches(), " -jx\"x\"");
}

TEST_F(ExclusionSwitchesFileTest, EmptyEntriesAreLeftOutAndOnlyTheFirst10000Count) {
  // An empty entry would refuse every add (-jx"") or exclude everything (-jx"*\").
  WriteHostFile("ExtFiles.exc", FilesBytes(1, {"", "*.bak", ""}));
  WriteHostFile("ExtFolder.exc", FoldersBytes(2, {"", "tmp"}));
  EXPECT_EQ(BuildExclusionSwitches(), " -jx\"*.bak\" -jx\"*\\tmp\" -jx\"*\\*\\tmp\"");
  EXPECT_EQ(ReadExcludedFilesList(), (ExcludedFilesList{1, {"*.bak"}}));
  EXPECT_EQ(ReadExcludedFoldersList(), (ExcludedFoldersList{2, {"tmp"}}));

  std::string many = FilesBytes(1, {});
  for (std::size_t k = 0; k < kMaxExclusionEntries; ++k) many += Entry("f" + std::to_string(k));
  WriteHostFile("ExtFiles.exc", many + Entry("beyond"));
  std::optional<ExcludedFilesList> files = ReadExcludedFilesList();
  ASSERT_TRUE(files);
  ASSERT_EQ(files->entries.size(), kMaxExclusionEntries);
  EXPECT_EQ(files->entries.back(), "f9999");
}

TEST_F(ExclusionSwitchesFileTest, EntryWithoutTerminatorIsCutTo24Bytes) {
  WriteHostFile("ExtFiles.exc", FilesBytes(1, {}) + std::string(25, 'q'));
  EXPECT_EQ(BuildExclusionSwitches(), " -jx\"" + std::string(24, 'q') + "\"");
}

// --- the lists' own layout -------------------------------------------------

using ExclusionListsFileTest = testing::ProgramFolderTest;

TEST_F(ExclusionListsFileTest, WrittenListsHaveTheKnownBytes) {
  ASSERT_TRUE(WriteExcludedFilesList(ExcludedFilesList{1, {"*.bak", std::string(24, 'w')}}));
  EXPECT_EQ(ReadHostFile("ExtFiles.exc"), FilesBytes(1, {"*.bak", std::string(24, 'w')}));
  ASSERT_TRUE(WriteExcludedFoldersList(ExcludedFoldersList{10, {"tmp"}}));
  EXPECT_EQ(ReadHostFile("ExtFolder.exc"), FoldersBytes(10, {"tmp"}));
  ASSERT_TRUE(WriteExcludedFoldersList(ExcludedFoldersList{5, {}}));
  EXPECT_EQ(ReadHostFile("ExtFolder.exc"), std::string(1, '\x05'));
}

TEST_F(ExclusionListsFileTest, ListsRoundTrip) {
  ExcludedFilesList files{1, {"*.bak", "~*", ""}};
  ExcludedFoldersList folders{7, {"obj", "tmp"}};
  ASSERT_TRUE(WriteExcludedFilesList(files));
  ASSERT_TRUE(WriteExcludedFoldersList(folders));
  // The empty entry is stored as given but not read back: it names nothing.
  EXPECT_EQ(ReadExcludedFilesList(), (ExcludedFilesList{1, {"*.bak", "~*"}}));
  EXPECT_EQ(ReadExcludedFoldersList(), folders);
}

TEST_F(ExclusionListsFileTest, MissingListsAreReportedAndDecodeDefaultsAreTheDialogs) {
  EXPECT_FALSE(ReadExcludedFilesList().has_value());
  EXPECT_FALSE(ReadExcludedFoldersList().has_value());
  EXPECT_EQ(DecodeExcludedFilesList(""), ExcludedFilesList{});
  EXPECT_EQ(DecodeExcludedFoldersList("").searchDepth, 5);
}

TEST_F(ExclusionListsFileTest, OverlongEntryOrBadDepthIsRefusedBeforeTheFileIsTouched) {
  WriteHostFile("ExtFiles.exc", FilesBytes(1, {"kept"}));
  WriteHostFile("ExtFolder.exc", FoldersBytes(3, {"kept"}));
  EXPECT_FALSE(WriteExcludedFilesList(ExcludedFilesList{1, {std::string(25, 'x')}}));
  EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_DATA);
  EXPECT_FALSE(WriteExcludedFoldersList(ExcludedFoldersList{3, {std::string(25, 'x')}}));
  EXPECT_FALSE(WriteExcludedFoldersList(ExcludedFoldersList{0, {"tmp"}}));
  EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(WriteExcludedFoldersList(ExcludedFoldersList{11, {"tmp"}}));
  EXPECT_EQ(ReadHostFile("ExtFiles.exc"), FilesBytes(1, {"kept"}));
  EXPECT_EQ(ReadHostFile("ExtFolder.exc"), FoldersBytes(3, {"kept"}));
}

}  // namespace
}  // namespace pelko::store
