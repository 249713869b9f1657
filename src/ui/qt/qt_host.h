// The Qt host of the dialog framework: every dialog a real modal window,
// message boxes in Japanese with the application's title, the open-file
// dialog, and the progress window of long library work. Registers itself
// with the platform's user-interface seam for its lifetime. Needs a
// QApplication (see japanese_application.h for the set-up).
#pragma once

#include <QWidget>
#include <vector>

#include "ui/host.h"
#include "ui/qt/open_file_dialog.h"
#include "ui/qt/progress_window.h"

namespace pelko::ui::qt {

class QtWindow;

class QtHost : public Host {
 public:
  // `clock` times the progress window of long work.
  explicit QtHost(bool registerWithPlatform = true, const WorkClock& clock = SteadyClock());
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  // The windows of the dialogs running now, the top one last.
  const std::vector<QtWindow*>& OpenWindows() const { return open_; }
  const LongWorkWindow& LongWork() const { return longWork_; }

  // win::UserInterfaceHost
  win::DialogResult ShowMessageBox(std::string_view text, std::string_view caption,
                                   win::MessageBoxButtons buttons,
                                   win::MessageBoxIcon icon) override;
  void BeginLongWork() override;
  void ReportProgress(std::string_view entry, std::uint64_t done, std::uint64_t total) override;
  void EndLongWork() override;

  // ui::Host
  int RunModal(Dialog& dialog) override;
  std::optional<std::string> AskForFileName(const OpenFileRequest& request) override;

 private:
  // What a new window or message box belongs to: the progress window while
  // it shows, else the top dialog.
  QWidget* Owner() const;

  bool registered_;
  std::vector<QtWindow*> open_;
  LongWorkWindow longWork_;
  OpenFileDialog openFile_;
};

}  // namespace pelko::ui::qt
