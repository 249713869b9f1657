// The scripted user of the headless host: a test (or pelko-script) programs,
// in order, what the user does whenever the tool waits for the user — answer
// the next message box, act in the next dialog, choose a file, or run the
// test's own code. Every step is consumed when the tool asks; a `Run` step is
// carried out as soon as it is reached, before the next step answers what the
// tool shows. Anything shown that the script did not expect is a failure: it
// is recorded with what was shown, and from then on message boxes answer
// Cancel (or No, or OK) and dialogs are cancelled so that the tool unwinds.
//
//   ScriptedUser user;
//   user.AnswerMessageBox(Text(res::kInsertDisk), MessageBoxButtons::RetryCancel, Result::Retry)
//       .Run([&] { InsertImage(); })
//       .ExpectDialog(130).Type(1006, "DISK1").Ok();
//   HeadlessHost host(user);
//   ... run the tool ...
//   EXPECT_TRUE(user.Done()) << user.Report();
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_interface.h"

namespace pelko::ui {
class Dialog;
}

namespace pelko::ui::headless {

struct ScriptStep {
  enum class Kind {
    Answer,        // the next message box
    ExpectDialog,  // the next dialog must be this template
    Press,         // a control of the dialog on top
    Type,          // replace an edit's text
    Select,        // replace a list's selection
    DoubleClick,   // select one item and double-click it
    SetCheck,      // check or clear a check box, check a radio button
    Ok,            // the dialog's OK (Enter)
    Cancel,        // the dialog's Cancel (Escape); also cancels the open-file dialog
    ExpectText,    // a control's text
    ChooseFile,    // the open-file dialog's answer
    CancelFile,    // cancel the open-file dialog
    Run,           // the test's own code, at once
    InDialog,      // the test's own code with the dialog on top
  };
  Kind kind = Kind::Press;
  int id = 0;
  std::string text;  // CP932: typed text, expected text, chosen path
  std::vector<int> positions;
  int state = 0;
  win::DialogResult answer = win::DialogResult::Ok;
  std::optional<std::string> expectedText;                // message box text
  std::optional<win::MessageBoxButtons> expectedButtons;  // message box buttons
  std::function<bool(std::string& why)> run;              // false fails the script
  std::function<void(Dialog&)> inDialog;
  std::string origin;  // where the step came from, for failure reports ("line 7")
};

class ScriptedUser {
 public:
  ScriptedUser() = default;
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

  // Steps, in the order the tool will ask for them. Texts are CP932.
  ScriptedUser& AnswerMessageBox(win::DialogResult answer);
  ScriptedUser& AnswerMessageBox(std::string_view expectedText, win::MessageBoxButtons buttons,
                                 win::DialogResult answer);
  ScriptedUser& ExpectDialog(int templateId);
  ScriptedUser& Press(int controlId);
  ScriptedUser& Type(int controlId, std::string_view text);
  ScriptedUser& Select(int controlId, std::vector<int> positions);
  ScriptedUser& DoubleClick(int controlId, int position);
  ScriptedUser& SetCheck(int controlId, int state);
  ScriptedUser& Ok();
  ScriptedUser& Cancel();
  ScriptedUser& ExpectText(int controlId, std::string_view text);
  ScriptedUser& ChooseFile(std::string_view drivePath);
  ScriptedUser& CancelFileDialog();
  ScriptedUser& Run(std::function<void()> action);
  ScriptedUser& Run(std::function<bool(std::string& why)> action);
  ScriptedUser& InDialog(std::function<void(Dialog&)> action);
  ScriptedUser& Add(ScriptStep step);

  // A dialog of this template opened first (the main window) needs no
  // ExpectDialog step, and when the script runs out while it waits it is
  // closed with Cancel, which is no failure.
  void SetMainWindow(int templateId) { mainWindow_ = templateId; }
  int MainWindow() const { return mainWindow_; }

  // Each transcript line (UTF-8) as it happens, besides keeping it.
  void SetTranscriptSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
  // Called once, with the reason, at the first failure (pelko-script exits there).
  void SetFailureHandler(std::function<void(const std::string&)> handler) {
    failureHandler_ = std::move(handler);
  }

  // Outcome.
  bool Done() const { return !failure_ && steps_.empty(); }
  const std::optional<std::string>& Failure() const { return failure_; }
  const std::vector<std::string>& Transcript() const { return transcript_; }
  std::size_t StepsLeft() const { return steps_.size(); }
  const ScriptStep* FirstStepLeft() const { return steps_.empty() ? nullptr : &steps_.front(); }
  // The transcript, the failure and the steps left, for a test's message.
  std::string Report() const;

  // --- For the headless host ---
  // The next step, after carrying out the Run steps before it; nullopt when
  // the script has run out (or has failed).
  std::optional<ScriptStep> Next();
  void PutBack(ScriptStep step);
  void Fail(const std::string& reason);
  bool Failed() const { return failure_.has_value(); }
  void Record(const std::string& utf8Line);

 private:
  std::deque<ScriptStep> steps_;
  std::vector<std::string> transcript_;
  std::optional<std::string> failure_;
  std::function<void(const std::string&)> sink_;
  std::function<void(const std::string&)> failureHandler_;
  int mainWindow_ = 0;
};

// A step as the script grammar writes it ("press 1004"), for failure reports.
std::string DescribeStep(const ScriptStep& step);
// CP932 text for a transcript line: UTF-8, CR and LF written \r and \n.
std::string TranscriptText(std::string_view cp932);

}  // namespace pelko::ui::headless
