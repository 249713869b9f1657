// Data exchange: members pushed to controls and fetched back, and a failed
// check that shows the framework's message, focuses the control and keeps
// the dialog open.
#include <gtest/gtest.h>

#include "templates/templates.h"
#include "text/code_page.h"
#include "ui/dialog.h"
#include "ui/headless/headless_host.h"
#include "ui/headless/headless_window.h"

namespace pelko::ui {
namespace {

using headless::HeadlessHost;
using headless::ScriptedUser;
using win::DialogResult;
using win::MessageBoxButtons;

std::string J(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

// Exchanges like the options dialog: texts, then an integer in 1..10.
class ExchangeDialog : public Dialog {
 public:
  ExchangeDialog() : Dialog(templates::OptionsTemplate()) {}
  std::string destination;
  std::string newFile = "a";
  int keepNewer = 1;
  int overwrite = 1;
  int searchDepth = 5;

 protected:
  void DoDataExchange(DataExchange& dx) override {
    dx.Control(1027);
    dx.Text(1008, destination);
    dx.Text(1023, newFile);
    dx.Check(1029, keepNewer);
    dx.Radio(1010, overwrite);
    dx.Int(1028, searchDepth);
    dx.MinMaxInt(searchDepth, 1, 10);
  }
};

// The search depth's whole text is selected, as the focus left it.
bool DepthSelected(Dialog& dialog) {
  return static_cast<headless::HeadlessWindow*>(dialog.Window())->Find(1028)->TextSelected();
}

TEST(DataExchange, OpeningPushesEveryMemberToItsControl) {
  ScriptedUser user;
  user.ExpectDialog(132)
      .ExpectText(1008, "")
      .ExpectText(1023, "a")
      .ExpectText(1028, "5")
      .InDialog([](Dialog& dialog) {
        EXPECT_EQ(dialog.IsDlgButtonChecked(1029), 1);
        EXPECT_EQ(dialog.IsDlgButtonChecked(1010), 0);
        EXPECT_EQ(dialog.IsDlgButtonChecked(1011), 1);
        EXPECT_EQ(dialog.IsDlgButtonChecked(1012), 0);
      })
      .Cancel();
  HeadlessHost host(user);
  ExchangeDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(user.Done()) << user.Report();
}

TEST(DataExchange, OkFetchesTextIntegerCheckAndRadio) {
  ScriptedUser user;
  user.ExpectDialog(132)
      .Type(1008, J("D:\\復元\\"))
      .Type(1028, " 10 ")
      .SetCheck(1029, 0)
      .SetCheck(1012, 1)
      .Ok();
  HeadlessHost host(user);
  ExchangeDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(dialog.destination, J("D:\\復元\\"));
  EXPECT_EQ(dialog.searchDepth, 10);
  EXPECT_EQ(dialog.keepNewer, 0);
  EXPECT_EQ(dialog.overwrite, 2);
}

TEST(DataExchange, OutOfRangeShowsTheRangeMessageFocusesTheEditAndStaysOpen) {
  ScriptedUser user;
  user.ExpectDialog(132)
      .Type(1023, "x")
      .Type(1028, "11")
      .Press(1)
      .AnswerMessageBox(J("1 から 10 までの整数を入力してください。"), MessageBoxButtons::Ok,
                        DialogResult::Ok)
      .InDialog([](Dialog& dialog) {
        EXPECT_EQ(dialog.Window()->FocusedControl(), 1028);
        EXPECT_TRUE(DepthSelected(dialog)) << "typing would add to the refused text";
      })
      .Type(1028, "0")
      .Ok()
      .AnswerMessageBox(J("1 から 10 までの整数を入力してください。"), MessageBoxButtons::Ok,
                        DialogResult::Ok)
      .Type(1028, "7")
      .Ok();
  HeadlessHost host(user);
  ExchangeDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(dialog.searchDepth, 7);
  EXPECT_EQ(dialog.newFile, "x");
}

TEST(DataExchange, FailedFetchReturnsFalseWithEarlierFieldsTakenOver) {
  ScriptedUser user;
  user.ExpectDialog(132)
      .Type(1023, "kept")
      .Type(1028, "5x")
      .InDialog([](Dialog& dialog) {
        auto& exchange = static_cast<ExchangeDialog&>(dialog);
        EXPECT_FALSE(exchange.UpdateData(true));
        EXPECT_EQ(exchange.newFile, "kept");
        EXPECT_EQ(exchange.searchDepth, 5);
        EXPECT_EQ(dialog.Window()->FocusedControl(), 1028);
        EXPECT_TRUE(DepthSelected(dialog));
      })
      .AnswerMessageBox(J("整数を入力してください。"), MessageBoxButtons::Ok, DialogResult::Ok)
      .Cancel();
  HeadlessHost host(user);
  ExchangeDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(user.Done()) << user.Report();
}

TEST(DataExchange, NonNumbersAreRefusedAsIntegers) {
  for (const char* text : {"", "abc", "1.5", "+", "--1", "99999999999"}) {
    ScriptedUser user;
    user.ExpectDialog(132)
        .Type(1028, text)
        .Ok()
        .AnswerMessageBox(J("整数を入力してください。"), MessageBoxButtons::Ok, DialogResult::Ok)
        .Cancel();
    HeadlessHost host(user);
    ExchangeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << text;
    EXPECT_TRUE(user.Done()) << text << "\n" << user.Report();
    EXPECT_EQ(dialog.searchDepth, 5) << text;
  }
}

TEST(DataExchange, CancelFetchesNothing) {
  ScriptedUser user;
  user.ExpectDialog(132).Type(1008, "changed").Cancel();
  HeadlessHost host(user);
  ExchangeDialog dialog;
  dialog.destination = "kept";
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(dialog.destination, "kept");
}

TEST(DataExchange, WithoutAHostADialogCannotRun) {
  win::RegisterUserInterfaceHost(nullptr);
  ExchangeDialog dialog;
  EXPECT_EQ(dialog.DoModal(), -1);
}

}  // namespace
}  // namespace pelko::ui
