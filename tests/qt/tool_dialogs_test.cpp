// The tool's own dialogs under the Qt host, as a user types into them: text
// typed into the folder picker's drive combo moves nothing, and Enter there
// is the default button.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "dialogs/folder_picker_dialog.h"
#include "qt_user.h"
#include "res/templates.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"
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
  WhenDialogShown(res::IDD_FOLDER_PICKER, [&](QWidget* window) {
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

}  // namespace
}  // namespace pelko::ui::qt
