#include "ui/qt/qt_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/controls.h"
#include "ui/dialog.h"
#include "ui/qt/dialog_font.h"
#include "ui/qt/floppy_icon.h"
#include "ui/qt/group_box.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/static_text.h"

namespace pelko::ui::qt {
namespace {

// An automatic radio button: a click checks it and never clears it; the
// window clears the others of its group.
class AutoRadioButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void nextCheckState() override { setChecked(true); }
};

Qt::WindowFlags FlagsOf(const DialogTemplate& dialogTemplate) {
  namespace ws = window_style;
  // A window with a taskbar button is a window of its own; the others are
  // dialogs that belong to the window below them.
  Qt::WindowFlags flags = dialogTemplate.windowStyle & ws::AppWindow ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint;
  if (dialogTemplate.windowStyle & ws::Caption) flags |= Qt::WindowTitleHint;
  if (dialogTemplate.windowStyle & ws::SystemMenu)
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (dialogTemplate.windowStyle & ws::MinimizeBox) flags |= Qt::WindowMinimizeButtonHint;
  if (dialogTemplate.windowStyle & ws::MaximizeBox) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

void ShowReadOnly(QWidget* edit) {
  // Windows greys the background of a read-only edit.
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  edit->setPalette(palette);
}

Qt::Alignment StaticAlignment(const ControlTemplate& control) {
  Qt::Alignment alignment = Qt::AlignLeft;
  if (control.Has(style::RightAligned)) alignment = Qt::AlignRight;
  if (control.Has(style::CenterHorizontal)) alignment = Qt::AlignHCenter;
  alignment |= control.Has(style::CenterVertical) ? Qt::AlignVCenter : Qt::AlignTop;
  return alignment;
}

}  // namespace

QtWindow::QtWindow(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent, FlagsOf(dialogTemplate)), template_(dialogTemplate) {
  Build();
}

QtWindow::~QtWindow() = default;

QRect QtWindow::PixelRect(const Rect& units) const {
  const Rect pixels = DialogUnitsToPixels(units, baseUnits_);
  return QRect(pixels.x, pixels.y, pixels.width, pixels.height);
}

void QtWindow::Build() {
  setObjectName(QStringLiteral("dialog-%1").arg(template_.id));
  setFont(DialogFont(template_));
  baseUnits_ = BaseUnitsOf(font());
  SetCaption(CaptionText(template_));
  setSizeGripEnabled(false);

  const QRect frame = PixelRect(template_.rect);
  if (template_.windowStyle & window_style::Resizable) {
    resize(frame.size());
  } else {
    setFixedSize(frame.size());
  }
  // The template's position counts from the owner's client area, or from
  // the screen for a window without owner.
  QPoint origin;
  if (parentWidget()) {
    origin = parentWidget()->mapToGlobal(QPoint(0, 0));
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    origin = screen->availableGeometry().topLeft();
  }
  move(origin + frame.topLeft());

  QWidget* previousTabStop = nullptr;
  std::vector<QWidget*> groupBoxes;
  for (const ControlTemplate& control : template_.controls) {
    std::unique_ptr<QtControl> peer;
    QWidget* widget = MakeWidget(control, peer);
    if (control.id != kNoControlId) widget->setObjectName(QString::number(control.id));
    if (control.kind != ControlKind::ComboBox) widget->setGeometry(PixelRect(control.rect));
    if (control.Has(style::Disabled)) widget->setEnabled(false);
    if (control.kind == ControlKind::GroupBox) groupBoxes.push_back(widget);
    if (control.kind != ControlKind::Static && control.kind != ControlKind::GroupBox) {
      widget->setFocusPolicy(control.Has(style::TabStop) ? Qt::StrongFocus : Qt::ClickFocus);
      if (previousTabStop) QWidget::setTabOrder(previousTabStop, widget);
      previousTabStop = widget;
    }
    controls_.push_back(std::move(peer));
  }
  // A group box only frames the controls inside it: under them, and
  // transparent to the mouse, as on Windows.
  for (QWidget* box : groupBoxes) box->lower();

  // Radio groups: consecutive radio buttons, a new group at each group start.
  std::vector<QRadioButton*>* group = nullptr;
  for (std::size_t i = 0; i < template_.controls.size(); ++i) {
    const ControlTemplate& control = template_.controls[i];
    if (control.kind != ControlKind::RadioButton) {
      group = nullptr;
      continue;
    }
    if (!group || control.Has(style::Group)) group = &radioGroups_.emplace_back();
    group->push_back(static_cast<QRadioButton*>(controls_[i]->Widget()));
  }
}

QWidget* QtWindow::MakeWidget(const ControlTemplate& control, std::unique_ptr<QtControl>& peer) {
  switch (control.kind) {
    case ControlKind::PushButton:
      peer = MakePushButton(control);
      break;
    case ControlKind::CheckBox:
      peer = MakeCheckBox(control);
      break;
    case ControlKind::RadioButton:
      peer = MakeRadioButton(control);
      break;
    case ControlKind::GroupBox:
      peer = MakeGroupBox(control);
      break;
    case ControlKind::Static:
      peer = MakeStatic(control);
      break;
    case ControlKind::Edit:
      peer = control.Has(style::MultiLine) ? MakeMultiLineEdit(control) : MakeLineEdit(control);
      break;
    case ControlKind::ListBox:
      peer = MakeListBox(control);
      break;
    case ControlKind::ComboBox:
      peer = MakeComboBox(control);
      break;
  }
  peer->SetText(CaptionText(control));
  return peer->Widget();
}

std::unique_ptr<QtControl> QtWindow::MakePushButton(const ControlTemplate& control) {
  auto* button = new QPushButton(this);
  button->setAutoDefault(true);
  button->setDefault(control.Has(style::DefaultButton));
  connect(button, &QPushButton::clicked, this,
          [this, id = control.id] { Notify(id, Notification::Clicked); });
  return std::make_unique<ButtonControl>(control, button);
}

std::unique_ptr<QtControl> QtWindow::MakeCheckBox(const ControlTemplate& control) {
  auto* box = new QCheckBox(this);
  connect(box, &QCheckBox::clicked, this,
          [this, id = control.id] { Notify(id, Notification::Clicked); });
  return std::make_unique<ButtonControl>(control, box);
}

std::unique_ptr<QtControl> QtWindow::MakeRadioButton(const ControlTemplate& control) {
  auto* radio = new AutoRadioButton(this);
  radio->setAutoExclusive(false);
  connect(radio, &QRadioButton::clicked, this,
          [this, radio, id = control.id] { ClickRadio(radio, id); });
  return std::make_unique<ButtonControl>(control, radio);
}

std::unique_ptr<QtControl> QtWindow::MakeGroupBox(const ControlTemplate& control) {
  auto* box = new GroupBox(this);
  box->setAttribute(Qt::WA_TransparentForMouseEvents);
  box->setFocusPolicy(Qt::NoFocus);
  return std::make_unique<GroupBoxControl>(control, box);
}

std::unique_ptr<QtControl> QtWindow::MakeStatic(const ControlTemplate& control) {
  auto* label = new StaticText(this);
  label->setAlignment(StaticAlignment(control));
  label->setWordWrap(!control.Has(style::NoWordWrap) && !control.Has(style::CenterVertical));
  if (control.Has(style::Sunken)) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
  } else if (control.Has(style::Border)) {
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
  }
  label->setFocusPolicy(Qt::NoFocus);
  return std::make_unique<StaticControl>(control, label);
}

