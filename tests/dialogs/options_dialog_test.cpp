// "オプション": what the options dialog shows of the three option files, its
// enabling rules and editing, and the files it leaves, byte for byte.
#include "dialogs/options_dialog.h"

#include <gtest/gtest.h>

#include "dialogs/folder_picker_dialog.h"
#include "editor_fixture.h"
#include "res/texts_dialogs.h"
#include "res/texts_editors.h"

namespace pelko::dialogs::testing {
namespace {

using Strings = std::vector<std::string>;
using namespace std::string_literals;

constexpr int kExclusionControls[] = {1023, 1002, 1004, 1026, 1024, 1003, 1005, 1027, 1028};

// Little-endian int32 and fixed text fields, written out by hand.
std::string Int32(std::uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return bytes;
}
std::string Field(std::string_view text, std::size_t size) {
  std::string bytes(text);
  bytes.resize(size, '\0');
  return bytes;
}
std::string Entry(std::string_view text) { return Field(text, 25); }

// Everything the dialog shows that a test looks at.
struct OptionsView {
  std::vector<int> checked;  // the checked buttons among radios and check boxes
  int format = -2;
  std::string formatText;
  std::string destination;
  bool destinationEnabled = false;
  bool browseEnabled = false;
  std::vector<bool> exclusionEnabled;
  Strings files, folders;
  std::vector<int> selectedFiles;
  std::string depth;
  int focus = 0;
};

class OptionsDialogTest : public EditorTest {
 protected:
  std::function<void(ui::Dialog&)> Look(OptionsView& view) {
    return [&view](ui::Dialog& dialog) {
      view = OptionsView{};
      for (int id : {1010, 1011, 1012, 1014, 1015, 1016, 1018, 1021, 1022, 1029}) {
        if (dialog.IsDlgButtonChecked(id)) view.checked.push_back(id);
      }
      view.format = dialog.GetComboBox(IDC_ARCHIVE_FORMAT).GetCurSel();
      view.formatText = dialog.GetDlgItemText(IDC_ARCHIVE_FORMAT);
      view.destination = dialog.GetDlgItemText(IDC_DESTINATION);
      view.destinationEnabled = dialog.IsDlgItemEnabled(IDC_DESTINATION);
      view.browseEnabled = dialog.IsDlgItemEnabled(IDC_BROWSE);
      for (int id : kExclusionControls)
        view.exclusionEnabled.push_back(dialog.IsDlgItemEnabled(id));
      ui::ListBox files = dialog.GetListBox(IDC_EXCLUDED_FILES);
      view.files = Items(files);
      for (int i = 0; i < files.GetCount(); ++i) {
        if (files.GetSel(i) > 0) view.selectedFiles.push_back(i);
      }
      view.folders = Items(dialog.GetListBox(IDC_EXCLUDED_FOLDERS));
      view.depth = dialog.GetDlgItemText(IDC_SEARCH_DEPTH);
      view.focus = dialog.Window()->FocusedControl();
    };
  }

  void OpenOptions() { user_.Press(app::IDC_OPTIONS).ExpectDialog(templates::IDD_OPTIONS); }

  void RunAndFinish() {
    RunMainWindow();
    ExpectScriptDone();
  }

  // Three option files of known bytes, as an earlier OK could have left them.
  void StoreKnownOptions() {
    WriteStored("PELKO.opt", kKnownRecord);
    WriteStored("ExtFiles.exc", kKnownFiles);
    WriteStored("ExtFolder.exc", kKnownFolders);
  }
  void ExpectKnownOptionsUnchanged() {
    EXPECT_EQ(ReadStored("PELKO.opt"), kKnownRecord);
    EXPECT_EQ(ReadStored("ExtFiles.exc"), kKnownFiles);
    EXPECT_EQ(ReadStored("ExtFolder.exc"), kKnownFolders);
  }

