// The main window under the Qt host: the floppy icon as window icon, focus
// on "情報更新" at start, the information panel, a window of its own.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSet>
#include <QTest>

#include "app/main_dialog.h"
#include "qt_user.h"
#include "support/run_command.h"
#include "support/test_program_folder.h"
#include "ui/qt/floppy_icon.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_window.h"
#include "ui/qt/static_text.h"

namespace pelko::ui::qt {
namespace {

using test::qt::Click;
using test::qt::WhenDialogShown;

QString PanelText(QWidget* window) {
  return dynamic_cast<StaticText*>(window->findChild<QWidget*>("1003"))->text();
}

TEST(MainWindow, StartsWithTheFocusOnUpdateAndTheFloppyIcon) {
  test::TestProgramFolder folder;
  QtHost host;
  int focused = kNoControlId;
  QList<QSize> iconSizes;
  QString panel;
  bool ownWindow = false;
  WhenDialogShown(102, [&](QWidget* window) {
    focused = host.OpenWindows().back()->FocusedControl();
    iconSizes = window->windowIcon().availableSizes();
    panel = PanelText(window);
    ownWindow = window->parentWidget() == nullptr && window->windowType() == Qt::Window;
    Click(window->findChild<QPushButton*>("2"));
  });
  app::CMainDialog mainDialog;
  EXPECT_EQ(mainDialog.DoModal(), IDCANCEL);
  EXPECT_EQ(focused, app::IDC_UPDATE_INFO);
  EXPECT_TRUE(iconSizes.contains(QSize(32, 32)));
  EXPECT_TRUE(iconSizes.contains(QSize(16, 16)));
  EXPECT_EQ(panel, QStringLiteral("ディスクがありません。"));
  EXPECT_TRUE(ownWindow) << "the main window has a taskbar button of its own";
}

TEST(MainWindow, UpdateReadsTheFloppyNowInTheDrive) {
  test::TestProgramFolder folder;
  QtHost host;
  QString before, after;
  WhenDialogShown(102, [&](QWidget* window) {
    before = PanelText(window);
    const auto made =
        test::RunCommand("mkfs.fat -C " + test::ShellQuote(folder.FloppyImageHostPath()) +
                         " 1440 -n QTPANEL -i 1234ABCD");
    ASSERT_EQ(made.exitCode, 0) << made.output;
    QTest::keyClick(window->focusWidget(), Qt::Key_Space);  // 情報更新 has the focus
    after = PanelText(window);
    QTest::keyClick(window, Qt::Key_Escape);
  });
  app::CMainDialog mainDialog;
  EXPECT_EQ(mainDialog.DoModal(), IDCANCEL);
  EXPECT_EQ(before, QStringLiteral("ディスクがありません。"));
  EXPECT_TRUE(after.startsWith(
      QStringLiteral("ボリュームラベル： QTPANEL\nシリアルナンバー： 305441741\n")))
      << after.toStdString();
}

TEST(FloppyIcon, HasA32And16PixelImageInTheSixteenWindowsColours) {
  const QSet<QRgb> palette{0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                           0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                           0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
  for (int size : {32, 16}) {
    const QImage image = FloppyIconImage(size).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(size, size));
    QSet<QRgb> colours;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const QRgb pixel = image.pixel(x, y);
        if (qAlpha(pixel) == 0) continue;
        EXPECT_EQ(qAlpha(pixel), 255);
        colours.insert(pixel);
      }
    }
    EXPECT_GE(colours.size(), 5) << "a picture, not a blot";
    for (QRgb colour : colours) EXPECT_TRUE(palette.contains(colour)) << std::hex << colour;
    EXPECT_EQ(qAlpha(image.pixel(size - 1, 0)), 0) << "the cut corner is transparent";
  }
}

// The desktop's icons of an installed copy (scripts/make-icons) are icon
// 128's own pixels at its two sizes, and the scalable drawing at the others.
TEST(FloppyIcon, TheDesktopIconsAreItsOwnImages) {
  const QString icons = QStringLiteral(PELKO_SOURCE_DIR "/data/icons/hicolor/");
  for (int size : {16, 32}) {
    const QImage png(icons + QStringLiteral("%1x%1/apps/pelko.png").arg(size));
    EXPECT_EQ(png.convertToFormat(QImage::Format_ARGB32),
              FloppyIconImage(size).convertToFormat(QImage::Format_ARGB32))
        << size << " px: run scripts/make-icons";
  }
  for (int size : {48, 256}) {
    EXPECT_EQ(QImage(icons + QStringLiteral("%1x%1/apps/pelko.png").arg(size)).size(),
              QSize(size, size));
  }
}

TEST(FloppyIcon, IsResource128Only) {
  EXPECT_FALSE(IconResource(128).isNull());
  EXPECT_TRUE(IconResource(129).isNull());
}

}  // namespace
}  // namespace pelko::ui::qt