std::unique_ptr<QtControl> QtWindow::MakeMultiLineEdit(const ControlTemplate& control) {
  auto* edit = new QPlainTextEdit(this);
  edit->setTabChangesFocus(true);
  edit->setReadOnly(control.Has(style::ReadOnly));
  edit->setLineWrapMode(control.Has(style::AutoHScroll) ? QPlainTextEdit::NoWrap
                                                        : QPlainTextEdit::WidgetWidth);
  edit->setVerticalScrollBarPolicy(control.Has(style::VScroll) ? Qt::ScrollBarAlwaysOn
                                                               : Qt::ScrollBarAlwaysOff);
  edit->setHorizontalScrollBarPolicy(control.Has(style::HScroll) ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAlwaysOff);
  if (!control.Has(style::Border)) edit->setFrameShape(QFrame::NoFrame);
  if (control.Has(style::ReadOnly)) ShowReadOnly(edit);
  connect(edit, &QPlainTextEdit::textChanged, this,
          [this, id = control.id] { Notify(id, Notification::EditChange); });
  return std::make_unique<TextEditControl>(control, edit);
}

std::unique_ptr<QtControl> QtWindow::MakeLineEdit(const ControlTemplate& control) {
  auto* edit = new QLineEdit(this);
  edit->setReadOnly(control.Has(style::ReadOnly));
  edit->setFrame(control.Has(style::Border));
  if (control.Has(style::ReadOnly)) ShowReadOnly(edit);
  connect(edit, &QLineEdit::textEdited, this,
          [this, id = control.id] { Notify(id, Notification::EditChange); });
  return std::make_unique<LineEditControl>(control, edit);
}

