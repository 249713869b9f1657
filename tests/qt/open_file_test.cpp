// The open-file dialog of the Qt host: a chosen host file comes back in its
// drive-letter form; a file under no drive is refused with a message naming
// it, and the dialog opens again.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

#include "qt_user.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"
#include "ui/file_dialog.h"
#include "ui/qt/open_file_dialog.h"
#include "ui/qt/qt_host.h"

namespace pelko::ui::qt {
namespace {

using test::qt::ButtonsLeftToRight;
using test::qt::Click;
using test::qt::WhenShown;

// The user types the file's full name into the name field and presses OK.
// (selectFile leaves the field alone once it has the focus, which it gets
// when the window becomes active: whether it did by then is chance.)
void Choose(QFileDialog* dialog, const std::string& hostPath) {
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(name, nullptr);
  name->setText(QString::fromStdString(hostPath));
  QMetaObject::invokeMethod(dialog, "accept");
}

TEST(OpenFile, ReturnsTheDriveLetterFormOfTheChosenFile) {
  test::TestProgramFolder folder;
  const std::string file = folder.CDriveHostPath() + "/notes.txt";
  test::WriteHostFile(file, "x");
  QtHost host;
  QString title;
  WhenShown<QFileDialog>([&](QFileDialog* dialog) {
    title = dialog->windowTitle();
    Choose(dialog, file);
  });
  const std::optional<std::string> chosen = host.AskForFileName({});
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, "C:\\notes.txt");
  EXPECT_EQ(title, QStringLiteral("開く"));
}

TEST(OpenFile, JapaneseNamesComeBackInCp932) {
  test::TestProgramFolder folder;
  std::filesystem::create_directories(folder.CDriveHostPath() + "/資料");
  const std::string file = folder.CDriveHostPath() + "/資料/表.txt";
  test::WriteHostFile(file, "x");
  QtHost host;
  WhenShown<QFileDialog>([&](QFileDialog* dialog) { Choose(dialog, file); });
  EXPECT_EQ(host.AskForFileName({}),
            std::optional<std::string>("C:\\\x8E\x91\x97\xBF\\\x95\x5C.txt"));
}

TEST(OpenFile, RefusesAFileUnderNoDriveAndAsksAgain) {
  test::TestProgramFolder folder;
  test::TempFolder outside("pelko-outside");
  const std::string stray = outside.Sub("stray.txt");
  test::WriteHostFile(stray, "x");
  QtHost host;
  QString message;
  QString caption;
  bool askedAgain = false;
  WhenShown<QFileDialog>([&](QFileDialog* dialog) {
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      message = box->text();
      caption = box->windowTitle();
      WhenShown<QFileDialog>([&](QFileDialog* again) {
        askedAgain = true;
        again->reject();
      });
      Click(ButtonsLeftToRight(box).front());
    });
    Choose(dialog, stray);
  });
  EXPECT_EQ(host.AskForFileName({}), std::nullopt);
  EXPECT_TRUE(askedAgain);
  EXPECT_EQ(message, OpenFileDialog::NoWindowsFormMessage(QString::fromStdString(stray)));
  EXPECT_TRUE(message.startsWith(QString::fromStdString(stray)));
  EXPECT_EQ(caption, QStringLiteral("qt_tests"));
}

TEST(OpenFile, CancelReturnsNothing) {
  test::TestProgramFolder folder;
  QtHost host;
  WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(host.AskForFileName({}), std::nullopt);
}

TEST(OpenFile, TheFrameworksFileDialogAsksBeforeTakingANewName) {
  test::TestProgramFolder folder;
  QtHost host;
  const std::string fresh = folder.CDriveHostPath() + "/new.txt";
  QString question;
  WhenShown<QFileDialog>([&](QFileDialog* dialog) {
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      question = box->text();
      Click(test::qt::ButtonCaptioned(box, QStringLiteral("はい(Y)")));
    });
    Choose(dialog, fresh);
  });
  FileDialog fileDialog(OFN_CREATEPROMPT);
  ASSERT_EQ(fileDialog.DoModal(), IDOK);
  EXPECT_EQ(fileDialog.GetPathName(), "C:\\new.txt");
  EXPECT_TRUE(question.startsWith(QStringLiteral("C:\\new.txt\n"))) << question.toStdString();
  EXPECT_FALSE(std::filesystem::exists(fresh)) << "the file itself is not created";
}

}  // namespace
}  // namespace pelko::ui::qt
