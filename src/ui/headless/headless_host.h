// The headless host: dialogs as plain objects, every wait for the user
// answered by a ScriptedUser. Registers itself with the platform's
// user-interface seam for its lifetime.
//
// Transcript lines (UTF-8, one per event):
//   dialog 129 open
//   dialog 129 closed OK|CANCEL|<n>
//   message [RETRY CANCEL] answer RETRY: <text>
//   file <path> | file cancelled
//   text <id>: <text>          (a watched control's text changed)
// Texts write a line break as \n (and CR as \r).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/headless/headless_window.h"
#include "ui/headless/scripted_user.h"
#include "ui/host.h"

namespace pelko::ui::headless {

class HeadlessHost : public Host {
 public:
  explicit HeadlessHost(ScriptedUser& user, bool registerWithPlatform = true);
  ~HeadlessHost() override;
  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;

  // Writes a transcript line whenever this control of a dialog of this
  // template changes its text (the main window's information panel).
  void WatchText(int templateId, int controlId);

  // The dialogs open now, the top one last.
  const std::vector<std::pair<Dialog*, HeadlessWindow*>>& OpenDialogs() const { return open_; }

  // win::UserInterfaceHost
  win::DialogResult ShowMessageBox(std::string_view text, std::string_view caption,
                                   win::MessageBoxButtons buttons,
                                   win::MessageBoxIcon icon) override;
  void BeginLongWork() override {}
  void ReportProgress(std::string_view, std::uint64_t, std::uint64_t) override {}
  void EndLongWork() override {}

  // ui::Host
  int RunModal(Dialog& dialog) override;
  std::optional<std::string> AskForFileName(const OpenFileRequest& request) override;

 private:
  void Perform(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window);
  void Press(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window, int controlId);
  void PressEnter(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window);
  void Type(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window);
  void Select(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window);
  void SetCheck(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window);
  void FailStep(const ScriptStep& step, const std::string& why);
  HeadlessControl* UsableControl(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window,
                                 int controlId);

  ScriptedUser& user_;
  bool registered_;
  std::vector<std::pair<int, int>> watched_;
  std::vector<std::pair<Dialog*, HeadlessWindow*>> open_;
};

// "OK", "CANCEL", "YES", "NO", "RETRY" and the buttons as "[RETRY CANCEL]".
std::string AnswerName(win::DialogResult answer);
std::string ButtonsName(win::MessageBoxButtons buttons);
bool ButtonsOffer(win::MessageBoxButtons buttons, win::DialogResult answer);

}  // namespace pelko::ui::headless
