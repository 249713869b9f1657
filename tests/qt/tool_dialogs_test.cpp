// The tool's own dialogs under the Qt host, as a user types into them: text
// typed into the folder picker's drive combo moves nothing, and Enter there
// is the default button; after a refused search depth the edit has the
// focus and its whole text selected, so the next digit replaces it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "dialogs/folder_picker_dialog.h"
#include "dialogs/options_dialog.h"
#include "qt_user.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"
#include "templates/templates.h"
#include "ui/qt/qt_host.h"

namespace pelko::ui::qt {
namespace {

using test::qt::Click;
using test::qt::WhenDialogShown;

TEST(FolderPickerOnQt, TypedDriveAndEnterCloseWithTheShownFolder) {
  test::TestProgramFolder folder;
  test::TempFolder dDrive("pelko-d-drive");
  test::ScopedEnv mapD("PELKO_DRIVE_D", dDrive.Path());
  QtHost host;
  QStringList drives;
  WhenDialogShown(templates::IDD_FOLDER_PICKER, [&](QWidget* window) {
    auto* combo = window->findChild<QComboBox*>(QString::number(dialogs::IDC_PICKER_DRIVES));
    for (int i = 0; i < combo->count(); ++i) drives.push_back(combo->itemText(i));
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), "[-d-]");
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  });
  dialogs::CFolderPickerDialog picker;
  EXPECT_EQ(picker.DoModal(), IDOK);
  EXPECT_EQ(drives, (QStringList{"[-a-]", "[-c-]", "[-d-]"}));
  EXPECT_EQ(picker.folderPath, "c:\\") << "the typed drive was taken";
}

TEST(OptionsOnQt, ARefusedSearchDepthIsSelectedSoTypingReplacesIt) {
  test::TestProgramFolder folder;
  QtHost host;
  QString afterTyping;
  bool depthFocused = false;
  QString message;
  WhenDialogShown(templates::IDD_OPTIONS, [&](QWidget* window) {
    Click(window->findChild<QWidget*>(
        QString::number(dialogs::IDC_EXCLUDE_NAMES)));  // enables the depth
    auto* depth = window->findChild<QLineEdit*>(QString::number(dialogs::IDC_SEARCH_DEPTH));
    depth->setFocus();
    depth->selectAll();
    QTest::keyClicks(depth, "0");
    test::qt::WhenShown<QMessageBox>([&](QMessageBox* box) {
      message = box->text();
      Click(test::qt::ButtonsLeftToRight(box).front());
    });
    Click(window->findChild<QPushButton*>(QString::number(IDOK)));  // refused: 0 is not in 1..10
    depthFocused = window->focusWidget() == depth;
    QTest::keyClicks(depth, "7");
    afterTyping = depth->text();
    Click(window->findChild<QPushButton*>(QString::number(IDCANCEL)));
  });
  dialogs::COptionsDialog options;
  EXPECT_EQ(options.DoModal(), IDCANCEL);
  EXPECT_EQ(message.toStdString(), "1 から 10 までの整数を入力してください。");
  EXPECT_TRUE(depthFocused);
  EXPECT_EQ(afterTyping.toStdString(), "7") << "the refused text was not selected";
}

}  // namespace
}  // namespace pelko::ui::qt