std::unique_ptr<QtControl> QtWindow::MakeListBox(const ControlTemplate& control) {
  auto* list = new QListWidget(this);
  list->setSortingEnabled(false);  // the framework places every item
  list->setUniformItemSizes(true);
  list->setSelectionMode(control.Has(style::MultipleSelection)
                             ? QAbstractItemView::MultiSelection
                             : QAbstractItemView::SingleSelection);
  list->setVerticalScrollBarPolicy(control.Has(style::VScroll) ? Qt::ScrollBarAsNeeded
                                                               : Qt::ScrollBarAlwaysOff);
  list->setHorizontalScrollBarPolicy(control.Has(style::HScroll) ? Qt::ScrollBarAsNeeded
                                                                 : Qt::ScrollBarAlwaysOff);
  if (!control.Has(style::Border)) list->setFrameShape(QFrame::NoFrame);
  if (control.Has(style::Notify)) {
    const int id = control.id;
    connect(list, &QListWidget::itemSelectionChanged, this,
            [this, id] { Notify(id, Notification::SelectionChange); });
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this, id] { Notify(id, Notification::DoubleClick); });
  }
  return std::make_unique<ListBoxControl>(control, list);
}

std::unique_ptr<QtControl> QtWindow::MakeComboBox(const ControlTemplate& control) {
  const int id = control.id;
  auto* combo = new QComboBox(this);
  combo->setEditable(control.Has(style::DropDown));
  combo->setInsertPolicy(QComboBox::NoInsert);
  if (combo->isEditable()) {
    combo->setCompleter(nullptr);
    // Typed text never picks an item: Qt would select the item the text
    // names when Enter is pressed or the focus leaves, and report that as
    // the user's choice. Enter goes on to the dialog's default button.
    QObject::disconnect(combo->lineEdit(), SIGNAL(returnPressed()), combo, nullptr);
    QObject::disconnect(combo->lineEdit(), SIGNAL(editingFinished()), combo, nullptr);
    connect(combo->lineEdit(), &QLineEdit::textEdited, this,
            [this, id] { Notify(id, Notification::EditChange); });
  }
  // Only a pick from the list or with the arrow keys changes the selection now.
  connect(combo, &QComboBox::activated, this,
          [this, id] { Notify(id, Notification::SelectionChange); });
  // The template's height is the open list's; the closed box is as high as
  // its font needs.
  const QRect rect = PixelRect(control.rect);
  const int closedHeight = combo->sizeHint().height();
  combo->setGeometry(rect.x(), rect.y(), rect.width(), closedHeight);
  const int itemHeight = QFontMetrics(font()).height() + 2;
  combo->setMaxVisibleItems(std::max(1, (rect.height() - closedHeight) / itemHeight));
  auto peer = std::make_unique<ComboControl>(control, combo);
  ui::ComboBox items(peer.get(), &control);
  for (std::string_view item : control.items) items.AddString(ItemText(item));
  return peer;
}

