// "ボリュームラベル\nの設定": the floppy's new label and where its association
// list goes, with the panel refreshed only where it should be.
#include <gtest/gtest.h>

#include <ostream>

#include "dialogs/volume_label_dialog.h"
#include "editor_fixture.h"
#include "res/texts_dialogs.h"
#include "res/texts_main.h"
#include "text/win_error.h"

namespace pelko::dialogs::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr std::string_view kDisk1List = "C:\\work\\data\r\nC:\\memo.txt\r\n";
constexpr std::string_view kDisk2List = "D:\\other\r\n";

class VolumeLabelTest : public EditorTest {
 protected:
  // Presses 1007 and checks the prompt as it opens for `oldLabel`.
  void OpenPrompt(const std::string& oldLabel) {
    user_.Press(app::IDC_VOLUME_LABEL)
        .ExpectDialog(templates::IDD_VOLUME_LABEL)
        .ExpectText(IDC_LABEL_EDIT, oldLabel)
        .ExpectText(IDC_LABEL_EXPLANATION, J(res::kRelabelExplanation))
        .Run(BlotPanel());
  }

  void AnswerEmptyLabelQuestion(DialogResult answer) {
    user_.AnswerMessageBox(J(res::kEmptyLabelQuestion), MessageBoxButtons::YesNoCancel, answer);
  }

  void ExpectSystemErrorText(win::DWORD code) {
    user_.AnswerMessageBox(win::SystemErrorText(code), MessageBoxButtons::Ok, DialogResult::Ok);
  }
};

TEST_F(VolumeLabelTest, NewLabelCarriesListOverAndRefreshesPanel) {
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", kDisk1List);
  OpenPrompt("DISK1");
  user_.Type(IDC_LABEL_EDIT, "DISK2").Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "DISK2");
  EXPECT_EQ(StoredFiles(), (Strings{"DISK2.txt"}));
  EXPECT_EQ(ReadStored("DISK2.txt"), kDisk1List);
  EXPECT_NE(LastPanelText().find("ボリュームラベル： DISK2"), std::string::npos) << LastPanelText();
  ExpectFloppySound();
}

TEST_F(VolumeLabelTest, LowerCaseLabelNamesListAfterLabelFloppyCarries) {
  // FAT upper-cases the label and cuts trailing blanks; the next backup looks
  // the list up by the label it reads, so the list must bear that name.
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", kDisk1List);
  OpenPrompt("DISK1");
  user_.Type(IDC_LABEL_EDIT, "new disk  ").Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "NEW DISK");
  EXPECT_EQ(StoredFiles(), (Strings{"NEW DISK.txt"}));
  EXPECT_EQ(ReadStored("NEW DISK.txt"), kDisk1List);
}

TEST_F(VolumeLabelTest, UnchangedLabelKeepsList) {
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", kDisk1List);
  OpenPrompt("DISK1");
  user_.Ok();  // Enter at once confirms the label shown
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "DISK1");
  EXPECT_EQ(StoredFiles(), (Strings{"DISK1.txt"}));
  EXPECT_EQ(ReadStored("DISK1.txt"), kDisk1List);
  EXPECT_TRUE(PanelRefreshedAfterBlot());
}

TEST_F(VolumeLabelTest, UnlabelledFloppyTakesLabelAndListAlreadyUnderIt) {
  InsertFloppy("");
  WriteStored("DISK2.txt", kDisk2List);
  OpenPrompt("");
  user_.Type(IDC_LABEL_EDIT, "DISK2").Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "DISK2");
  EXPECT_EQ(StoredFiles(), (Strings{"DISK2.txt"}));
  EXPECT_EQ(ReadStored("DISK2.txt"), kDisk2List);
}

TEST_F(VolumeLabelTest, ListAlreadyUnderNewLabelLeavesBothLists) {
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", kDisk1List);
  WriteStored("DISK2.txt", kDisk2List);
  OpenPrompt("DISK1");
  user_.Type(IDC_LABEL_EDIT, "disk2").Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "DISK2");
  EXPECT_EQ(ReadStored("DISK1.txt"), kDisk1List);
  EXPECT_EQ(ReadStored("DISK2.txt"), kDisk2List);
}

TEST_F(VolumeLabelTest, CancelChangesNothingButRefreshesPanel) {
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", kDisk1List);
  OpenPrompt("DISK1");
  user_.Type(IDC_LABEL_EDIT, "DISK2").Cancel();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "DISK1");
  EXPECT_EQ(StoredFiles(), (Strings{"DISK1.txt"}));
  EXPECT_TRUE(PanelRefreshedAfterBlot());
}

TEST_F(VolumeLabelTest, EmptyLabelWithYesRemovesLabelThenDeletesList) {
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", kDisk1List);
  OpenPrompt("DISK1");
  user_.Type(IDC_LABEL_EDIT, "").Ok();
  AnswerEmptyLabelQuestion(DialogResult::Yes);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "");
  EXPECT_TRUE(StoredFiles().empty());
  EXPECT_FALSE(PanelRefreshedAfterBlot());
  ExpectFloppySound();
}

