#include "ui/qt/qt_controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include "ui/qt/qt_text.h"
#include "ui/qt/static_text.h"

namespace pelko::ui::qt {
namespace {

// Items carry their CP932 bytes beside the text shown.
constexpr int kBytesRole = Qt::UserRole;

QByteArray Bytes(std::string_view text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string BytesOf(const QVariant& value) {
  const QByteArray bytes = value.toByteArray();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

// --- QtControl ---

QtControl::QtControl(const ControlTemplate& controlTemplate, QWidget* widget)
    : template_(controlTemplate), widget_(widget) {}

QString QtControl::Shown(std::string_view text) const { return DisplayText(text); }

std::string QtControl::Read(const QString& text) const { return ToCp932(text); }

std::string QtControl::Text() const {
  const QString now = WidgetText();
  if (hasLastSet_ && now == lastShown_) return lastSet_;
  return Read(now);
}

void QtControl::SetText(std::string_view text) {
  const QString shown = Shown(text);
  {
    const QSignalBlocker quiet(widget_);
    SetWidgetText(shown);
  }
  lastSet_ = std::string(text);
  lastShown_ = WidgetText();
  hasLastSet_ = true;
}

bool QtControl::IsEnabled() const { return widget_->isEnabled(); }

void QtControl::Enable(bool enable) { widget_->setEnabled(enable); }

// --- ButtonControl ---

ButtonControl::ButtonControl(const ControlTemplate& controlTemplate, QAbstractButton* button)
    : QtControl(controlTemplate, button), button_(button) {}

CheckPeer* ButtonControl::AsCheck() { return button_->isCheckable() ? this : nullptr; }

int ButtonControl::Check() const { return button_->isChecked() ? 1 : 0; }

void ButtonControl::SetCheck(int state) {
  const QSignalBlocker quiet(button_);
  button_->setChecked(state != 0);
}

QString ButtonControl::WidgetText() const { return button_->text(); }

void ButtonControl::SetWidgetText(const QString& text) { button_->setText(text); }

// --- GroupBoxControl ---

GroupBoxControl::GroupBoxControl(const ControlTemplate& controlTemplate, QGroupBox* box)
    : QtControl(controlTemplate, box), box_(box) {}

QString GroupBoxControl::WidgetText() const { return box_->title(); }

void GroupBoxControl::SetWidgetText(const QString& text) { box_->setTitle(text); }

// --- StaticControl ---

StaticControl::StaticControl(const ControlTemplate& controlTemplate, StaticText* label)
    : QtControl(controlTemplate, label), label_(label) {}

QString StaticControl::WidgetText() const { return label_->text(); }

void StaticControl::SetWidgetText(const QString& text) { label_->setText(text); }

// --- LineEditControl ---

LineEditControl::LineEditControl(const ControlTemplate& controlTemplate, QLineEdit* edit)
    : QtControl(controlTemplate, edit), edit_(edit) {}

QString LineEditControl::WidgetText() const { return edit_->text(); }

void LineEditControl::SelectAllText() { edit_->selectAll(); }

void LineEditControl::SetWidgetText(const QString& text) {
  edit_->setText(text);
  edit_->setCursorPosition(0);
}

// --- TextEditControl ---

TextEditControl::TextEditControl(const ControlTemplate& controlTemplate, QPlainTextEdit* edit)
    : QtControl(controlTemplate, edit), edit_(edit) {}

QString TextEditControl::WidgetText() const { return edit_->toPlainText(); }

void TextEditControl::SetWidgetText(const QString& text) { edit_->setPlainText(text); }

void TextEditControl::SelectAllText() { edit_->selectAll(); }

std::string TextEditControl::Read(const QString& text) const {
  QString windowsText = text;
  windowsText.replace(QChar('\n'), QStringLiteral("\r\n"));
  return ToCp932(windowsText);
}

// --- ListBoxControl ---

ListBoxControl::ListBoxControl(const ControlTemplate& controlTemplate, QListWidget* list)
    : QtControl(controlTemplate, list), list_(list) {}

QString ListBoxControl::WidgetText() const { return {}; }

void ListBoxControl::SetWidgetText(const QString&) {}

int ListBoxControl::Count() const { return list_->count(); }

std::string ListBoxControl::ItemText(int index) const {
  const QListWidgetItem* item = list_->item(index);
  return item ? BytesOf(item->data(kBytesRole)) : std::string();
}

void ListBoxControl::InsertItem(int index, std::string_view text) {
  const QSignalBlocker quiet(list_);
  if (index < 0 || index > list_->count()) index = list_->count();
  auto* item = new QListWidgetItem(DisplayText(text));
  item->setData(kBytesRole, Bytes(text));
  list_->insertItem(index, item);
}

void ListBoxControl::DeleteItem(int index) {
  const QSignalBlocker quiet(list_);
  delete list_->takeItem(index);
}

void ListBoxControl::Clear() {
  const QSignalBlocker quiet(list_);
  list_->clear();
}

bool ListBoxControl::IsSelected(int index) const {
  const QListWidgetItem* item = list_->item(index);
  return item && item->isSelected();
}

void ListBoxControl::SetSelected(int index, bool selected) {
  const QSignalBlocker quiet(list_);
  if (QListWidgetItem* item = list_->item(index)) item->setSelected(selected);
}

int ListBoxControl::CurrentSelection() const {
  for (int i = 0; i < list_->count(); ++i) {
    if (list_->item(i)->isSelected()) return i;
  }
  return -1;
}

void ListBoxControl::SetCurrentSelection(int index) {
  const QSignalBlocker quiet(list_);
  list_->clearSelection();
  if (QListWidgetItem* item = list_->item(index)) {
    list_->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    list_->scrollToItem(item);
  }
}

// --- ComboControl ---

ComboControl::ComboControl(const ControlTemplate& controlTemplate, QComboBox* combo)
    : QtControl(controlTemplate, combo), combo_(combo) {}

QString ComboControl::WidgetText() const { return combo_->currentText(); }

void ComboControl::SelectAllText() {
  if (combo_->isEditable()) combo_->lineEdit()->selectAll();
}

void ComboControl::SetWidgetText(const QString& text) {
  if (combo_->isEditable()) combo_->setEditText(text);
}

void ComboControl::KeepText(int selection, const QString& text) {
  const QSignalBlocker quiet(combo_);
  combo_->setCurrentIndex(selection);
  if (combo_->isEditable()) combo_->setEditText(text);
}

int ComboControl::Count() const { return combo_->count(); }

std::string ComboControl::ItemText(int index) const {
  if (index < 0 || index >= combo_->count()) return {};
  return BytesOf(combo_->itemData(index, kBytesRole));
}

void ComboControl::InsertItem(int index, std::string_view text) {
  if (index < 0 || index > combo_->count()) index = combo_->count();
  const int selection = combo_->currentIndex();
  const QString editText = combo_->currentText();
  {
    const QSignalBlocker quiet(combo_);
    combo_->insertItem(index, DisplayText(text), Bytes(text));
  }
  KeepText(selection >= index ? selection + 1 : selection, editText);
}

void ComboControl::DeleteItem(int index) {
  if (index < 0 || index >= combo_->count()) return;
  const int selection = combo_->currentIndex();
  const QString editText = combo_->currentText();
  {
    const QSignalBlocker quiet(combo_);
    combo_->removeItem(index);
  }
  KeepText(selection == index ? -1 : (selection > index ? selection - 1 : selection), editText);
}

void ComboControl::Clear() {
  const QString editText = combo_->currentText();
  {
    const QSignalBlocker quiet(combo_);
    combo_->clear();
  }
  KeepText(-1, editText);
}

bool ComboControl::IsSelected(int index) const {
  return index >= 0 && index == combo_->currentIndex();
}

void ComboControl::SetSelected(int index, bool selected) {
  if (selected) {
    SetCurrentSelection(index);
  } else if (index == combo_->currentIndex()) {
    SetCurrentSelection(-1);
  }
}

int ComboControl::CurrentSelection() const { return combo_->currentIndex(); }

void ComboControl::SetCurrentSelection(int index) {
  const QSignalBlocker quiet(combo_);
  combo_->setCurrentIndex(index >= 0 && index < combo_->count() ? index : -1);
}

}  // namespace pelko::ui::qt
