// The open-file dialog as the framework runs it over a host.
#include "ui/file_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "text/code_page.h"
#include "ui/dialog_template.h"
#include "ui/headless/headless_host.h"

namespace pelko::ui {
namespace {

using headless::HeadlessHost;
using headless::ScriptedUser;
using win::DialogResult;
using win::MessageBoxButtons;

std::string J(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteHostFile(c_.Sub("memo.txt"), "memo");
    std::filesystem::create_directories(c_.Sub("folder"));
  }
  test::TempFolder c_{"pelko-ui-files"};
  test::ScopedEnv driveC_{"PELKO_DRIVE_C", c_.Path()};
};

TEST_F(FileDialogTest, AnExistingFileComesBackInDriveLetterForm) {
  ScriptedUser user;
  user.ChooseFile("c:/memo.txt");
  HeadlessHost host(user);
  FileDialog dialog(OFN_CREATEPROMPT);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetPathName(), "C:\\memo.txt");
  EXPECT_TRUE(user.Done()) << user.Report();
}

TEST_F(FileDialogTest, ANewNameNeedsTheUsersConsentAndIsNotCreated) {
  ScriptedUser user;
  user.ChooseFile("C:\\new.txt")
      .AnswerMessageBox(J("C:\\new.txt\nこのファイルは存在しません。\nファイルを作成しますか？"),
                        MessageBoxButtons::YesNo, DialogResult::Yes);
  HeadlessHost host(user);
  FileDialog dialog(OFN_CREATEPROMPT);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetPathName(), "C:\\new.txt");
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_FALSE(test::HostPathExists(c_.Sub("new.txt")));
}

TEST_F(FileDialogTest, DecliningANewNameAsksAgain) {
  ScriptedUser user;
  user.ChooseFile("C:\\new.txt").AnswerMessageBox(DialogResult::No).ChooseFile("C:\\memo.txt");
  HeadlessHost host(user);
  FileDialog dialog(OFN_CREATEPROMPT);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetPathName(), "C:\\memo.txt");
  EXPECT_TRUE(user.Done()) << user.Report();
}

TEST_F(FileDialogTest, ANameInAMissingFolderOrAFolderIsRefused) {
  ScriptedUser user;
  user.ChooseFile("C:\\nowhere\\a.txt")
      .AnswerMessageBox(
          J("C:\\nowhere\\a.txt\nパスが見つかりません。\nパスが正しいか確かめてください。"),
          MessageBoxButtons::Ok, DialogResult::Ok)
      .ChooseFile("C:\\folder")
      .AnswerMessageBox(J("C:\\folder\nファイル名が正しくありません。"), MessageBoxButtons::Ok,
                        DialogResult::Ok)
      .CancelFileDialog();
  HeadlessHost host(user);
  FileDialog dialog(OFN_CREATEPROMPT);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(user.Transcript().back(), "file cancelled");
}

TEST_F(FileDialogTest, WithoutCreatePromptAFileMustExistWhenAskedTo) {
  ScriptedUser user;
  user.ChooseFile("C:\\new.txt")
      .AnswerMessageBox(
          J("C:\\new.txt\nファイルが見つかりません。\nファイル名を確かめてください。"),
          MessageBoxButtons::Ok, DialogResult::Ok)
      .CancelFileDialog();
  HeadlessHost host(user);
  FileDialog dialog(OFN_FILEMUSTEXIST);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(user.Done()) << user.Report();
}

}  // namespace
}  // namespace pelko::ui
