// The folder picker: where it starts, how double-clicks and the drive combo
// move it, and the path it hands back.
#include <gtest/gtest.h>

#include "dialogs/folder_picker_dialog.h"
#include "editor_fixture.h"
#include "support/scoped_env.h"

namespace pelko::dialogs::testing {
namespace {

using Strings = std::vector<std::string>;

class FolderPickerTest : public EditorTest {
 protected:
  FolderPickerTest() : driveD_("PELKO_DRIVE_D", dDrive_.Path()) {
    MakeFolderOnC("data/表/深い");
    MakeFolderOnC("data/a/b");
    MakeFolderOnC("データ/中");
    MakeFileOnC("data/memo.txt");
    std::filesystem::create_directories(dDrive_.Path() + "/backup/sub");
    std::filesystem::create_directories(dDrive_.Path() + "/backup2");
    std::filesystem::create_directories(dDrive_.Path() + "/other");
  }

  // Runs the picker from `start` with the script set up by the test; the
  // path it returns, or nullopt after Cancel.
  std::optional<std::string> Pick(const std::string& start) {
    CFolderPickerDialog picker;
    picker.folderPath = start;
    int result = picker.DoModal();
    ExpectScriptDone();
    if (result != ui::IDOK) return std::nullopt;
    return picker.folderPath;
  }

  // A step that notes what the picker shows: its drives, the selected
  // drive, the folder items and the path field.
  std::function<void(ui::Dialog&)> Look() {
    return [this](ui::Dialog& dialog) {
      drives_ = Items(dialog.GetComboBox(IDC_PICKER_DRIVES));
      selectedDrive_ = dialog.GetComboBox(IDC_PICKER_DRIVES).GetCurSel();
      folders_ = Items(dialog.GetListBox(IDC_PICKER_FOLDERS));
      shownPath_ = dialog.GetDlgItemText(IDC_PICKER_PATH);
    };
  }

  int Position(const std::string& item) const {
    auto at = std::find(folders_.begin(), folders_.end(), item);
    EXPECT_NE(at, folders_.end()) << item;
    return static_cast<int>(at - folders_.begin());
  }

