#include "ui/qt/qt_host.h"

#include "ui/dialog.h"
#include "ui/qt/message_box.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_window.h"

namespace pelko::ui::qt {

QtHost::QtHost(bool registerWithPlatform, const WorkClock& clock)
    : registered_(registerWithPlatform), longWork_(clock) {
  if (registered_) win::RegisterUserInterfaceHost(this);
}

QtHost::~QtHost() {
  if (registered_ && win::RegisteredUserInterfaceHost() == this)
    win::RegisterUserInterfaceHost(nullptr);
}

QWidget* QtHost::Owner() const {
  if (ProgressWindow* progress = longWork_.Window()) return progress;
  return open_.empty() ? nullptr : open_.back();
}

win::DialogResult QtHost::ShowMessageBox(std::string_view text, std::string_view caption,
                                         win::MessageBoxButtons buttons, win::MessageBoxIcon icon) {
  return RunMessageBox(Owner(), DisplayText(text), FromCp932(caption), buttons, icon);
}

void QtHost::BeginLongWork() { longWork_.Begin(Owner()); }

void QtHost::ReportProgress(std::string_view entry, std::uint64_t done, std::uint64_t total) {
  longWork_.Report(entry, done, total);
}

void QtHost::EndLongWork() { longWork_.End(); }

int QtHost::RunModal(Dialog& dialog) {
  QtWindow window(dialog.Template(), Owner());
  window.Connect(&dialog);
  dialog.AttachWindow(window);
  open_.push_back(&window);

  if (dialog.InitDialog()) window.SetFocus(dialog.Template().FirstTabStop());
  if (!dialog.HasEnded()) window.exec();
  // Closed by something else than the dialog itself (the session ends).
  if (!dialog.HasEnded()) dialog.EndDialog(IDCANCEL);

  window.Connect(nullptr);
  open_.pop_back();
  dialog.DetachWindow();
  return dialog.Result();
}

std::optional<std::string> QtHost::AskForFileName(const OpenFileRequest&) {
  return openFile_.Ask(Owner());
}

}  // namespace pelko::ui::qt
