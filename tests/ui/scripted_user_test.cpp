// The scripted user: steps consumed in order as the tool asks, and anything
// unexpected failing with what was shown, without hanging the tool.
#include <gtest/gtest.h>

#include "templates/templates.h"
#include "text/code_page.h"
#include "ui/dialog.h"
#include "ui/headless/headless_host.h"

namespace pelko::ui {
namespace {

using headless::HeadlessHost;
using headless::ScriptedUser;
using win::DialogResult;
using win::MessageBoxButtons;

std::string J(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

// Asks until the user stops retrying, like the wait for a disk.
int AskUntilCancelled() {
  int asked = 0;
  while (win::MessageBox(J("ディスクをセットしてください"), MessageBoxButtons::RetryCancel) ==
         DialogResult::Retry) {
    ++asked;
  }
  return asked + 1;
}

class ButtonDialog : public Dialog {
 public:
  ButtonDialog() : Dialog(templates::AssociationTemplate()) {}
  int pressed = 0;

 protected:
  std::span<const CommandEntry> CommandTable() const override {
    static constexpr CommandEntry kCommands[] = {OnClicked<&ButtonDialog::OnAddFile>(1002)};
    return kCommands;
  }

 private:
  void OnAddFile() {
    ++pressed;
    win::MessageBox(J("追加"), MessageBoxButtons::OkCancel);
  }
};

TEST(ScriptedUser, AnswersMessageBoxesInOrderAndRunsCodeBeforeTheNextAnswer) {
  ScriptedUser user;
  bool swapped = false;
  user.AnswerMessageBox(J("ディスクをセットしてください"), MessageBoxButtons::RetryCancel,
                        DialogResult::Retry)
      .Run([&] { swapped = true; })
      .AnswerMessageBox(DialogResult::Cancel);
  HeadlessHost host(user);
  EXPECT_EQ(AskUntilCancelled(), 2);
  EXPECT_TRUE(swapped);
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(user.Transcript().front(),
            "message [RETRY CANCEL] answer RETRY: ディスクをセットしてください");
}

TEST(ScriptedUser, AnUnexpectedMessageBoxFailsWithWhatWasShownAndUnwinds) {
  ScriptedUser user;
  user.ExpectDialog(129);
  HeadlessHost host(user);
  EXPECT_EQ(AskUntilCancelled(), 1);  // answered Cancel: the tool gets out
  ASSERT_TRUE(user.Failure());
  EXPECT_NE(user.Failure()->find("message [RETRY CANCEL]: ディスクをセットしてください"),
            std::string::npos)
      << *user.Failure();
  EXPECT_NE(user.Failure()->find("dialog 129 does not fit"), std::string::npos) << *user.Failure();
}

TEST(ScriptedUser, AWrongTextOrAnswerIsAFailure) {
  {
    ScriptedUser user;
    user.AnswerMessageBox(J("別の文"), MessageBoxButtons::RetryCancel, DialogResult::Retry);
    HeadlessHost host(user);
    AskUntilCancelled();
    ASSERT_TRUE(user.Failure());
    EXPECT_NE(user.Failure()->find("expected \"別の文\""), std::string::npos) << *user.Failure();
  }
  {
    ScriptedUser user;
    user.AnswerMessageBox(DialogResult::Yes);
    HeadlessHost host(user);
    AskUntilCancelled();
    ASSERT_TRUE(user.Failure());
    EXPECT_NE(user.Failure()->find("answer YES does not fit the buttons"), std::string::npos)
        << *user.Failure();
  }
}

TEST(ScriptedUser, TheWrongDialogOrARunOutScriptCancelsTheDialog) {
  {
    ScriptedUser user;
    user.ExpectDialog(130);
    HeadlessHost host(user);
    ButtonDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_TRUE(user.Failure());
    EXPECT_EQ(*user.Failure(), "dialog 130 expected, but dialog 129 opened");
  }
  {
    ScriptedUser user;
    user.ExpectDialog(129).Press(1002).AnswerMessageBox(DialogResult::Ok);
    HeadlessHost host(user);
    ButtonDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.pressed, 1);
    ASSERT_TRUE(user.Failure());
    EXPECT_EQ(*user.Failure(), "the script ran out while dialog 129 waits");
    EXPECT_EQ(user.Transcript().back(), "dialog 129 closed CANCEL");
  }
}

TEST(ScriptedUser, PressingADisabledOrMissingControlFails) {
  {
    ScriptedUser user;
    user.ExpectDialog(129)
        .InDialog([](Dialog& dialog) { dialog.EnableDlgItem(1002, false); })
        .Press(1002);
    HeadlessHost host(user);
    ButtonDialog dialog;
    dialog.DoModal();
    EXPECT_EQ(dialog.pressed, 0);
    ASSERT_TRUE(user.Failure());
    EXPECT_EQ(*user.Failure(), "press 1002: control 1002 of dialog 129 is disabled");
  }
  {
    ScriptedUser user;
    user.ExpectDialog(129).Press(4711);
    HeadlessHost host(user);
    ButtonDialog dialog;
    dialog.DoModal();
    ASSERT_TRUE(user.Failure());
    EXPECT_EQ(*user.Failure(), "press 4711: dialog 129 has no control 4711");
  }
}

TEST(ScriptedUser, AStepMeantForAMessageBoxDoesNotActInADialog) {
  ScriptedUser user;
  user.ExpectDialog(129).AnswerMessageBox(DialogResult::Ok);
  HeadlessHost host(user);
  ButtonDialog dialog;
  dialog.DoModal();
  ASSERT_TRUE(user.Failure());
  EXPECT_EQ(*user.Failure(), "answer OK: does not fit: dialog 129 waits for an action");
}

TEST(ScriptedUser, RadioButtonsOfAGroupExcludeEachOtherButNotTheOtherGroup) {
  ScriptedUser user;
  user.ExpectDialog(132)
      .SetCheck(1011, 1)
      .SetCheck(1016, 1)
      .Press(1012)
      .InDialog([](Dialog& dialog) {
        EXPECT_EQ(dialog.IsDlgButtonChecked(1010) + dialog.IsDlgButtonChecked(1011), 0);
        EXPECT_EQ(dialog.IsDlgButtonChecked(1012), 1);
        EXPECT_EQ(dialog.IsDlgButtonChecked(1016), 1);
      })
      .SetCheck(1012, 0)
      .Cancel();
  HeadlessHost host(user);
  Dialog dialog(templates::OptionsTemplate());
  dialog.DoModal();
  ASSERT_TRUE(user.Failure());
  EXPECT_EQ(*user.Failure(), "check 1012 0: a radio button is cleared by checking another one");
}

TEST(ScriptedUser, ReadOnlyEditsTakeNoTyping) {
  ScriptedUser user;
  user.ExpectDialog(131).Type(1008, "c:\\");
  HeadlessHost host(user);
  Dialog dialog(templates::FolderPickerTemplate());
  dialog.DoModal();
  ASSERT_TRUE(user.Failure());
  EXPECT_EQ(*user.Failure(), "type 1008 c:\\: edit 1008 is read-only");
}

TEST(ScriptedUser, TheMainWindowClosesQuietlyWhenTheScriptEnds) {
  ScriptedUser user;
  user.SetMainWindow(129);
  HeadlessHost host(user);
  ButtonDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(user.Transcript(),
            (std::vector<std::string>{"dialog 129 open", "dialog 129 closed CANCEL"}));
}

}  // namespace
}  // namespace pelko::ui