  // Always overwrite, never create, broken headers on, third format, extract
  // unassociated on, keep newer off, destination D:\restore\.
  const std::string kKnownRecord =
      "\x00\x02"s + Int32(1) + "\x02"s + Int32(1) + Int32(0) + Field("D:\\restore\\", 500);
  const std::string kKnownFiles = Int32(1) + Entry("*.bak") + Entry("tmp.*");
  const std::string kKnownFolders = "\x03"s + Entry("cache");
  const std::string kDefaultRecord =
      "\x01\x01"s + Int32(0) + "\x00"s + Int32(0) + Int32(1) + Field("", 500);
};

TEST_F(OptionsDialogTest, FirstOpeningShowsDefaultsAndOkWritesThreeFiles) {
  OptionsView view;
  OpenOptions();
  user_.InDialog(Look(view)).Ok();
  RunAndFinish();
  EXPECT_EQ(view.checked, (std::vector<int>{1011, 1015, 1029}));
  EXPECT_EQ(view.format, 0);
  EXPECT_EQ(view.formatText, "LHA v2.13 " + J("互換"));
  EXPECT_EQ(view.destination, "");
  EXPECT_FALSE(view.destinationEnabled);
  EXPECT_FALSE(view.browseEnabled);
  EXPECT_EQ(view.exclusionEnabled, std::vector<bool>(9, false));
  EXPECT_TRUE(view.files.empty());
  EXPECT_TRUE(view.folders.empty());
  EXPECT_EQ(view.depth, "5");

  std::optional<std::string> record = ReadStored("PELKO.opt");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->size(), 515u);
  EXPECT_EQ(record->substr(0, 15), "\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00"s);
  EXPECT_EQ(record->substr(15), std::string(500, '\0'));
  EXPECT_EQ(ReadStored("ExtFiles.exc"), std::string(4, '\0'));
  EXPECT_EQ(ReadStored("ExtFolder.exc"), "\x05"s);
}

TEST_F(OptionsDialogTest, StoredFilesAreShownAndWrittenBackByteForByte) {
  StoreKnownOptions();
  OptionsView view;
  OpenOptions();
  user_.InDialog(Look(view)).Ok();
  RunAndFinish();
  EXPECT_EQ(view.checked, (std::vector<int>{1010, 1016, 1018, 1021, 1022}));
  EXPECT_EQ(view.format, 2);
  EXPECT_EQ(view.destination, "D:\\restore\\");
  EXPECT_TRUE(view.destinationEnabled);
  EXPECT_TRUE(view.browseEnabled);
  EXPECT_EQ(view.exclusionEnabled, std::vector<bool>(9, true));
  EXPECT_EQ(view.files, (Strings{"*.bak", "tmp.*"}));
  EXPECT_EQ(view.folders, (Strings{"cache"}));
  EXPECT_EQ(view.depth, "3");
  ExpectKnownOptionsUnchanged();
}

TEST_F(OptionsDialogTest, EmptyEntriesOfDamagedListsAreNeitherShownNorWrittenBack) {
  StoreKnownOptions();
  WriteStored("ExtFiles.exc", Int32(1) + Entry("") + Entry("*.bak") + Entry("") + Entry("tmp.*"));
  WriteStored("ExtFolder.exc", "\x03"s + Entry("cache") + Entry(""));
  OptionsView view;
  OpenOptions();
  user_.InDialog(Look(view)).Ok();
  RunAndFinish();
  EXPECT_EQ(view.files, (Strings{"*.bak", "tmp.*"}));
  EXPECT_EQ(view.folders, (Strings{"cache"}));
  ExpectKnownOptionsUnchanged();
}

TEST_F(OptionsDialogTest, ModeByteOutsideZeroToTwoOpensWithMiddleRadio) {
  WriteStored("PELKO.opt", "\x07\xFF"s + kDefaultRecord.substr(2));
  OptionsView view;
  OpenOptions();
  user_.InDialog(Look(view)).Ok();
  RunAndFinish();
  EXPECT_EQ(view.checked, (std::vector<int>{1011, 1015, 1029}));
  EXPECT_EQ(ReadStored("PELKO.opt"), kDefaultRecord);
}

TEST_F(OptionsDialogTest, RadiosAndCheckBoxesAreStoredWhereTheLayoutSays) {
  OpenOptions();
  user_.Press(1012)
      .Press(1014)
      .Press(IDC_IGNORE_BROKEN_HEADERS)
      .Select(IDC_ARCHIVE_FORMAT, {1})
      .Press(IDC_EXTRACT_UNASSOCIATED)
      .Type(IDC_DESTINATION, J("D:\\復元\\"))
      .Press(IDC_KEEP_NEWER)
      .Ok();
  RunAndFinish();
  EXPECT_EQ(ReadStored("PELKO.opt"),
            "\x02\x00"s + Int32(1) + "\x01"s + Int32(1) + Int32(0) + Field(J("D:\\復元\\"), 500));
}

TEST_F(OptionsDialogTest, EnablingRulesFollowTheirCheckBoxes) {
  OptionsView on, off;
  OpenOptions();
  user_.Press(IDC_EXTRACT_UNASSOCIATED)
      .Press(IDC_EXCLUDE_NAMES)
      .InDialog(Look(on))
      .Press(IDC_EXTRACT_UNASSOCIATED)
      .Press(IDC_EXCLUDE_NAMES)
      .InDialog(Look(off))
      .Cancel();
  RunAndFinish();
  EXPECT_TRUE(on.destinationEnabled && on.browseEnabled);
  EXPECT_EQ(on.exclusionEnabled, std::vector<bool>(9, true));
  EXPECT_FALSE(off.destinationEnabled || off.browseEnabled);
  EXPECT_EQ(off.exclusionEnabled, std::vector<bool>(9, false));
}

TEST_F(OptionsDialogTest, NewEntriesLoseTheirBlanksAndDuplicatesAreKept) {
  OptionsView view;
  OpenOptions();
  user_.Press(IDC_EXCLUDE_NAMES)
      .Type(IDC_NEW_EXCLUDED_FILE, " a b ")
      .Press(IDC_ADD_EXCLUDED_FILE)
      .ExpectText(IDC_NEW_EXCLUDED_FILE, "ab")  // shown without blanks, not cleared
      .Press(IDC_ADD_EXCLUDED_FILE)
      .Type(IDC_NEW_EXCLUDED_FILE, "   ")
      .Press(IDC_ADD_EXCLUDED_FILE)
      .Type(IDC_NEW_EXCLUDED_FOLDER, " t m p ")
      .Press(IDC_ADD_EXCLUDED_FOLDER)
      .Type(IDC_NEW_EXCLUDED_FOLDER, "Cache")
      .Press(IDC_ADD_EXCLUDED_FOLDER)
      .InDialog(Look(view))
      .Ok();
  RunAndFinish();
  EXPECT_EQ(view.files, (Strings{"ab", "ab"}));
  EXPECT_EQ(view.folders, (Strings{"Cache", "tmp"}));
  EXPECT_EQ(ReadStored("ExtFiles.exc"), Int32(1) + Entry("ab") + Entry("ab"));
  EXPECT_EQ(ReadStored("ExtFolder.exc"), "\x05"s + Entry("Cache") + Entry("tmp"));
}

TEST_F(OptionsDialogTest, ExcludedNameLongerThan24BytesIsRefusedAtAdd) {
  std::string longest = std::string(24, 'n');
  std::string doubleByte12 = J("長い名前の除外フォルダ名前");  // 13 characters, 26 bytes
  ASSERT_EQ(doubleByte12.size(), 26u);
  OptionsView view;
  OpenOptions();
  user_.Press(IDC_EXCLUDE_NAMES)
      .Type(IDC_NEW_EXCLUDED_FILE, std::string(25, 'n'))
      .Press(IDC_ADD_EXCLUDED_FILE)
      .AnswerMessageBox(J(res::kExcludedNameTooLong), MessageBoxButtons::Ok, DialogResult::Ok)
      .Type(IDC_NEW_EXCLUDED_FILE, " " + longest + " ")
      .Press(IDC_ADD_EXCLUDED_FILE)
      .Type(IDC_NEW_EXCLUDED_FOLDER, doubleByte12)
      .Press(IDC_ADD_EXCLUDED_FOLDER)
      .AnswerMessageBox(J(res::kExcludedNameTooLong), MessageBoxButtons::Ok, DialogResult::Ok)
      .InDialog(Look(view))
      .Ok();
  RunAndFinish();
  EXPECT_EQ(view.files, (Strings{longest}));
  EXPECT_TRUE(view.folders.empty());
  EXPECT_EQ(view.focus, IDC_NEW_EXCLUDED_FOLDER);
  EXPECT_EQ(ReadStored("ExtFiles.exc"), Int32(1) + longest + '\0');
  EXPECT_EQ(ReadStored("ExtFolder.exc"), "\x05"s);
}

TEST_F(OptionsDialogTest, SearchDepthOutsideOneToTenKeepsDialogOpenAndWritesNothing) {
  StoreKnownOptions();
  OptionsView afterZero;
  OpenOptions();
  user_.Type(IDC_SEARCH_DEPTH, "0")
      .Ok()
      .AnswerMessageBox(J("1 から 10 までの整数を入力してください。"), MessageBoxButtons::Ok,
                        DialogResult::Ok)
      .InDialog(Look(afterZero))
      .Type(IDC_SEARCH_DEPTH, "11")
      .Ok()
      .AnswerMessageBox(J("1 から 10 までの整数を入力してください。"), MessageBoxButtons::Ok,
                        DialogResult::Ok)
      .Type(IDC_SEARCH_DEPTH, "deep")
      .Ok()
      .AnswerMessageBox(J(res::kEnterInteger), MessageBoxButtons::Ok, DialogResult::Ok)
      .Run([this] { ExpectKnownOptionsUnchanged(); })
      .Cancel();
  RunAndFinish();
  EXPECT_EQ(afterZero.focus, IDC_SEARCH_DEPTH);
  ExpectKnownOptionsUnchanged();
}

TEST_F(OptionsDialogTest, FailedValidationOnFirstOpeningCreatesNoFile) {
  OpenOptions();
  user_.Press(IDC_EXCLUDE_NAMES)
      .Type(IDC_SEARCH_DEPTH, "0")
      .Ok()
      .AnswerMessageBox(DialogResult::Ok)
      .Type(IDC_SEARCH_DEPTH, "10")
      .Run([this] { EXPECT_TRUE(StoredFiles().empty()); })
      .Ok();
  RunAndFinish();
  EXPECT_EQ(ReadStored("ExtFolder.exc"), "\x0A"s);
}

TEST_F(OptionsDialogTest, ClearingExclusionStillWritesBothLists) {
  StoreKnownOptions();
  OpenOptions();
  user_.Press(IDC_EXCLUDE_NAMES).Ok();
  RunAndFinish();
  EXPECT_EQ(ReadStored("ExtFiles.exc"), Int32(0) + Entry("*.bak") + Entry("tmp.*"));
  EXPECT_EQ(ReadStored("ExtFolder.exc"), kKnownFolders);
}

TEST_F(OptionsDialogTest, NoComboSelectionIsStoredAsFFAndShownAsNone) {
  OptionsView reopened;
  OpenOptions();
  user_.Select(IDC_ARCHIVE_FORMAT, {}).Ok();
  OpenOptions();
  user_.InDialog(Look(reopened)).Cancel();
  RunAndFinish();
  std::optional<std::string> record = ReadStored("PELKO.opt");
  ASSERT_TRUE(record);
  EXPECT_EQ(static_cast<unsigned char>((*record)[6]), 0xFF);
  EXPECT_EQ(reopened.format, -1);
  EXPECT_EQ(reopened.formatText, "");
}

TEST_F(OptionsDialogTest, DestinationLongerThan499BytesIsRefusedAtOk) {
  std::string tooLong = "D:\\" + std::string(497, 'x');
  ASSERT_EQ(tooLong.size(), 500u);
  OptionsView refused;
  OpenOptions();
  user_.Press(IDC_EXTRACT_UNASSOCIATED)
      .Type(IDC_DESTINATION, tooLong)
      .Ok()
      .AnswerMessageBox(J(res::kDestinationTooLong), MessageBoxButtons::Ok, DialogResult::Ok)
      .InDialog(Look(refused))
      .Run([this] { EXPECT_TRUE(StoredFiles().empty()); })
      .Type(IDC_DESTINATION, tooLong.substr(0, 499))
      .Ok();
  RunAndFinish();
  EXPECT_EQ(refused.focus, IDC_DESTINATION);
  EXPECT_EQ(refused.destination, tooLong) << "what was typed stays for the user to shorten";
  std::optional<std::string> record = ReadStored("PELKO.opt");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->substr(15), tooLong.substr(0, 499) + '\0');
}