TEST_F(VolumeLabelTest, EmptyLabelWithNoRemovesLabelAndKeepsList) {
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", kDisk1List);
  OpenPrompt("DISK1");
  user_.Type(IDC_LABEL_EDIT, "").Ok();
  AnswerEmptyLabelQuestion(DialogResult::No);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "");
  EXPECT_EQ(ReadStored("DISK1.txt"), kDisk1List);
  EXPECT_FALSE(PanelRefreshedAfterBlot());
}

TEST_F(VolumeLabelTest, EmptyLabelWithCancelChangesNothing) {
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", kDisk1List);
  OpenPrompt("DISK1");
  user_.Type(IDC_LABEL_EDIT, "").Ok();
  AnswerEmptyLabelQuestion(DialogResult::Cancel);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "DISK1");
  EXPECT_EQ(ReadStored("DISK1.txt"), kDisk1List);
  EXPECT_FALSE(PanelRefreshedAfterBlot());
}

TEST_F(VolumeLabelTest, WriteProtectedFloppyWithYesKeepsListWhileLabelStays) {
  InsertFloppy("DISK1", /*writeProtected=*/true);
  WriteStored("DISK1.txt", kDisk1List);
  OpenPrompt("DISK1");
  user_.Type(IDC_LABEL_EDIT, "").Ok();
  AnswerEmptyLabelQuestion(DialogResult::Yes);
  ExpectSystemErrorText(win::ERROR_WRITE_PROTECT);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "DISK1");
  EXPECT_EQ(ReadStored("DISK1.txt"), kDisk1List);
}

// A label the floppy does not take is refused with the system's text; the
// label and its list stay as they were, and the panel is refreshed.
struct Refusal {
  const char* name;
  const char* typed;
  bool writeProtected;
  win::DWORD error;
};

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

const Refusal kRefusals[] = {
    {"WriteProtectedFloppy", "DISK2", true, win::ERROR_WRITE_PROTECT},
    {"LabelTooLong", "TWELVE-CHARS", false, win::ERROR_LABEL_TOO_LONG},
    {"CharacterFatForbids", "A*B", false, win::ERROR_INVALID_NAME},
};

class VolumeLabelRefusal : public VolumeLabelTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(VolumeLabelRefusal, KeepsLabelAndListWithSystemText) {
  InsertFloppy("DISK1", GetParam().writeProtected);
  WriteStored("DISK1.txt", kDisk1List);
  OpenPrompt("DISK1");
  user_.Type(IDC_LABEL_EDIT, GetParam().typed).Ok();
  ExpectSystemErrorText(GetParam().error);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "DISK1");
  EXPECT_EQ(StoredFiles(), (Strings{"DISK1.txt"}));
  EXPECT_EQ(ReadStored("DISK1.txt"), kDisk1List);
  EXPECT_TRUE(PanelRefreshedAfterBlot());
}

INSTANTIATE_TEST_SUITE_P(Refusals, VolumeLabelRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VolumeLabelTest, LabelOfBlanksAloneLeavesFloppyUnlabelledAndListInPlace) {
  InsertFloppy("DISK1");
  WriteStored("DISK1.txt", kDisk1List);
  OpenPrompt("DISK1");
  user_.Type(IDC_LABEL_EDIT, "   ").Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "");
  EXPECT_EQ(StoredFiles(), (Strings{"DISK1.txt"}));
}

TEST_F(VolumeLabelTest, NoDiskAsksForOneAndCancelEnds) {
  user_.Press(app::IDC_VOLUME_LABEL)
      .Run(BlotPanel())
      .AnswerMessageBox(J(res::kInsertDisk), MessageBoxButtons::RetryCancel, DialogResult::Retry)
      .AnswerMessageBox(J(res::kInsertDisk), MessageBoxButtons::RetryCancel, DialogResult::Cancel);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_FALSE(PanelRefreshedAfterBlot());
  EXPECT_TRUE(StoredFiles().empty());
}

TEST_F(VolumeLabelTest, DiskInsertedAfterRetryIsRelabelled) {
  user_.Press(app::IDC_VOLUME_LABEL)
      .Run([this] { InsertFloppy("DISK1"); })  // while the question is up
      .AnswerMessageBox(J(res::kInsertDisk), MessageBoxButtons::RetryCancel, DialogResult::Retry)
      .ExpectDialog(templates::IDD_VOLUME_LABEL)
      .ExpectText(IDC_LABEL_EDIT, "DISK1")
      .Type(IDC_LABEL_EDIT, "DISK3")
      .Ok();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(FloppyLabel(), "DISK3");
}

}  // namespace
}  // namespace pelko::dialogs::testing
