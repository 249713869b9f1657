#include "qt_user.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace pelko::test::qt {

void WhenShown(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> action, int timeoutMs) {
  auto* timer = new QTimer(qApp);
  auto waited = std::make_shared<int>(0);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, waited, match, action, timeoutMs] {
    QWidget* window = QApplication::activeModalWidget();
    if (window && window->isVisible() && match(window)) {
      timer->stop();
      timer->deleteLater();
      action(window);
      return;
    }
    *waited += 10;
    if (*waited >= timeoutMs) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "the expected window did not show; top modal window: "
                    << (window ? window->objectName().toStdString() : std::string("none"));
      CloseModalWindows();
    }
  });
  timer->start();
}

void WhenDialogShown(int templateId, std::function<void(QWidget*)> action, int timeoutMs) {
  const QString name = QStringLiteral("dialog-%1").arg(templateId);
  WhenShown([name](QWidget* window) { return window->objectName() == name; }, std::move(action), timeoutMs);
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
    if (auto* push = qobject_cast<QPushButton*>(button); push && push->isVisible()) buttons.push_back(push);
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
