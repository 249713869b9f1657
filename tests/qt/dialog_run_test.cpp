// Dialogs run by the Qt host: initial focus, Enter and Escape as on Windows,
// the user's actions as notifications (and the program's changes as none),
// a handler's EndDialog closing the window only once it has returned.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "qt_user.h"
#include "templates/templates.h"
#include "text/code_page.h"
#include "ui/dialog.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_window.h"

namespace pelko::ui::qt {
namespace {

using test::qt::Click;
using test::qt::WhenDialogShown;

// The volume label prompt with its edit bound to `label`.
class LabelDialog : public Dialog {
 public:
  LabelDialog() : Dialog(templates::VolumeLabelTemplate()) {}
  std::string label = "OLD";

 protected:
  void DoDataExchange(DataExchange& dx) override { dx.Text(1006, label); }
};

TEST(RunModal, FocusesTheFirstTabStopAndEnterPressesTheDefaultButton) {
  QtHost host;
  LabelDialog dialog;
  int focusedAtStart = kNoControlId;
  QString editAtStart;
  WhenDialogShown(130, [&](QWidget* window) {
    focusedAtStart = host.OpenWindows().back()->FocusedControl();
    auto* edit = window->findChild<QLineEdit*>("1006");
    editAtStart = edit->text();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "NEW");
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(focusedAtStart, IDOK);
  EXPECT_EQ(editAtStart, QStringLiteral("OLD"));
  EXPECT_EQ(dialog.label, "NEW");
}

TEST(RunModal, EscapeRunsTheCancelCommand) {
  QtHost host;
  LabelDialog dialog;
  WhenDialogShown(130, [](QWidget* window) {
    QTest::keyClicks(window->findChild<QLineEdit*>("1006"), "X");
    QTest::keyClick(window, Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.label, "OLD") << "cancel fetches nothing";
}

TEST(RunModal, TheCloseBoxRunsTheCancelCommand) {
  QtHost host;
  LabelDialog dialog;
  WhenDialogShown(130, [](QWidget* window) { window->close(); });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// Association editor with "ファイルを追加" ending the dialog and then looking
// at its own window.
class EndingDialog : public Dialog {
 public:
  EndingDialog() : Dialog(templates::AssociationTemplate()) {}
  bool visibleAfterEnd = false;
  bool refusingCancel = false;
  int cancels = 0;

 protected:
  std::span<const CommandEntry> CommandTable() const override {
    static constexpr CommandEntry kCommands[] = {
        OnClicked<&EndingDialog::OnAddFile>(1002),
        OnClicked<&EndingDialog::OnCancelCommand>(IDCANCEL),
    };
    return kCommands;
  }

 private:
  void OnAddFile() {
    EndDialog(77);
    visibleAfterEnd = static_cast<QtWindow*>(Window())->isVisible();
  }
  void OnCancelCommand() {
    ++cancels;
    if (!refusingCancel) EndDialog(IDCANCEL);
  }
};

TEST(RunModal, AHandlersEndDialogClosesTheWindowOnceTheHandlerReturns) {
  QtHost host;
  EndingDialog dialog;
  WhenDialogShown(129, [](QWidget* window) { Click(window->findChild<QPushButton*>("1002")); });
  EXPECT_EQ(dialog.DoModal(), 77);
  EXPECT_TRUE(dialog.visibleAfterEnd);
  EXPECT_TRUE(host.OpenWindows().empty());
}

TEST(RunModal, ADialogThatRefusesCancelStaysOpen) {
  QtHost host;
  EndingDialog dialog;
  dialog.refusingCancel = true;
  bool openAfterEscape = false;
  WhenDialogShown(129, [&](QWidget* window) {
    QTest::keyClick(window, Qt::Key_Escape);
    window->close();
    openAfterEscape = window->isVisible();
    Click(window->findChild<QPushButton*>("1002"));
  });
  EXPECT_EQ(dialog.DoModal(), 77);
  EXPECT_TRUE(openAfterEscape);
  EXPECT_EQ(dialog.cancels, 2);
}

TEST(RunModal, NestedDialogsBelongToTheWindowBelowThem) {
  QtHost host;
  EndingDialog outer;
  QWidget* innerParent = nullptr;
  QWidget* outerWindow = nullptr;
  WhenDialogShown(129, [&](QWidget* window) {
    outerWindow = window;
    WhenDialogShown(130, [&](QWidget* inner) {
      innerParent = inner->parentWidget();
      QTest::keyClick(inner, Qt::Key_Escape);
      Click(window->findChild<QPushButton*>("1002"));
    });
    LabelDialog inner;
    inner.DoModal();
  });
  EXPECT_EQ(outer.DoModal(), 77);
  EXPECT_EQ(innerParent, outerWindow);
}

// A window of `dialogTemplate` shown without a modal loop, attached to `dialog`.
struct OpenWindow {
  OpenWindow(Dialog& dialog) : window(dialog.Template(), nullptr) {
    window.Connect(&dialog);
    dialog.AttachWindow(window);
    window.show();
  }
  QtWindow window;
};

class NotifiedDialog : public Dialog {
 public:
  explicit NotifiedDialog(const DialogTemplate& t) : Dialog(t) {}
  std::vector<std::pair<int, Notification>> seen;

 protected:
  std::span<const CommandEntry> CommandTable() const override {
    static constexpr CommandEntry kCommands[] = {
        OnNotify<&NotifiedDialog::List>(1007, Notification::SelectionChange),
        OnNotify<&NotifiedDialog::ListDouble>(1007, Notification::DoubleClick),
        OnNotify<&NotifiedDialog::Drive>(1006, Notification::SelectionChange),
        OnNotify<&NotifiedDialog::DriveEdit>(1006, Notification::EditChange),
        OnClicked<&NotifiedDialog::Radio>(1011),
        OnClicked<&NotifiedDialog::Check>(1018),
        OnNotify<&NotifiedDialog::EditTyped>(1008, Notification::EditChange),
    };
    return kCommands;
  }

 private:
  void List() { seen.emplace_back(1007, Notification::SelectionChange); }
  void ListDouble() { seen.emplace_back(1007, Notification::DoubleClick); }
  void Drive() { seen.emplace_back(1006, Notification::SelectionChange); }
  void DriveEdit() { seen.emplace_back(1006, Notification::EditChange); }
  void Radio() { seen.emplace_back(1011, Notification::Clicked); }
  void Check() { seen.emplace_back(1018, Notification::Clicked); }
  void EditTyped() { seen.emplace_back(1008, Notification::EditChange); }
};

TEST(SortedList, PlacesItemsByTheFrameworksCollationNotByQtsLocale) {
  NotifiedDialog dialog(templates::AssociationTemplate());
  OpenWindow open(dialog);
  ListBox list = dialog.GetListBox(1003);
  for (const char* item : {"b", "C:\\a", "ab", "\x95\x5C", "Ab"}) list.AddString(item);
  QStringList shown;
  auto* widget = open.window.findChild<QListWidget*>("1003");
  for (int i = 0; i < widget->count(); ++i) shown << widget->item(i)->text();
  // ASCII letters without case, ties by the bytes: Ab before ab; 表 (0x95) last.
  // Qt's Japanese collation would put "ab" before "Ab".
  EXPECT_EQ(shown, (QStringList{"Ab", "ab", "b", "C:\\a", "表"}));
  EXPECT_EQ(list.GetText(4), "\x95\x5C");
}

TEST(ListBox, TheUsersSelectionNotifiesTheProgramsDoesNot) {
  NotifiedDialog dialog(templates::FolderPickerTemplate());
  OpenWindow open(dialog);
  ListBox list = dialog.GetListBox(1007);
  for (const char* item : {"[..]", "[docs]", "[-c-]"}) list.AddString(item);
  list.SetCurSel(1);
  EXPECT_TRUE(dialog.seen.empty());
  EXPECT_EQ(list.GetCurSel(), 1);

  auto* widget = open.window.findChild<QListWidget*>("1007");
  const QPoint third = widget->visualItemRect(widget->item(2)).center();
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, third);
  EXPECT_EQ(list.GetCurSel(), 2);
  QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, third);
  ASSERT_GE(dialog.seen.size(), 2u);
  EXPECT_EQ(dialog.seen.front(), std::make_pair(1007, Notification::SelectionChange));
  EXPECT_EQ(dialog.seen.back(), std::make_pair(1007, Notification::DoubleClick));
}

TEST(ComboBox, AddingAndDeletingItemsSelectsNothingAndKeepsTheEditText) {
  NotifiedDialog dialog(templates::FolderPickerTemplate());
  OpenWindow open(dialog);
  ComboBox combo = dialog.GetComboBox(1006);
  combo.SetWindowText("typed");
  combo.AddString("[-c-]");
  combo.AddString("[-a-]");
  EXPECT_EQ(combo.GetCount(), 2);
  EXPECT_EQ(combo.GetLBText(0), "[-a-]") << "the folder picker's combo is sorted";
  EXPECT_EQ(combo.GetCurSel(), -1);
  EXPECT_EQ(combo.GetWindowText(), "typed");

  EXPECT_EQ(combo.SetCurSel(1), 1);
  EXPECT_EQ(combo.GetWindowText(), "[-c-]");
  combo.AddString("[-b-]");  // lands before the selection, which moves with its item
  EXPECT_EQ(combo.GetCurSel(), 2);
  combo.DeleteString(2);
  EXPECT_EQ(combo.GetCurSel(), -1);
  EXPECT_EQ(combo.GetWindowText(), "[-c-]");
  EXPECT_TRUE(dialog.seen.empty());
}

TEST(ComboBox, PickingAnItemAndTypingNotify) {
  NotifiedDialog dialog(templates::FolderPickerTemplate());
  OpenWindow open(dialog);
  ComboBox combo = dialog.GetComboBox(1006);
  combo.AddString("[-a-]");
  combo.AddString("[-c-]");
  combo.SetCurSel(0);
  auto* widget = open.window.findChild<QComboBox*>("1006");
  widget->setFocus();
  QTest::keyClick(widget, Qt::Key_Down);
  EXPECT_EQ(combo.GetCurSel(), 1);
  QTest::keyClicks(widget->lineEdit(), "x");
  ASSERT_EQ(dialog.seen.size(), 2u);
  EXPECT_EQ(dialog.seen[0], std::make_pair(1006, Notification::SelectionChange));
  EXPECT_EQ(dialog.seen[1], std::make_pair(1006, Notification::EditChange));
}

TEST(RadioButtons, GroupsAreIndependentAndAClickNeverClearsTheCheckedOne) {
  NotifiedDialog dialog(templates::OptionsTemplate());
  OpenWindow open(dialog);
  auto radio = [&](int id) { return open.window.findChild<QRadioButton*>(QString::number(id)); };
  dialog.CheckRadioButton(1010, 1012, 1010);
  dialog.CheckRadioButton(1014, 1016, 1016);
  Click(radio(1011));
  EXPECT_EQ(dialog.IsDlgButtonChecked(1010), 0);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1011), 1);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1016), 1) << "the other group keeps its choice";
  Click(radio(1011));
  EXPECT_EQ(dialog.IsDlgButtonChecked(1011), 1);
  Click(radio(1015));
  EXPECT_EQ(dialog.IsDlgButtonChecked(1011), 1);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1015), 1);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1016), 0);
  // The program may clear every button of a group, as Windows lets it.
  dialog.CheckRadioButton(1010, 1012, 0);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1011), 0);
  EXPECT_EQ(dialog.seen, (std::vector<std::pair<int, Notification>>{
                             {1011, Notification::Clicked}, {1011, Notification::Clicked}}));
}