QtControl* QtWindow::Find(int controlId) const {
  if (controlId == kNoControlId) return nullptr;
  for (const auto& control : controls_) {
    if (control->Template().id == controlId) return control.get();
  }
  return nullptr;
}

QtControl* QtWindow::ControlAt(std::size_t index) const {
  return index < controls_.size() ? controls_[index].get() : nullptr;
}

std::string QtWindow::Caption() const {
  return windowTitle() == shownCaption_ ? caption_ : ToCp932(windowTitle());
}

void QtWindow::SetCaption(std::string_view caption) {
  caption_ = std::string(caption);
  setWindowTitle(FromCp932(caption));
  shownCaption_ = windowTitle();
}

void QtWindow::SetFocus(int controlId) {
  if (QtControl* control = Find(controlId)) control->Widget()->setFocus(Qt::OtherFocusReason);
}

int QtWindow::FocusedControl() const {
  const QWidget* focus = focusWidget();
  if (!focus) return kNoControlId;
  for (const auto& control : controls_) {
    if (control->Widget() == focus || control->Widget()->isAncestorOf(focus))
      return control->Template().id;
  }
  return kNoControlId;
}

void QtWindow::EndModal(int result) {
  ended_ = true;
  result_ = result;
  if (dispatching_ == 0) FinishIfEnded();
}

void QtWindow::SetIcon(int iconResource) {
  const QIcon icon = IconResource(iconResource);
  if (!icon.isNull()) setWindowIcon(icon);
}

void QtWindow::FinishIfEnded() {
  if (ended_ && isVisible()) QDialog::done(result_);
}

void QtWindow::Notify(int controlId, Notification notification) {
  if (!dialog_ || ended_ || controlId == kNoControlId) return;
  ++dispatching_;
  dialog_->DispatchCommand(controlId, notification);
  --dispatching_;
  // The window closes once the handler that ended the dialog has returned.
  if (dispatching_ == 0) FinishIfEnded();
}

void QtWindow::ClickRadio(QRadioButton* clicked, int controlId) {
  for (const auto& group : radioGroups_) {
    if (std::find(group.begin(), group.end(), clicked) == group.end()) continue;
    for (QRadioButton* radio : group) {
      const QSignalBlocker quiet(radio);
      radio->setChecked(radio == clicked);
    }
  }
  Notify(controlId, Notification::Clicked);
}

bool QtWindow::HasDefaultButton() const {
  for (const ControlTemplate& control : template_.controls) {
    if (control.kind == ControlKind::PushButton && control.Has(style::DefaultButton)) return true;
  }
  return false;
}

void QtWindow::reject() {
  if (!dialog_) {
    QDialog::reject();
    return;
  }
  Notify(IDCANCEL, Notification::Clicked);
}

void QtWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                     (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (!enter) {
    QDialog::keyPressEvent(event);
    return;
  }
  event->accept();
  // Enter: the focused push button, else the default button, else the OK
  // command; a multi-line edit keeps Enter for itself even when read-only.
  QtControl* focused = Find(FocusedControl());
  if (focused && focused->Template().kind == ControlKind::Edit &&
      focused->Template().Has(style::MultiLine))
    return;
  if (focused && focused->Template().kind == ControlKind::PushButton && focused->IsEnabled()) {
    static_cast<QPushButton*>(focused->Widget())->click();
    return;
  }
  if (HasDefaultButton()) {
    for (const auto& control : controls_) {
      if (control->Template().kind == ControlKind::PushButton &&
          control->Template().Has(style::DefaultButton) && control->IsEnabled()) {
        static_cast<QPushButton*>(control->Widget())->click();
        return;
      }
    }
    return;
  }
  Notify(IDOK, Notification::Clicked);
}

}  // namespace pelko::ui::qt
