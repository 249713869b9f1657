// "ファイルとＦＤ\nを関連づける": the label loop for an unlabelled floppy, the
// editor's additions and deletions, and the list it stores.
#include <gtest/gtest.h>

#include "dialogs/association_dialog.h"
#include "dialogs/folder_picker_dialog.h"
#include "dialogs/volume_label_dialog.h"
#include "editor_fixture.h"
#include "res/texts_dialogs.h"
#include "text/win_error.h"

namespace pelko::dialogs::testing {
namespace {

using Strings = std::vector<std::string>;

class AssociationEditorTest : public EditorTest {
 protected:
  AssociationEditorTest() {
    MakeFileOnC("data/memo.txt");
    MakeFileOnC("Apple.txt");
  }

  // The prompt an unlabelled floppy brings up, with its field empty.
  void ExpectLabelPrompt() {
    user_.ExpectDialog(templates::IDD_VOLUME_LABEL)
        .ExpectText(IDC_LABEL_EXPLANATION, J(res::kNoLabelExplanation))
        .ExpectText(IDC_LABEL_EDIT, "");
  }

  void ExpectSystemErrorText(win::DWORD code) {
    user_.AnswerMessageBox(win::SystemErrorText(code), MessageBoxButtons::Ok, DialogResult::Ok);
  }

  void AddFile(std::string_view drivePath) {
    user_.Press(IDC_ASSOCIATION_ADD_FILE).ChooseFile(drivePath);
  }

  // A step that notes the editor's entries and which of them are selected.
  std::function<void(ui::Dialog&)> Look() {
    return [this](ui::Dialog& dialog) {
      ui::ListBox list = dialog.GetListBox(IDC_ASSOCIATION_ENTRIES);
      entries_ = Items(list);
      selected_.clear();
      for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetSel(i) > 0) selected_.push_back(i);
      }
    };
  }

  Strings entries_;
  std::vector<int> selected_;
};

TEST_F(AssociationEditorTest, UnlabelledFloppyIsAskedAgainUntilLabelIsGiven) {
  InsertFloppy("");
  user_.Press(app::IDC_ASSOCIATE);
  ExpectLabelPrompt();
  user_.Ok();  // an empty field sets the empty label and asks again
  ExpectLabelPrompt();
  user_.Type(IDC_LABEL_EDIT, "disk1").Ok().ExpectDialog(templates::IDD_ASSOCIATION);
  AddFile("C:\\data\\memo.txt");
  user_.Ok();
  RunMainWindow();
  ExpectScriptDone();
  // The list bears the label as the floppy carries it, upper-cased by FAT.
  EXPECT_EQ(FloppyLabel(), "DISK1");
  EXPECT_EQ(StoredFiles(), (Strings{"DISK1.txt"}));
  EXPECT_EQ(ReadStored("DISK1.txt"), "C:\\data\\memo.txt\r\n");
  EXPECT_NE(LastPanelText().find("ボリュームラベル： DISK1"), std::string::npos) << LastPanelText();
  ExpectFloppySound();
}

TEST_F(AssociationEditorTest, CancelOfLabelPromptEndsWithoutListOrRefresh) {
  InsertFloppy("");
  user_.Press(app::IDC_ASSOCIATE);
  ExpectLabelPrompt();
  user_.Run(BlotPanel()).Type(IDC_LABEL_EDIT, "DISK1").Cancel();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "");
  EXPECT_TRUE(StoredFiles().empty());
  EXPECT_FALSE(PanelRefreshedAfterBlot());
}

TEST_F(AssociationEditorTest, LabelFloppyRefusesShowsSystemTextAndAsksAgain) {
  InsertFloppy("");
  user_.Press(app::IDC_ASSOCIATE);
  ExpectLabelPrompt();
  user_.Type(IDC_LABEL_EDIT, "TWELVE-CHARS").Ok();
  ExpectSystemErrorText(win::ERROR_LABEL_TOO_LONG);
  ExpectLabelPrompt();
  user_.Type(IDC_LABEL_EDIT, "A?B").Ok();
  ExpectSystemErrorText(win::ERROR_INVALID_NAME);
  ExpectLabelPrompt();
  user_.Cancel();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "");
  EXPECT_TRUE(StoredFiles().empty());
}

