#include "platform/user_interface.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/program_folder.h"
#include "support/scripted_message_box_host.h"
#include "text/code_page.h"

namespace pelko::win {
namespace {

using test::ScriptedMessageBoxHost;

std::string Cp(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

TEST(UserInterfaceSeam, WithNoHostEveryQuestionAnswersCancel) {
  ASSERT_EQ(RegisteredUserInterfaceHost(), nullptr);
  EXPECT_EQ(MessageBox(Cp("ディスクをセットしてください"), MessageBoxButtons::RetryCancel),
            DialogResult::Cancel);
  EXPECT_EQ(MessageBox("x", MessageBoxButtons::YesNo, MessageBoxIcon::Question),
            DialogResult::Cancel);
  EXPECT_EQ(MessageBox("x", MessageBoxButtons::Ok), DialogResult::Cancel);
}

TEST(UserInterfaceSeam, WithNoHostProgressGoesNowhere) {
  {
    LongWork work;
    work.Report("archive.lzh", 10, 100);
  }
  // Nothing was kept back for a host that comes later.
  ScriptedMessageBoxHost user;
  EXPECT_EQ(user.LongWorkBegun(), 0);
  EXPECT_EQ(user.LongWorkEnded(), 0);
  EXPECT_TRUE(user.ProgressReports().empty());
}

TEST(UserInterfaceSeam, RegisteredHostAnswersInTurnAndSeesTheTexts) {
  ScriptedMessageBoxHost user;
  user.Expect(DialogResult::Retry, "ディスクを");
  user.Expect(DialogResult::Cancel);
  EXPECT_EQ(MessageBox(Cp("ディスクをセットしてください"), MessageBoxButtons::RetryCancel),
            DialogResult::Retry);
  EXPECT_EQ(
      MessageBox(Cp("表"), MessageBoxButtons::RetryCancel, MessageBoxIcon::Warning, "Caption"),
      DialogResult::Cancel);
  ASSERT_EQ(user.Shown().size(), 2u);
  EXPECT_EQ(user.Shown()[0].text, Cp("ディスクをセットしてください"));
  EXPECT_EQ(user.Shown()[0].buttons, MessageBoxButtons::RetryCancel);
  EXPECT_EQ(user.Shown()[1].text, "\x95\x5C");
  EXPECT_EQ(user.Shown()[1].caption, "Caption");
  EXPECT_EQ(user.Shown()[1].icon, MessageBoxIcon::Warning);
}

TEST(UserInterfaceSeam, EmptyCaptionBecomesTheApplicationTitle) {
  ScriptedMessageBoxHost user;
  user.Expect(DialogResult::Ok);
  MessageBox("x", MessageBoxButtons::Ok);
  ASSERT_EQ(user.Shown().size(), 1u);
  EXPECT_EQ(user.Shown()[0].caption, ApplicationTitle());
  EXPECT_EQ(user.Shown()[0].caption, "platform_tests");
}

TEST(UserInterfaceSeam, LongWorkIsBracketedAroundItsReports) {
  ScriptedMessageBoxHost user;
  {
    LongWork work;
    EXPECT_EQ(user.LongWorkBegun(), 1);
    work.Report(Cp("表.txt"), 5, 10);
    work.Report(Cp("表.txt"), 10, 10);
    EXPECT_EQ(user.LongWorkEnded(), 0);
  }
  EXPECT_EQ(user.LongWorkEnded(), 1);
  ASSERT_EQ(user.ProgressReports().size(), 2u);
  EXPECT_EQ(user.ProgressReports()[1].entry, Cp("表.txt"));
  EXPECT_EQ(user.ProgressReports()[1].done, 10u);
  EXPECT_EQ(user.ProgressReports()[1].total, 10u);
}

TEST(UserInterfaceSeam, HostIsUnregisteredWhenItGoesAway) {
  {
    ScriptedMessageBoxHost user;
    EXPECT_EQ(RegisteredUserInterfaceHost(), &user);
  }
  EXPECT_EQ(RegisteredUserInterfaceHost(), nullptr);
  EXPECT_EQ(MessageBox("x", MessageBoxButtons::YesNo), DialogResult::Cancel);
}

TEST(ScriptedUser, UnexpectedMessageBoxFailsTheTestAndAnswersCancel) {
  DialogResult answer = DialogResult::Ok;
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedMessageBoxHost user;
        answer = MessageBox(Cp("予期しない"), MessageBoxButtons::YesNo);
      },
      "unexpected message box: \"予期しない\"");
  EXPECT_EQ(answer, DialogResult::Cancel);
}

TEST(ScriptedUser, WrongTextFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedMessageBoxHost user;
        user.Expect(DialogResult::Yes, "上書き");
        MessageBox(Cp("別の質問"), MessageBoxButtons::YesNo);
      },
      "was expected");
}

TEST(ScriptedUser, UnusedAnswersFailTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedMessageBoxHost user;
        user.Expect(DialogResult::Yes);
      },
      "never asked for");
}

}  // namespace
}  // namespace pelko::win
