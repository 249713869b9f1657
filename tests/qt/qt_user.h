// A user at the Qt host for tests: acts on windows once they show, from the
// event loop that the code under test runs (a modal dialog, a message box,
// the progress reports). Nothing here waits for a time: a watch lasts until
// its window shows, however busy the machine. A watch still waiting when the
// test ends fails the test and is dropped (see WatchesEndWithTheTest); a
// test that blocks on a window no one answers is ended by CTest's timeout.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <functional>
#include <vector>

class QMessageBox;
class QPushButton;
class QWidget;

namespace pelko::test::qt {

// Runs `action` on the top modal window once it is visible and `match`
// accepts it (looked for whenever the event loop runs).
void WhenShown(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> action);

template <class T>
void WhenShown(std::function<void(T*)> action) {
  WhenShown([](QWidget* window) { return qobject_cast<T*>(window) != nullptr; },
            [action](QWidget* window) { action(qobject_cast<T*>(window)); });
}

// A window of the Qt host by its template number ("dialog-102").
void WhenDialogShown(int templateId, std::function<void(QWidget*)> action);

// Closes every modal window (a failed test's way out).
void CloseModalWindows();

// Ends every watch still waiting when a test ends, failing that test; the
// test binary's main installs it.
class WatchesEndWithTheTest : public ::testing::EmptyTestEventListener {
 public:
  void OnTestEnd(const ::testing::TestInfo& test) override;
};

// A caption without its mnemonic marks ("はい(&Y)" -> "はい(Y)").
QString Plain(const QString& caption);

// A message box's buttons from left to right, and one of them by caption.
std::vector<QPushButton*> ButtonsLeftToRight(QMessageBox* box);
QPushButton* ButtonCaptioned(QMessageBox* box, const QString& plainCaption);

// A left click as the user makes it (mouse press and release on the widget).
void Click(QWidget* widget);

}  // namespace pelko::test::qt