TEST_F(AssociationEditorTest, WriteProtectedUnlabelledFloppyGetsNoListUnderUnsetLabel) {
  InsertFloppy("", /*writeProtected=*/true);
  user_.Press(app::IDC_ASSOCIATE);
  ExpectLabelPrompt();
  user_.Type(IDC_LABEL_EDIT, "DISK1").Ok();
  ExpectSystemErrorText(win::ERROR_WRITE_PROTECT);
  ExpectLabelPrompt();
  user_.Cancel();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "");
  EXPECT_TRUE(StoredFiles().empty());
}

TEST_F(AssociationEditorTest, NoFloppyEndsSilentlyWithoutRefresh) {
  user_.Run(BlotPanel()).Press(app::IDC_ASSOCIATE);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_FALSE(PanelRefreshedAfterBlot());
  EXPECT_TRUE(StoredFiles().empty());
}

TEST_F(AssociationEditorTest, DuplicatesAreKeptAndWrittenInSortedOrder) {
  InsertFloppy("DISK1");
  user_.Press(app::IDC_ASSOCIATE).ExpectDialog(templates::IDD_ASSOCIATION);
  AddFile("C:\\data\\memo.txt");
  AddFile("C:\\Apple.txt");
  AddFile("C:\\data\\memo.txt");
  user_.InDialog(Look()).Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(entries_, (Strings{"C:\\Apple.txt", "C:\\data\\memo.txt", "C:\\data\\memo.txt"}));
  EXPECT_EQ(ReadStored("DISK1.txt"),
            "C:\\Apple.txt\r\nC:\\data\\memo.txt\r\nC:\\data\\memo.txt\r\n");
}

TEST_F(AssociationEditorTest, NewFileNameIsAddedAfterCreateQuestionWithoutCreatingIt) {
  InsertFloppy("DISK1");
  user_.Press(app::IDC_ASSOCIATE).ExpectDialog(templates::IDD_ASSOCIATION);
  AddFile("C:\\data\\later.txt");
  user_.AnswerMessageBox(DialogResult::Yes).Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(ReadStored("DISK1.txt"), "C:\\data\\later.txt\r\n");
  EXPECT_FALSE(std::filesystem::exists(home_.CDriveHostPath() + "/data/later.txt"));
}

TEST_F(AssociationEditorTest, EntryLongerThan254BytesIsStoredWhole) {
  std::string folder = std::string(120, 'd') + "/" + std::string(120, 'e');
  MakeFileOnC(folder + "/" + std::string(60, 'f') + ".txt");
  std::string entry = "C:\\" + std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\" +
                      std::string(60, 'f') + ".txt";
  ASSERT_GT(entry.size(), 254u);
  InsertFloppy("DISK1");
  user_.Press(app::IDC_ASSOCIATE).ExpectDialog(templates::IDD_ASSOCIATION);
  AddFile(entry);
  user_.Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(ReadStored("DISK1.txt"), entry + "\r\n");
}

TEST_F(AssociationEditorTest, EmptyListIsSavedAsZeroByteFile) {
  InsertFloppy("DISK1");
  user_.Press(app::IDC_ASSOCIATE).ExpectDialog(templates::IDD_ASSOCIATION).Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(ReadStored("DISK1.txt"), "");
}

TEST_F(AssociationEditorTest, FoldersLoseTrailingBackslashAndDriveRootIsDriveAlone) {
  InsertFloppy("DISK1");
  user_.Press(app::IDC_ASSOCIATE)
      .ExpectDialog(templates::IDD_ASSOCIATION)
      .Press(IDC_ASSOCIATION_ADD_FOLDER)
      .ExpectDialog(templates::IDD_FOLDER_PICKER)
      .ExpectText(IDC_PICKER_PATH, "c:\\")
      .Ok()
      .Press(IDC_ASSOCIATION_ADD_FOLDER)
      .ExpectDialog(templates::IDD_FOLDER_PICKER)
      .DoubleClick(IDC_PICKER_FOLDERS, 0)  // [data], before [PELKO]; files are not listed
      .ExpectText(IDC_PICKER_PATH, "c:\\data\\")
      .Ok()
      .Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(ReadStored("DISK1.txt"), "c:\r\nc:\\data\r\n");
}

TEST_F(AssociationEditorTest, CancelledPickersAddNothing) {
  InsertFloppy("DISK1");
  user_.Press(app::IDC_ASSOCIATE)
      .ExpectDialog(templates::IDD_ASSOCIATION)
      .Press(IDC_ASSOCIATION_ADD_FOLDER)
      .ExpectDialog(templates::IDD_FOLDER_PICKER)
      .Cancel()
      .Press(IDC_ASSOCIATION_ADD_FILE)
      .CancelFileDialog()
      .InDialog(Look())
      .Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(entries_.empty());
  EXPECT_EQ(ReadStored("DISK1.txt"), "");
}