TEST_F(OptionsDialogTest, DeleteTakesTheTwentyLowestOfTwentyFiveSelected) {
  std::string files = Int32(1);
  Strings names;
  for (char c = 'a'; c < 'a' + 25; ++c) {
    names.push_back(std::string(1, c) + ".tmp");
    files += Entry(names.back());
  }
  WriteStored("ExtFiles.exc", files);
  WriteStored("ExtFolder.exc", "\x02"s + Entry("x") + Entry("y") + Entry("z") + Entry("zz"));
  std::vector<int> all25;
  for (int i = 0; i < 25; ++i) all25.push_back(i);
  OptionsView view;
  OpenOptions();
  user_.Select(IDC_EXCLUDED_FILES, all25)
      .Press(IDC_DELETE_EXCLUDED_FILES)
      .Select(IDC_EXCLUDED_FOLDERS, {0, 2, 3})
      .Press(IDC_DELETE_EXCLUDED_FOLDERS)
      .InDialog(Look(view))
      .Ok();
  RunAndFinish();
  EXPECT_EQ(view.files, (Strings{"u.tmp", "v.tmp", "w.tmp", "x.tmp", "y.tmp"}));
  EXPECT_EQ(view.selectedFiles, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(view.folders, (Strings{"y"}));
  EXPECT_EQ(ReadStored("ExtFiles.exc"), Int32(1) + Entry("u.tmp") + Entry("v.tmp") +
                                            Entry("w.tmp") + Entry("x.tmp") + Entry("y.tmp"));
  EXPECT_EQ(ReadStored("ExtFolder.exc"), "\x02"s + Entry("y"));
}

TEST_F(OptionsDialogTest, BrowseTakesPickedFolderAndCancelKeepsDestination) {
  MakeFolderOnC("data");
  OpenOptions();
  user_.Press(IDC_EXTRACT_UNASSOCIATED)
      .Press(IDC_BROWSE)
      .ExpectDialog(templates::IDD_FOLDER_PICKER)
      .ExpectText(IDC_PICKER_PATH, "c:\\")
      .DoubleClick(IDC_PICKER_FOLDERS, 0)  // [data]
      .Ok()
      .ExpectText(IDC_DESTINATION, "c:\\data\\")
      .Press(IDC_BROWSE)
      .ExpectDialog(templates::IDD_FOLDER_PICKER)
      .ExpectText(IDC_PICKER_PATH, "c:\\data\\")  // starts from the destination
      .DoubleClick(IDC_PICKER_FOLDERS, 0)         // [..]
      .Cancel()
      .ExpectText(IDC_DESTINATION, "c:\\data\\")
      .Ok();
  RunAndFinish();
  std::optional<std::string> record = ReadStored("PELKO.opt");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->substr(15), Field("c:\\data\\", 500));
}

