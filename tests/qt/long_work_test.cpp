// Long library work under the Qt host: once the work has run half a second
// an application-modal progress window shows the entry and the share done;
// no input reaches the main window until the work returns, so a second
// "圧縮" cannot start; the library's questions still reach the user. The
// work's time is a clock the test moves, so the outcome never depends on
// how busy the machine is.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "app/main_dialog.h"
#include "qt_user.h"
#include "support/test_program_folder.h"
#include "ui/qt/progress_window.h"
#include "ui/qt/qt_host.h"

namespace pelko::ui::qt {
namespace {

using namespace std::chrono_literals;
using test::qt::ButtonCaptioned;
using test::qt::Click;
using test::qt::WhenDialogShown;

class HandClock : public WorkClock {
 public:
  std::chrono::steady_clock::time_point Now() const override { return now_; }
  void Advance(std::chrono::milliseconds step) { now_ += step; }

 private:
  std::chrono::steady_clock::time_point now_{};
};

// Work reporting `steps` entries 40 ms apart, as the archive library does;
// `eachStep(i)` runs right after report i, at 40 * i ms.
void Work(HandClock& clock, int steps, const std::function<void(int)>& eachStep = {}) {
  win::LongWork work;
  for (int i = 0; i < steps; ++i) {
    work.Report("folder\\file" + std::to_string(i) + ".txt", static_cast<std::uint64_t>(i) * 1000,
                static_cast<std::uint64_t>(steps) * 1000);
    if (eachStep) eachStep(i);
    clock.Advance(40ms);
  }
}

struct WhatTheUserSaw {
  bool shownEarly = false;
  bool shownAfterHalfASecond = false;
  bool progressModal = false;
  bool progressOwnedByMain = false;
  QString entry;
  int share = -1;
};

TEST(LongWork, ShowsTheProgressWindowAndTheMainWindowTakesNoInput) {
  test::TestProgramFolder folder;
  HandClock clock;
  QtHost host(true, clock);
  int compressRuns = 0;
  int optionsRuns = 0;
  WhatTheUserSaw saw;
  QWidget* mainWindow = nullptr;
  auto button = [&](const char* id) { return mainWindow->findChild<QPushButton*>(id); };

  app::MainCommands commands;
  commands.compress = [&](shell::MainWindow&) {
    if (++compressRuns > 1) return;  // started again during the work: a fault
    Work(clock, 30, [&](int step) {
      if (step == 5) {  // 200 ms: no window yet, and the buttons take no clicks
        saw.shownEarly = host.LongWork().Window() != nullptr;
        Click(button("1001"));
        Click(button("1009"));
      }
      if (step == 13) {  // 520 ms: the window shows
        ProgressWindow* progress = host.LongWork().Window();
        saw.shownAfterHalfASecond = progress != nullptr;
        if (!progress) return;
        saw.progressModal = QApplication::activeModalWidget() == progress;
        saw.progressOwnedByMain = progress->parentWidget() == mainWindow;
      }
      if (step ==
          20) {  // 800 ms: the user looks, clicks "圧縮" again, presses Space on it and Escape
        if (ProgressWindow* progress = host.LongWork().Window()) {
          saw.entry = progress->EntryLabel()->text();
          saw.share = progress->Bar()->value();
        }
        Click(button("1001"));
        button("1001")->setFocus();
        QTest::keyClick(button("1001"), Qt::Key_Space);
        QTest::keyClick(mainWindow, Qt::Key_Escape);
      }
      // A click that comes in as the work ends is dropped too.
      if (step == 29) QTimer::singleShot(0, [&] { Click(button("1001")); });
    });
  };
  commands.options = [&](shell::MainWindow&) { ++optionsRuns; };

  WhenDialogShown(102, [&](QWidget* window) {
    mainWindow = window;
    Click(button("1001"));
    // Back from the work: the window takes input again, then closes.
    Click(button("1009"));
    Click(button("2"));
  });
  app::CMainDialog mainDialog(commands);
  EXPECT_EQ(mainDialog.DoModal(), IDCANCEL);

  EXPECT_FALSE(saw.shownEarly) << "the progress window showed before half a second";
  EXPECT_TRUE(saw.shownAfterHalfASecond);
  EXPECT_TRUE(saw.progressModal);
  EXPECT_TRUE(saw.progressOwnedByMain);
  EXPECT_EQ(saw.entry, QStringLiteral("folder\\file20.txt"));
  EXPECT_EQ(saw.share, 66);
  EXPECT_EQ(compressRuns, 1) << "a second compress started during the first";
  EXPECT_EQ(optionsRuns, 1) << "the main window took no input after the work";
  EXPECT_EQ(host.LongWork().Window(), nullptr) << "the progress window outlived the work";
}

TEST(LongWork, TheProgressWindowWaitsExactlyHalfASecond) {
  HandClock clock;
  QtHost host(true, clock);
  host.BeginLongWork();
  for (int elapsed = 0; elapsed < 500; elapsed += 20) {
    host.ReportProgress("a.txt", 0, 1);
    EXPECT_EQ(host.LongWork().Window(), nullptr) << "at " << elapsed << " ms";
    clock.Advance(20ms);
  }
  host.ReportProgress("a.txt", 0, 1);
  EXPECT_NE(host.LongWork().Window(), nullptr) << "at 500 ms";
  host.EndLongWork();
  EXPECT_EQ(host.LongWork().Window(), nullptr);
  EXPECT_FALSE(host.LongWork().Running());
}

TEST(LongWork, TheLibrarysQuestionsTakeInputWhileTheWorkRuns) {
  HandClock clock;
  QtHost host(true, clock);
  win::DialogResult answer = win::DialogResult::Cancel;
  QWidget* questionParent = nullptr;
  QWidget* progressWindow = nullptr;
  Work(clock, 20, [&](int step) {
    if (step != 16) return;
    progressWindow = host.LongWork().Window();
    test::qt::WhenShown<QMessageBox>([&](QMessageBox* box) {
      questionParent = box->parentWidget();
      Click(ButtonCaptioned(box, QStringLiteral("いいえ(N)")));
    });
    answer =
        win::MessageBox("overwrite?", win::MessageBoxButtons::YesNo, win::MessageBoxIcon::Question);
  });
  ASSERT_NE(progressWindow, nullptr);
  EXPECT_EQ(questionParent, progressWindow) << "the question belongs on top of the progress window";
  EXPECT_EQ(answer, win::DialogResult::No);
}

TEST(LongWork, NestedBracketsEndWithTheOuterOne) {
  QtHost host;
  host.BeginLongWork();
  host.BeginLongWork();
  host.EndLongWork();
  EXPECT_TRUE(host.LongWork().Running());
  host.EndLongWork();
  EXPECT_FALSE(host.LongWork().Running());
  host.EndLongWork();  // one too many does no harm
  EXPECT_FALSE(host.LongWork().Running());
}

}  // namespace
}  // namespace pelko::ui::qt
