#include "shell/error_texts.h"

#include <gtest/gtest.h>

#include "support/acting_user.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::shell {
namespace {

using test::ActingUser;
using test::DialogResult;

TEST(ErrorTextsTest, SystemErrorTextShowsTheTextOfTheLastErrorWithOk) {
  ActingUser user;
  user.Expect(DialogResult::Ok, "アクセスが拒否されました。");
  win::SetLastError(win::ERROR_ACCESS_DENIED);
  ShowSystemErrorText();
  ASSERT_EQ(user.Shown().size(), 1u);
  EXPECT_EQ(user.Shown()[0].buttons, test::MessageBoxButtons::Ok);
}

TEST(ErrorTextsTest, FileErrorTextNamesTheOperationTheFileAndTheCause) {
  struct Case {
    FileErrorCause cause;
    const char* sentence;
  };
  const Case cases[] = {
      {FileErrorCause::Create, "ファイル C:\\PELKO\\表.div を作成できませんでした。"},
      {FileErrorCause::Open, "ファイル C:\\PELKO\\表.div を開けませんでした。"},
      {FileErrorCause::Write, "ファイル C:\\PELKO\\表.div に書き込めませんでした。"},
      {FileErrorCause::Read, "ファイル C:\\PELKO\\表.div を読み込めませんでした。"},
      {FileErrorCause::Move, "ファイル C:\\PELKO\\表.div を移動できませんでした。"},
  };
  std::string name = cp932::FromUtf8Literal("C:\\PELKO\\表.div");
  for (const Case& c : cases) {
    win::SetLastError(win::ERROR_DISK_FULL);
    EXPECT_EQ(cp932::ToUtf8(FileErrorText(c.cause, name)),
              std::string(c.sentence) + "\r\nディスクに十分な空き領域がありません。\r\n");
  }
}

TEST(ErrorTextsTest, FileNameWithPercentSignsIsShownAsItIs) {
  ActingUser user;
  user.Expect(DialogResult::Ok, "ファイル C:\\%s%d%n.txt に書き込めませんでした。");
  win::SetLastError(win::ERROR_WRITE_PROTECT);
  ShowFileErrorText(FileErrorCause::Write, "C:\\%s%d%n.txt");
  ASSERT_EQ(user.Shown().size(), 1u);
  EXPECT_NE(user.Shown()[0].TextUtf8().find("書き込み禁止"), std::string::npos);
}

}  // namespace
}  // namespace pelko::shell
