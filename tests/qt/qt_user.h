// A user at the Qt host for tests: acts on windows once they show, from the
// event loop that the code under test runs (a modal dialog, a message box,
// the progress reports). A window that never shows fails the test and every
// modal window is closed, so no test hangs.
#pragma once

#include <QApplication>
#include <QString>
#include <functional>
#include <vector>

class QMessageBox;
class QPushButton;
class QWidget;

namespace pelko::test::qt {

// Runs `action` on the top modal window once it is visible and `match`
// accepts it (polling every 10 ms); fails after `timeoutMs`.
void WhenShown(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> action,
               int timeoutMs = 5000);

template <class T>
void WhenShown(std::function<void(T*)> action, int timeoutMs = 5000) {
  WhenShown([](QWidget* window) { return qobject_cast<T*>(window) != nullptr; },
            [action](QWidget* window) { action(qobject_cast<T*>(window)); }, timeoutMs);
}

// A window of the Qt host by its template number ("dialog-102").
void WhenDialogShown(int templateId, std::function<void(QWidget*)> action, int timeoutMs = 5000);

// Closes every modal window (a failed test's way out).
void CloseModalWindows();

// A caption without its mnemonic marks ("はい(&Y)" -> "はい(Y)").
QString Plain(const QString& caption);

// A message box's buttons from left to right, and one of them by caption.
std::vector<QPushButton*> ButtonsLeftToRight(QMessageBox* box);
QPushButton* ButtonCaptioned(QMessageBox* box, const QString& plainCaption);

// A left click as the user makes it (mouse press and release on the widget).
void Click(QWidget* widget);

}  // namespace pelko::test::qt
