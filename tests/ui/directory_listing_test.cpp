// Drive and directory listings of list and combo boxes, on host folders
// mapped to drive letters and on a floppy image in drive A:.
#include "ui/directory_listing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "templates/templates.h"
#include "text/code_page.h"
#include "ui/dialog.h"
#include "ui/headless/headless_host.h"

namespace pelko::ui {
namespace {

using headless::HeadlessHost;
using headless::ScriptedUser;
using test::RunCommand;
using test::ScopedEnv;
using test::ShellQuote;
using test::TempFolder;

std::string J(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

class DirectoryListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(c_.Sub("data/inner"));
    std::filesystem::create_directories(c_.Sub("Backup1"));
    std::filesystem::create_directories(c_.Sub("backup2"));
    std::filesystem::create_directories(c_.Sub("表"));
    std::filesystem::create_directories(c_.Sub("\xF0\x9F\x98\x80"));  // no Shift-JIS form
    test::WriteHostFile(c_.Sub("memo.txt"), "memo");
    test::WriteHostFile(c_.Sub("noext"), "x");
    std::filesystem::create_directories(d_.Sub("x"));
    std::string image = ShellQuote(image_.Sub("A.img"));
    ASSERT_EQ(
        RunCommand("mformat -C -f 1440 -i " + image + " -v LISTING :: && mmd -i " + image +
                   " ::/SUB ::/SUB/DEEP ::/HID && mattrib -i " + image + " +h ::/HID && echo x > " +
                   ShellQuote(image_.Sub("f.txt")) + " && mcopy -i " + image + " " +
                   ShellQuote(image_.Sub("f.txt")) + " ::/FILE.TXT")
            .exitCode,
        0);
  }

  std::vector<std::string> List(unsigned flags, std::string_view pattern, bool* listed = nullptr) {
    std::vector<std::string> items;
    bool ok = DirectoryListing(pattern, flags, items);
    if (listed) *listed = ok;
    return items;
  }

