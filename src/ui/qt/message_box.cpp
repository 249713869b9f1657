#include "ui/qt/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

namespace pelko::ui::qt {
namespace {

using win::DialogResult;
using win::MessageBoxButtons;

std::vector<DialogResult> AnswersOf(MessageBoxButtons buttons) {
  switch (buttons) {
    case MessageBoxButtons::Ok:
      return {DialogResult::Ok};
    case MessageBoxButtons::OkCancel:
      return {DialogResult::Ok, DialogResult::Cancel};
    case MessageBoxButtons::YesNo:
      return {DialogResult::Yes, DialogResult::No};
    case MessageBoxButtons::YesNoCancel:
      return {DialogResult::Yes, DialogResult::No, DialogResult::Cancel};
    case MessageBoxButtons::RetryCancel:
      return {DialogResult::Retry, DialogResult::Cancel};
  }
  return {DialogResult::Ok};
}

QMessageBox::Icon IconOf(win::MessageBoxIcon icon) {
  switch (icon) {
    case win::MessageBoxIcon::None:
      return QMessageBox::NoIcon;
    case win::MessageBoxIcon::Information:
      return QMessageBox::Information;
    case win::MessageBoxIcon::Question:
      return QMessageBox::Question;
    case win::MessageBoxIcon::Warning:
      return QMessageBox::Warning;
    case win::MessageBoxIcon::Error:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QString MessageBoxButtonText(DialogResult answer) {
  switch (answer) {
    case DialogResult::Ok:
      return QStringLiteral("OK");
    case DialogResult::Cancel:
      return QStringLiteral("キャンセル");
    case DialogResult::Yes:
      return QStringLiteral("はい(&Y)");
    case DialogResult::No:
      return QStringLiteral("いいえ(&N)");
    case DialogResult::Retry:
      return QStringLiteral("再試行(&R)");
  }
  return {};
}

DialogResult RunMessageBox(QWidget* parent, const QString& text, const QString& caption,
                           MessageBoxButtons buttons, win::MessageBoxIcon icon) {
  QMessageBox box(parent);
  box.setObjectName(QStringLiteral("message-box"));
  box.setWindowTitle(caption);
  box.setTextFormat(Qt::PlainText);  // file names are never markup
  box.setText(text);
  box.setIcon(IconOf(icon));

  // One role for every button keeps them in Windows' order on every
  // platform style; the answers are told apart by the button itself.
  std::vector<std::pair<QPushButton*, DialogResult>> offered;
  for (DialogResult answer : AnswersOf(buttons)) {
    QPushButton* button = box.addButton(MessageBoxButtonText(answer), QMessageBox::ActionRole);
    button->setObjectName(QStringLiteral("answer-%1").arg(static_cast<int>(answer)));
    offered.emplace_back(button, answer);
  }
  box.setDefaultButton(offered.front().first);
  QPushButton* escape = nullptr;
  for (const auto& [button, answer] : offered) {
    if (answer == DialogResult::Cancel) escape = button;
  }
  if (!escape && offered.size() == 1) escape = offered.front().first;
  if (escape) box.setEscapeButton(escape);

  box.exec();

  for (const auto& [button, answer] : offered) {
    if (box.clickedButton() == button) return answer;
  }
  // Closed without an answer (the application is going away): the way out.
  for (DialogResult wayOut : {DialogResult::Cancel, DialogResult::No, DialogResult::Ok}) {
    for (const auto& [button, answer] : offered) {
      if (answer == wayOut) return answer;
    }
  }
  return DialogResult::Cancel;
}

}  // namespace pelko::ui::qt
