// Message boxes of the Qt host: the application's title, the buttons of a
// Japanese Windows in its order whatever the locale, the answer of the
// button the user clicks, Escape only where Windows allows it, plain text.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "platform/program_folder.h"
#include "qt_user.h"
#include "text/code_page.h"
#include "ui/qt/qt_host.h"

namespace pelko::ui::qt {
namespace {

using test::qt::ButtonCaptioned;
using test::qt::ButtonsLeftToRight;
using test::qt::Click;
using test::qt::Plain;
using test::qt::WhenShown;
using win::DialogResult;
using win::MessageBoxButtons;
using win::MessageBoxIcon;

struct Seen {
  QString title;
  QString text;
  QStringList buttons;
  QString defaultButton;
};

// Shows a box through the platform's seam, records it, and clicks `answer`.
DialogResult ShowAndAnswer(MessageBoxButtons buttons, const QString& answer, Seen& seen,
                           std::string_view utf8Text = "ディスクをセットしてください") {
  WhenShown<QMessageBox>([&seen, answer](QMessageBox* box) {
    seen.title = box->windowTitle();
    seen.text = box->text();
    for (QPushButton* button : ButtonsLeftToRight(box)) seen.buttons << Plain(button->text());
    if (box->defaultButton()) seen.defaultButton = Plain(box->defaultButton()->text());
    QPushButton* button = ButtonCaptioned(box, answer);
    ASSERT_NE(button, nullptr) << answer.toStdString();
    Click(button);
  });
  return win::MessageBox(cp932::FromUtf8Literal(utf8Text), buttons, MessageBoxIcon::Warning);
}

TEST(MessageBox, CarriesTheApplicationTitle) {
  QtHost host;
  Seen seen;
  ShowAndAnswer(MessageBoxButtons::Ok, "OK", seen);
  EXPECT_EQ(seen.title, QString::fromStdString(*cp932::ToUtf8(win::ApplicationTitle())));
  EXPECT_EQ(seen.title, QStringLiteral("qt_tests"));  // the executable's name without extension
  EXPECT_EQ(seen.text, QStringLiteral("ディスクをセットしてください"));
}

TEST(MessageBox, OffersTheJapaneseButtonsInWindowsOrder) {
  QtHost host;
  struct Case {
    MessageBoxButtons buttons;
    QStringList captions;
  };
  const Case cases[] = {
      {MessageBoxButtons::Ok, {"OK"}},
      {MessageBoxButtons::OkCancel, {"OK", "キャンセル"}},
      {MessageBoxButtons::YesNo, {"はい(Y)", "いいえ(N)"}},
      {MessageBoxButtons::YesNoCancel, {"はい(Y)", "いいえ(N)", "キャンセル"}},
      {MessageBoxButtons::RetryCancel, {"再試行(R)", "キャンセル"}},
  };
  for (const Case& c : cases) {
    Seen seen;
    ShowAndAnswer(c.buttons, c.captions.back(), seen);
    EXPECT_EQ(seen.buttons, c.captions);
    EXPECT_EQ(seen.defaultButton, c.captions.front()) << "the first button is the default";
  }
}

TEST(MessageBox, AnswersWithTheButtonClicked) {
  QtHost host;
  Seen seen;
  EXPECT_EQ(ShowAndAnswer(MessageBoxButtons::YesNoCancel, "はい(Y)", seen), DialogResult::Yes);
  EXPECT_EQ(ShowAndAnswer(MessageBoxButtons::YesNoCancel, "いいえ(N)", seen), DialogResult::No);
  EXPECT_EQ(ShowAndAnswer(MessageBoxButtons::YesNoCancel, "キャンセル", seen),
            DialogResult::Cancel);
  EXPECT_EQ(ShowAndAnswer(MessageBoxButtons::RetryCancel, "再試行(R)", seen), DialogResult::Retry);
  EXPECT_EQ(ShowAndAnswer(MessageBoxButtons::OkCancel, "OK", seen), DialogResult::Ok);
}

TEST(MessageBox, EscapeCancelsOrConfirmsALoneOk) {
  QtHost host;
  WhenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
  EXPECT_EQ(win::MessageBox("x", MessageBoxButtons::RetryCancel), DialogResult::Cancel);
  WhenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
  EXPECT_EQ(win::MessageBox("x", MessageBoxButtons::Ok), DialogResult::Ok);
}

TEST(MessageBox, YesNoMustBeAnsweredEscapeAndCloseDoNothing) {
  QtHost host;
  bool stillOpen = false;
  WhenShown<QMessageBox>([&stillOpen](QMessageBox* box) {
    QTest::keyClick(box, Qt::Key_Escape);
    box->close();
    stillOpen = box->isVisible();
    Click(ButtonCaptioned(box, "いいえ(N)"));
  });
  EXPECT_EQ(win::MessageBox("x", MessageBoxButtons::YesNo), DialogResult::No);
  EXPECT_TRUE(stillOpen);
}

TEST(MessageBox, MnemonicKeysAnswer) {
  QtHost host;
  WhenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_N); });
  EXPECT_EQ(win::MessageBox("x", MessageBoxButtons::YesNo), DialogResult::No);
  WhenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_R); });
  EXPECT_EQ(win::MessageBox("x", MessageBoxButtons::RetryCancel), DialogResult::Retry);
}

TEST(MessageBox, ShowsMarkupAndLineBreaksAsPlainText) {
  QtHost host;
  Seen seen;
  ShowAndAnswer(MessageBoxButtons::Ok, "OK", seen, "C:\\<b>a</b>.txt\r\nを開けません");
  EXPECT_EQ(seen.text, QStringLiteral("C:\\<b>a</b>.txt\nを開けません"));
  WhenShown<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    Click(ButtonsLeftToRight(box).front());
  });
  win::MessageBox("x", MessageBoxButtons::Ok);
}

TEST(MessageBox, ReadsADoubleByteCharacterWhoseTrailByteIsABackslash) {
  QtHost host;
  Seen seen;
  // 0x95 0x5C is 表: its trail byte is a backslash and must not split it.
  WhenShown<QMessageBox>([&seen](QMessageBox* box) {
    seen.text = box->text();
    Click(ButtonsLeftToRight(box).front());
  });
  win::MessageBox(std::string("\x95\x5C.txt"), MessageBoxButtons::Ok);
  EXPECT_EQ(seen.text, QStringLiteral("表.txt"));
}

}  // namespace
}  // namespace pelko::ui::qt