TEST(CheckBox, AClickTogglesAndNotifies) {
  NotifiedDialog dialog(templates::OptionsTemplate());
  OpenWindow open(dialog);
  Click(open.window.findChild<QCheckBox*>("1018"));
  EXPECT_EQ(dialog.IsDlgButtonChecked(1018), 1);
  dialog.CheckDlgButton(1018, 0);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1018), 0);
  EXPECT_EQ(dialog.seen.size(), 1u);
}

TEST(Edit, GivesBackTheBytesItWasGivenAndWhatTheUserTyped) {
  NotifiedDialog dialog(templates::OptionsTemplate());
  OpenWindow open(dialog);
  // 0x81 0x20 is no CP932 character: shown as a replacement, kept as bytes.
  const std::string odd = "a\x81\x20z";
  dialog.SetDlgItemText(1008, odd);
  EXPECT_EQ(dialog.GetDlgItemText(1008), odd);
  EXPECT_TRUE(dialog.seen.empty());
  auto* edit = open.window.findChild<QLineEdit*>("1008");
  edit->clear();
  QInputMethodEvent japanese;  // how an input method commits what the user typed
  japanese.setCommitString(QStringLiteral("表"));
  QApplication::sendEvent(edit, &japanese);
  QTest::keyClicks(edit, "x");
  EXPECT_EQ(dialog.GetDlgItemText(1008), "\x95\x5Cx");
  EXPECT_EQ(dialog.seen.size(), 2u);
  edit->setText(QStringLiteral("a\U0001F600"));  // no CP932 form: Windows' '?'
  EXPECT_EQ(dialog.GetDlgItemText(1008), "a?");
}

TEST(Edit, MultiLineTextReadsBackWithCrLf) {
  NotifiedDialog dialog(templates::OutputTemplate());
  OpenWindow open(dialog);
  dialog.SetDlgItemText(1030, "line 1\r\nline 2\r\n");
  EXPECT_EQ(open.window.findChild<QPlainTextEdit*>("1030")->toPlainText(),
            QStringLiteral("line 1\nline 2\n"));
  EXPECT_EQ(dialog.GetDlgItemText(1030), "line 1\r\nline 2\r\n");
  open.window.findChild<QPlainTextEdit*>("1030")->setPlainText("x\ny");
  EXPECT_EQ(dialog.GetDlgItemText(1030), "x\r\ny");
}

TEST(Enable, DisabledButtonsTakeNoClicks) {
  EndingDialog dialog;
  OpenWindow open(dialog);
  dialog.EnableDlgItem(1002, false);
  EXPECT_FALSE(dialog.IsDlgItemEnabled(1002));
  Click(open.window.findChild<QPushButton*>("1002"));
  EXPECT_FALSE(dialog.HasEnded());
}

}  // namespace
}  // namespace pelko::ui::qt