TEST_F(AssociationEditorTest, StoredListOpensSortedAndOkRewritesItSortedWithCrLf) {
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", "z\nC:\\b\r\n\r\na");  // by hand: LF, an empty line, no last line end
  user_.Press(app::IDC_ASSOCIATE).ExpectDialog(templates::IDD_ASSOCIATION).InDialog(Look()).Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(entries_, (Strings{"", "a", "C:\\b", "z"}));
  EXPECT_EQ(ReadStored("DISK1.txt"), "\r\na\r\nC:\\b\r\nz\r\n");
}

TEST_F(AssociationEditorTest, CancelAfterEditsLeavesFileAsItWasAndRefreshesPanel) {
  constexpr std::string_view kHandMade = "z\nC:\\b\r\na";
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", kHandMade);
  user_.Press(app::IDC_ASSOCIATE).ExpectDialog(templates::IDD_ASSOCIATION).Run(BlotPanel());
  AddFile("C:\\Apple.txt");
  user_.Select(IDC_ASSOCIATION_ENTRIES, {0, 3})
      .Press(IDC_ASSOCIATION_DELETE)
      .InDialog(Look())
      .Cancel();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(entries_, (Strings{"C:\\Apple.txt", "C:\\b"}));
  EXPECT_EQ(ReadStored("DISK1.txt"), kHandMade);
  EXPECT_TRUE(PanelRefreshedAfterBlot());
}

TEST_F(AssociationEditorTest, OneDeleteTakesTwentyOfTwentyFiveSelectedAndNextTheRest) {
  InsertFloppy("DISK1");
  std::string list;
  for (int i = 0; i < 30; ++i)
    list += "C:\\f" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "\r\n";
  WriteStored("DISK1.txt", list);
  std::vector<int> first25;
  for (int i = 0; i < 25; ++i) first25.push_back(i);
  Strings afterFirst, afterSecond;
  std::vector<int> selectedAfterFirst;
  user_.Press(app::IDC_ASSOCIATE)
      .ExpectDialog(templates::IDD_ASSOCIATION)
      .Select(IDC_ASSOCIATION_ENTRIES, first25)
      .Press(IDC_ASSOCIATION_DELETE)
      .InDialog(Look())
      .Run([&] {
        afterFirst = entries_;
        selectedAfterFirst = selected_;
      })
      .Press(IDC_ASSOCIATION_DELETE)
      .InDialog(Look())
      .Ok();
  RunMainWindow();
  ExpectScriptDone();
  ASSERT_EQ(afterFirst.size(), 10u);
  EXPECT_EQ(afterFirst.front(), "C:\\f20");
  EXPECT_EQ(selectedAfterFirst, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(entries_, (Strings{"C:\\f25", "C:\\f26", "C:\\f27", "C:\\f28", "C:\\f29"}));
  EXPECT_EQ(ReadStored("DISK1.txt"), "C:\\f25\r\nC:\\f26\r\nC:\\f27\r\nC:\\f28\r\nC:\\f29\r\n");
}

TEST_F(AssociationEditorTest, DeleteWithNothingSelectedDoesNothing) {
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", "C:\\a\r\nC:\\b\r\n");
  user_.Press(app::IDC_ASSOCIATE)
      .ExpectDialog(templates::IDD_ASSOCIATION)
      .Press(IDC_ASSOCIATION_DELETE)
      .Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(ReadStored("DISK1.txt"), "C:\\a\r\nC:\\b\r\n");
}

TEST_F(AssociationEditorTest, ListThatCannotBeCreatedIsReportedAndEditorStaysOpen) {
  InsertFloppy("DISK1");
  BlockStored("DISK1.txt");  // a folder where the list should go
  user_.Press(app::IDC_ASSOCIATE).ExpectDialog(templates::IDD_ASSOCIATION);
  AddFile("C:\\Apple.txt");
  user_.Ok()
      .AnswerMessageBox(DialogResult::Ok)
      .Run([this] { UnblockStored("DISK1.txt"); })
      .InDialog(Look())
      .Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(MessageShown("ファイル C:\\PELKO\\DISK1.txt を作成できませんでした。"))
      << user_.Report();
  EXPECT_EQ(entries_, (Strings{"C:\\Apple.txt"})) << "the edits survive the failed OK";
  EXPECT_EQ(ReadStored("DISK1.txt"), "C:\\Apple.txt\r\n");
}

}  // namespace
}  // namespace pelko::dialogs::testing
