// Long library work on the user-interface thread. Between BeginLongWork and
// EndLongWork the work reports its progress; each report lets the windows
// repaint, while no user input reaches the windows that were open when the
// work began (a click on the main window's "圧縮" during a backup is
// dropped, not queued). Once the work has run for half a second an
// application-modal progress window shows the entry and the share done.
// Windows opened during the work (the library's questions) take input as usual.
#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <memory>
#include <string_view>
#include <vector>

#include "ui/qt/work_clock.h"

class QLabel;
class QProgressBar;

namespace pelko::ui::qt {

class ProgressWindow : public QDialog {
 public:
  explicit ProgressWindow(QWidget* parent);
  void Show(std::string_view entry, std::uint64_t done, std::uint64_t total);

  QLabel* EntryLabel() const { return entry_; }
  QProgressBar* Bar() const { return bar_; }

 protected:
  void reject() override {}  // the work cannot be cancelled
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* entry_;
  QProgressBar* bar_;
};

class LongWorkWindow : public QObject {
 public:
  // How long work runs before the progress window appears.
  static constexpr std::chrono::milliseconds kShowAfter{500};

  explicit LongWorkWindow(const WorkClock& clock);
  ~LongWorkWindow() override;

  // `owner` is the window the progress window belongs to (may be null).
  void Begin(QWidget* owner);
  void Report(std::string_view entry, std::uint64_t done, std::uint64_t total);
  void End();

  bool Running() const { return depth_ > 0; }
  // The progress window while it is shown; null otherwise.
  ProgressWindow* Window() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Blocked(QObject* receiver) const;

  const WorkClock& clock_;
  int depth_ = 0;
  QPointer<QWidget> owner_;
  std::chrono::steady_clock::time_point began_;
  std::chrono::steady_clock::time_point eventsLetThrough_;
  std::vector<QPointer<QWidget>> blocked_;
  std::unique_ptr<ProgressWindow> window_;
};

}  // namespace pelko::ui::qt
