// Long library work under the Qt host: after half a second an
// application-modal progress window shows the entry and the share done; no
// input reaches the main window until the work returns, so a second "圧縮"
// cannot start; the library's questions still reach the user.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "app/main_dialog.h"
#include "qt_user.h"
#include "support/test_program_folder.h"
#include "ui/qt/progress_window.h"
#include "ui/qt/qt_host.h"

namespace pelko::ui::qt {
namespace {

using test::qt::ButtonCaptioned;
using test::qt::Click;
using test::qt::WhenDialogShown;

// Work reporting `steps` entries, `pause` apart, as the archive library does.
void SlowWork(int steps, std::chrono::milliseconds pause, const std::function<void(int)>& eachStep = {}) {
  win::LongWork work;
  for (int i = 0; i < steps; ++i) {
    work.Report("folder\\file" + std::to_string(i) + ".txt", static_cast<std::uint64_t>(i) * 1000,
                static_cast<std::uint64_t>(steps) * 1000);
    if (eachStep) eachStep(i);
    std::this_thread::sleep_for(pause);
  }
}

struct WhatTheUserSaw {
  bool progressShown = false;
  bool progressModal = false;
  QString entry;
  int share = -1;
  bool progressOwnedByMain = false;
  bool shownEarly = false;
};

TEST(LongWork, ShowsTheProgressWindowAndTheMainWindowTakesNoInput) {
  test::TestProgramFolder folder;
  QtHost host;
  int compressRuns = 0;
  int optionsRuns = 0;
  WhatTheUserSaw saw;
  QWidget* mainWindow = nullptr;

  app::MainCommands commands;
  commands.compress = [&](app::CMainDialog&) {
    if (++compressRuns > 1) return;  // started again during the work: a fault
    // 1.2 s of work; at 0.8 s the user looks, then clicks "圧縮" again,
    // presses Space on it and Escape on the window.
    QTimer::singleShot(800, [&] {
      ProgressWindow* progress = host.LongWork().Window();
      saw.progressShown = progress != nullptr;
      if (!progress) return;
      saw.progressModal = QApplication::activeModalWidget() == progress;
      saw.entry = progress->EntryLabel()->text();
      saw.share = progress->Bar()->value();
      saw.progressOwnedByMain = progress->parentWidget() == mainWindow;
      auto* compress = mainWindow->findChild<QPushButton*>("1001");
      Click(compress);
      compress->setFocus();
      QTest::keyClick(compress, Qt::Key_Space);
      QTest::keyClick(mainWindow, Qt::Key_Escape);
    });
    // Before the progress window shows, the buttons take no clicks either.
    QTimer::singleShot(200, [&] {
      saw.shownEarly = host.LongWork().Window() != nullptr;
      Click(mainWindow->findChild<QPushButton*>("1001"));
      Click(mainWindow->findChild<QPushButton*>("1009"));
    });
    // A click that is still waiting when the work ends is dropped too.
    QTimer::singleShot(1150, [&] { Click(mainWindow->findChild<QPushButton*>("1001")); });
    SlowWork(30, std::chrono::milliseconds(40));
  };
  commands.options = [&](app::CMainDialog&) { ++optionsRuns; };

  WhenDialogShown(102, [&](QWidget* window) {
    mainWindow = window;
    Click(window->findChild<QPushButton*>("1001"));
    // Back from the work: the window takes input again, then closes.
    Click(window->findChild<QPushButton*>("1009"));
    Click(window->findChild<QPushButton*>("2"));
  });
  app::CMainDialog mainDialog(commands);
  EXPECT_EQ(mainDialog.DoModal(), IDCANCEL);

  EXPECT_FALSE(saw.shownEarly) << "the progress window showed before half a second";
  EXPECT_TRUE(saw.progressShown);
  EXPECT_TRUE(saw.progressModal);
  EXPECT_TRUE(saw.progressOwnedByMain);
  EXPECT_TRUE(saw.entry.startsWith(QStringLiteral("folder\\file"))) << saw.entry.toStdString();
  EXPECT_GT(saw.share, 40);
  EXPECT_LT(saw.share, 100);
  EXPECT_EQ(compressRuns, 1) << "a second compress started during the first";
  EXPECT_EQ(optionsRuns, 1) << "the main window took no input after the work";
  EXPECT_EQ(host.LongWork().Window(), nullptr) << "the progress window outlived the work";
}

TEST(LongWork, ShortWorkShowsNoProgressWindow) {
  QtHost host;
  bool everShown = false;
  SlowWork(8, std::chrono::milliseconds(40), [&](int) { everShown |= host.LongWork().Window() != nullptr; });
  EXPECT_FALSE(everShown);
  EXPECT_FALSE(host.LongWork().Running());
}

TEST(LongWork, TheLibrarysQuestionsTakeInputWhileTheWorkRuns) {
  QtHost host;
  win::DialogResult answer = win::DialogResult::Cancel;
  QWidget* questionParent = nullptr;
  QWidget* progressWindow = nullptr;
  SlowWork(20, std::chrono::milliseconds(40), [&](int step) {
    if (step != 16) return;
    progressWindow = host.LongWork().Window();
    test::qt::WhenShown<QMessageBox>([&](QMessageBox* box) {
      questionParent = box->parentWidget();
      Click(ButtonCaptioned(box, QStringLiteral("いいえ(N)")));
    });
    answer = win::MessageBox("overwrite?", win::MessageBoxButtons::YesNo, win::MessageBoxIcon::Question);
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