  TempFolder c_{"pelko-ui-c"};
  TempFolder d_{"pelko-ui-d"};
  TempFolder image_{"pelko-ui-a"};
  ScopedEnv driveA_{"PELKO_DRIVE_A", image_.Sub("A.img")};
  ScopedEnv driveC_{"PELKO_DRIVE_C", c_.Path()};
  ScopedEnv driveD_{"PELKO_DRIVE_D", d_.Path()};
  ScopedEnv driveE_{"PELKO_DRIVE_E", std::nullopt};
};

TEST_F(DirectoryListingTest, DrivesAreListedAsLowerCaseLettersInBrackets) {
  EXPECT_EQ(List(DDL_DRIVES | DDL_EXCLUSIVE, "*.*"),
            (std::vector<std::string>{"[-a-]", "[-c-]", "[-d-]"}));
}

TEST_F(DirectoryListingTest, FoldersOnlyAtARootHaveNoParentItem) {
  EXPECT_EQ(List(DDL_DIRECTORY | DDL_EXCLUSIVE, "c:\\*.*"),
            (std::vector<std::string>{"[Backup1]", "[backup2]", "[data]", "[" + J("表") + "]"}));
}

TEST_F(DirectoryListingTest, ASubfolderListsItsParentFirst) {
  EXPECT_EQ(List(DDL_DIRECTORY | DDL_EXCLUSIVE, "C:\\data\\*.*"),
            (std::vector<std::string>{"[..]", "[inner]"}));
  EXPECT_EQ(List(DDL_DIRECTORY | DDL_EXCLUSIVE, "c:\\data\\inner\\*.*"),
            (std::vector<std::string>{"[..]"}));
}

TEST_F(DirectoryListingTest, APatternWithoutItsBackslashMatchesNamesThatBeginWithIt) {
  // "D:\backup" without a trailing backslash lists "D:\backup*.*".
  EXPECT_EQ(List(DDL_DIRECTORY | DDL_EXCLUSIVE, "c:\\backup*.*"),
            (std::vector<std::string>{"[Backup1]", "[backup2]"}));
}

TEST_F(DirectoryListingTest, WithoutExclusiveFilesComeToo) {
  EXPECT_EQ(List(DDL_DIRECTORY, "c:\\*.*"),
            (std::vector<std::string>{"memo.txt", "noext", "[Backup1]", "[backup2]", "[data]",
                                      "[" + J("表") + "]"}));
}

TEST_F(DirectoryListingTest, AMissingFolderListsNothing) {
  bool listed = true;
  EXPECT_TRUE(List(DDL_DIRECTORY | DDL_EXCLUSIVE, "c:\\nowhere\\*.*", &listed).empty());
  EXPECT_FALSE(listed);
  EXPECT_TRUE(List(DDL_DIRECTORY | DDL_EXCLUSIVE, "q:\\*.*", &listed).empty());
  EXPECT_FALSE(listed);
}

TEST_F(DirectoryListingTest, TheFloppyListsItsFoldersButNotHiddenOnes) {
  EXPECT_EQ(List(DDL_DIRECTORY | DDL_EXCLUSIVE, "a:\\*.*"), (std::vector<std::string>{"[SUB]"}));
  EXPECT_EQ(List(DDL_DIRECTORY | DDL_EXCLUSIVE | DDL_HIDDEN, "a:\\*.*"),
            (std::vector<std::string>{"[HID]", "[SUB]"}));
  EXPECT_EQ(List(DDL_DIRECTORY | DDL_EXCLUSIVE, "a:\\SUB\\*.*"),
            (std::vector<std::string>{"[..]", "[DEEP]"}));
}

TEST_F(DirectoryListingTest, AnEmptyFloppyDriveListsNothing) {
  ScopedEnv noDisk("PELKO_DRIVE_A", image_.Sub("missing.img"));
  bool listed = true;
  EXPECT_TRUE(List(DDL_DIRECTORY | DDL_EXCLUSIVE, "a:\\*.*", &listed).empty());
  EXPECT_FALSE(listed);
}

TEST_F(DirectoryListingTest, ListControlsSortTheListingIn) {
  ScriptedUser user;
  std::vector<std::string> combo, list;
  int last = 0;
  user.ExpectDialog(131)
      .InDialog([&](Dialog& dialog) {
        ComboBox drives = dialog.GetComboBox(1006);
        drives.Dir(DDL_DRIVES | DDL_EXCLUSIVE, "*.*");
        for (int i = 0; i < drives.GetCount(); ++i) combo.push_back(drives.GetLBText(i));
        ListBox folders = dialog.GetListBox(1007);
        folders.AddString("[zzz]");
        last = folders.Dir(DDL_DIRECTORY | DDL_EXCLUSIVE, "c:\\data\\*.*");
        for (int i = 0; i < folders.GetCount(); ++i) list.push_back(folders.GetText(i));
      })
      .Cancel();
  HeadlessHost host(user);
  Dialog dialog(templates::FolderPickerTemplate());
  dialog.DoModal();
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(combo, (std::vector<std::string>{"[-a-]", "[-c-]", "[-d-]"}));
  EXPECT_EQ(list, (std::vector<std::string>{"[..]", "[inner]", "[zzz]"}));
  EXPECT_EQ(last, 1);  // the position of the last item added, [inner]
}

TEST(Wildcard, StarDotStarTakesEveryNameAndQuestionMarkOneCharacter) {
  EXPECT_TRUE(MatchesWildcard("*.*", "noext"));
  EXPECT_TRUE(MatchesWildcard("*.*", ".."));
  EXPECT_TRUE(MatchesWildcard("memo.*", "MEMO"));
  EXPECT_TRUE(MatchesWildcard("memo.*", "memo.txt"));
  EXPECT_FALSE(MatchesWildcard("memo.*", "memos"));
  EXPECT_TRUE(MatchesWildcard("?.txt", J("表.txt")));  // one double-byte character
  EXPECT_FALSE(MatchesWildcard("?.txt", "ab.txt"));
  EXPECT_TRUE(MatchesWildcard("*\\", J("表\\")));
  EXPECT_FALSE(MatchesWildcard("backup*", ".."));
}

}  // namespace
}  // namespace pelko::ui