  test::TempFolder dDrive_{"pelko-d-drive"};
  test::ScopedEnv driveD_;
  Strings drives_;
  int selectedDrive_ = -2;
  Strings folders_;
  std::string shownPath_;
};

TEST_F(FolderPickerTest, EmptyStartOpensAtRootOfSecondDrive) {
  user_.ExpectDialog(templates::IDD_FOLDER_PICKER).InDialog(Look()).Ok();
  EXPECT_EQ(Pick(""), "c:\\");
  EXPECT_EQ(drives_, (Strings{"[-a-]", "[-c-]", "[-d-]"}));
  EXPECT_EQ(selectedDrive_, 1);
  EXPECT_EQ(shownPath_, "c:\\");
  // A drive root offers no "[..]"; folders only, in the list's collation.
  EXPECT_EQ(folders_, (Strings{"[data]", "[PELKO]", J("[データ]")}));
}

TEST_F(FolderPickerTest, StartPathIsListedWhileComboStaysAtItemOne) {
  user_.ExpectDialog(templates::IDD_FOLDER_PICKER).InDialog(Look()).Ok();
  EXPECT_EQ(Pick("D:\\backup\\"), "D:\\backup\\");
  EXPECT_EQ(selectedDrive_, 1);
  EXPECT_EQ(folders_, (Strings{"[..]", "[sub]"}));
  EXPECT_EQ(shownPath_, "D:\\backup\\");
}

TEST_F(FolderPickerTest, StartPathWithoutBackslashIsUsedUnchanged) {
  // "D:\backup*.*" lists the folders of D:\ whose names begin with "backup";
  // a folder chosen there is appended right after the last character.
  user_.ExpectDialog(templates::IDD_FOLDER_PICKER)
      .InDialog(Look())
      .DoubleClick(IDC_PICKER_FOLDERS, 0)  // [backup2]
      .Ok();
  std::optional<std::string> picked = Pick("D:\\backup");
  EXPECT_EQ(folders_, (Strings{"[backup2]", "[backup]"}));
  EXPECT_EQ(picked, "D:\\backupbackup2\\");
}

TEST_F(FolderPickerTest, DoubleClicksWalkDownAndUp) {
  user_.ExpectDialog(templates::IDD_FOLDER_PICKER)
      .DoubleClick(IDC_PICKER_FOLDERS, 0)  // [data]
      .ExpectText(IDC_PICKER_PATH, "c:\\data\\")
      .InDialog(Look())
      .Run([this] {
        EXPECT_EQ(folders_, (Strings{"[..]", "[a]", J("[表]")}));
      })
      .DoubleClick(IDC_PICKER_FOLDERS, 1)  // [a]
      .DoubleClick(IDC_PICKER_FOLDERS, 1)  // [b]
      .ExpectText(IDC_PICKER_PATH, "c:\\data\\a\\b\\")
      .DoubleClick(IDC_PICKER_FOLDERS, 0)  // [..]
      .ExpectText(IDC_PICKER_PATH, "c:\\data\\a\\")
      .DoubleClick(IDC_PICKER_FOLDERS, 0)
      .DoubleClick(IDC_PICKER_FOLDERS, 0)
      .InDialog(Look())
      .Ok();
  EXPECT_EQ(Pick(""), "c:\\");
  EXPECT_EQ(folders_[0], "[data]") << "back at the root, which has no [..]";
}

TEST_F(FolderPickerTest, ParentOfDoubleByteFolderWhoseSecondByteIsBackslash) {
  // 表 is 0x95 0x5C: its second byte is not the path's backslash.
  user_.ExpectDialog(templates::IDD_FOLDER_PICKER)
      .InDialog(Look())
      .DoubleClick(IDC_PICKER_FOLDERS, 0)  // [..]
      .Ok();
  EXPECT_EQ(Pick(J("c:\\data\\表\\")), "c:\\data\\");
  EXPECT_EQ(folders_, (Strings{"[..]", J("[深い]")}));
}

TEST_F(FolderPickerTest, EnteringFolderKeepsDoubleByteCharacterWithBracketByte) {
  // ー is 0x81 0x5B: its second byte looks like "[" and must survive.
  user_.ExpectDialog(templates::IDD_FOLDER_PICKER).InDialog(Look());
  user_.Run([this] { ASSERT_EQ(folders_.back(), J("[データ]")); })
      .DoubleClick(IDC_PICKER_FOLDERS, 2)
      .ExpectText(IDC_PICKER_PATH, J("c:\\データ\\"))
      .InDialog(Look())
      .Ok();
  EXPECT_EQ(Pick(""), J("c:\\データ\\"));
  EXPECT_EQ(folders_, (Strings{"[..]", J("[中]")}));
}

TEST_F(FolderPickerTest, DriveChangeResetsPathToThatRoot) {
  user_.ExpectDialog(templates::IDD_FOLDER_PICKER)
      .DoubleClick(IDC_PICKER_FOLDERS, 0)  // [data]
      .DoubleClick(IDC_PICKER_FOLDERS, 1)  // [a]
      .Select(IDC_PICKER_DRIVES, {2})      // [-d-]
      .InDialog(Look())
      .Ok();
  EXPECT_EQ(Pick(""), "d:\\");
  EXPECT_EQ(folders_, (Strings{"[backup2]", "[backup]", "[other]"}));
  EXPECT_EQ(shownPath_, "d:\\");
}

TEST_F(FolderPickerTest, EmptyFloppyDriveLeavesListEmptyAndShowsItsRoot) {
  user_.ExpectDialog(templates::IDD_FOLDER_PICKER)
      .Select(IDC_PICKER_DRIVES, {0})
      .InDialog(Look())
      .Ok();
  EXPECT_EQ(Pick(""), "a:\\");
  EXPECT_TRUE(folders_.empty());
}

TEST_F(FolderPickerTest, TextTypedIntoDriveComboDoesNotMove) {
  user_.ExpectDialog(templates::IDD_FOLDER_PICKER).Type(IDC_PICKER_DRIVES, "[-d-]").Ok();
  EXPECT_EQ(Pick(""), "c:\\");
}

TEST_F(FolderPickerTest, CancelReturnsNothing) {
  user_.ExpectDialog(templates::IDD_FOLDER_PICKER).DoubleClick(IDC_PICKER_FOLDERS, 0).Cancel();
  EXPECT_EQ(Pick(""), std::nullopt);
}

TEST(FolderPickerPaths, ParentAtPathWithNoFolderAboveLeavesIt) {
  EXPECT_EQ(ParentFolder("c:\\"), "c:\\");
  EXPECT_EQ(ParentFolder("c:"), "c:");
  EXPECT_EQ(ParentFolder(""), "");
  EXPECT_EQ(ParentFolder("c:\\a\\"), "c:\\");
}

TEST(FolderPickerPaths, DriveItemBecomesItsRoot) {
  EXPECT_EQ(DriveItemToRoot("[-c-]"), "c:\\");
  EXPECT_EQ(DriveItemToRoot("[-a-]"), "a:\\");
}

TEST(FolderPickerPaths, FolderItemKeepsBracketsInsideItsName) {
  EXPECT_EQ(ChildFolder("c:\\", "[a[1]]"), "c:\\a[1]\\");
  EXPECT_EQ(ChildFolder("c:\\x\\", "[b]"), "c:\\x\\b\\");
}

}  // namespace
}  // namespace pelko::dialogs::testing