TEST_F(OptionsDialogTest, CancelAfterEditsWritesNothing) {
  StoreKnownOptions();
  OpenOptions();
  user_.Press(1011)
      .Type(IDC_NEW_EXCLUDED_FILE, "new")
      .Press(IDC_ADD_EXCLUDED_FILE)
      .Type(IDC_SEARCH_DEPTH, "9")
      .Press(IDC_EXCLUDE_NAMES)
      .Cancel();
  RunAndFinish();
  ExpectKnownOptionsUnchanged();
}

TEST_F(OptionsDialogTest, OptionsFilesThatCannotBeCreatedAreReportedAndTheOthersWritten) {
  BlockStored("PELKO.opt");
  BlockStored("ExtFiles.exc");
  OpenOptions();
  user_.Ok()
      .AnswerMessageBox(DialogResult::Ok)  // the file-error text for PELKO.opt
      .AnswerMessageBox(J(res::kSettingsFileNotCreated), MessageBoxButtons::Ok, DialogResult::Ok);
  RunAndFinish();
  EXPECT_TRUE(MessageShown("ファイル C:\\PELKO\\PELKO.opt を作成できませんでした。"))
      << user_.Report();
  EXPECT_EQ(ReadStored("ExtFolder.exc"), "\x05"s);
  std::vector<std::string> transcript = user_.Transcript();
  EXPECT_NE(std::find(transcript.begin(), transcript.end(), "dialog 132 closed OK"),
            transcript.end());
}

TEST_F(OptionsDialogTest, FolderListThatCannotBeCreatedIsReportedWithFileErrorText) {
  BlockStored("ExtFolder.exc");
  OpenOptions();
  user_.Ok().AnswerMessageBox(DialogResult::Ok);
  RunAndFinish();
  EXPECT_TRUE(MessageShown("ファイル C:\\PELKO\\ExtFolder.exc を作成できませんでした。"))
      << user_.Report();
  EXPECT_EQ(ReadStored("PELKO.opt"), kDefaultRecord);
  EXPECT_EQ(ReadStored("ExtFiles.exc"), Int32(0));
}

}  // namespace
}  // namespace pelko::dialogs::testing
