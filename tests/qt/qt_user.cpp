#include "qt_user.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace pelko::test::qt {

namespace {

// The watches waiting now, each a timer that looks at the top modal window.
std::vector<QTimer*>& Watches() {
  static std::vector<QTimer*> watches;
  return watches;
}

void Drop(QTimer* watch) {
  watch->stop();
  watch->deleteLater();
  std::erase(Watches(), watch);
}

}  // namespace

void WhenShown(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> action) {
  auto* watch = new QTimer(qApp);
  // Looks every 10 ms while the event loop runs; the interval only spares
  // the processor, no outcome depends on it.
  watch->setInterval(10);
  QObject::connect(watch, &QTimer::timeout, watch, [watch, match, action] {
    QWidget* window = QApplication::activeModalWidget();
    if (!window || !window->isVisible() || !match(window)) return;
    Drop(watch);
    action(window);
  });
  Watches().push_back(watch);
  watch->start();
}

void WhenDialogShown(int templateId, std::function<void(QWidget*)> action) {
  const QString name = QStringLiteral("dialog-%1").arg(templateId);
  WhenShown([name](QWidget* window) { return window->objectName() == name; }, std::move(action));
}

void WatchesEndWithTheTest::OnTestEnd(const ::testing::TestInfo&) {
  if (Watches().empty()) return;
  ADD_FAILURE() << Watches().size() << " expected window(s) never showed";
  while (!Watches().empty()) Drop(Watches().back());
  CloseModalWindows();
}

void CloseModalWindows() {
  for (int i = 0; i < 20; ++i) {
    QWidget* window = QApplication::activeModalWidget();
    if (!window) return;
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
      dialog->done(0);
    } else {
      window->hide();
    }
  }
}

QString Plain(const QString& caption) {
  QString plain = caption;
  return plain.remove(QChar('&'));
}

std::vector<QPushButton*> ButtonsLeftToRight(QMessageBox* box) {
  std::vector<QPushButton*> buttons;
  for (QAbstractButton* button : box->buttons()) {
    if (auto* push = qobject_cast<QPushButton*>(button); push && push->isVisible())
      buttons.push_back(push);
  }
  std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) {
    return a->mapToGlobal(QPoint(0, 0)).x() < b->mapToGlobal(QPoint(0, 0)).x();
  });
  return buttons;
}

QPushButton* ButtonCaptioned(QMessageBox* box, const QString& plainCaption) {
  for (QPushButton* button : ButtonsLeftToRight(box)) {
    if (Plain(button->text()) == plainCaption) return button;
  }
  return nullptr;
}

void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

}  // namespace pelko::test::qt
