// Group boxes as Windows draws them, checked on the window's own pixels: the
// frame's top line runs half a text line below the box's top edge, the title
// sits on that line with the line erased behind it, and no frame line
// crosses a control inside the box (the first radio button "常に上書き" among
// them). Nothing but the frame moves: every control keeps its rectangle.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>

#include "res/templates.h"
#include "ui/qt/group_box.h"
#include "ui/qt/qt_window.h"

namespace pelko::ui::qt {
namespace {

const DialogTemplate* const kTemplates[] = {
    &res::MainWindowTemplate(), &res::AssociationTemplate(), &res::VolumeLabelTemplate(),
    &res::FolderPickerTemplate(), &res::OptionsTemplate(),   &res::OutputTemplate(),
};

QImage Picture(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Pixels of row `y` from x = `from` to `to` (inclusive) in `colour`.
int CountInRow(const QImage& picture, int y, int from, int to, QRgb colour) {
  int count = 0;
  for (int x = from; x <= to; ++x) count += picture.pixel(x, y) == colour ? 1 : 0;
  return count;
}

TEST(GroupBoxes, FrameTopRunsThroughTheTitleLineAndClearOfTheControlsInside) {
  int boxes = 0;
  for (const DialogTemplate* dialogTemplate : kTemplates) {
    QtWindow window(*dialogTemplate, nullptr);
    const QImage picture = Picture(window);
    if (dialogTemplate->id == res::IDD_OPTIONS) picture.save(QStringLiteral(PELKO_QT_TEST_OUTPUT_DIR "/options-window.png"));
    for (std::size_t i = 0; i < dialogTemplate->controls.size(); ++i) {
      if (dialogTemplate->controls[i].kind != ControlKind::GroupBox) continue;
      ++boxes;
      auto* box = static_cast<GroupBox*>(window.ControlAt(i)->Widget());
      SCOPED_TRACE(box->title().toStdString());
      const QRect frame = box->geometry();
      EXPECT_EQ(frame, window.PixelRect(dialogTemplate->controls[i].rect)) << "the box itself keeps its rectangle";
      const int lineY = frame.top() + QFontMetrics(window.font()).height() / 2;
      const QRgb line = box->palette().color(QPalette::Dark).rgb();

      // The line left of the title and from the title's end to the right edge.
      EXPECT_EQ(CountInRow(picture, lineY, frame.left() + 1, frame.left() + 5, line), 5);
      EXPECT_EQ(CountInRow(picture, lineY - 1, frame.left() + 1, frame.left() + 5, line), 0);
      const QRect title = box->TitleRect().translated(frame.topLeft());
      EXPECT_EQ(title.top(), frame.top());
      EXPECT_EQ(CountInRow(picture, lineY, title.right() + 3, frame.right() - 2, line),
                frame.right() - 2 - (title.right() + 3) + 1);
      // Erased behind the title, whose glyphs are there, in the text colour.
      EXPECT_LE(CountInRow(picture, lineY, title.left(), title.right(), line), 2);
      int glyphPixels = 0;
      for (int y = title.top(); y <= title.bottom(); ++y) {
        for (int x = title.left(); x <= title.right(); ++x) glyphPixels += qGray(picture.pixel(x, y)) < 96 ? 1 : 0;
      }
      EXPECT_GT(glyphPixels, title.width()) << "no title on the line";

      // Every control inside shows exactly as it draws alone: no line crosses it.
      for (std::size_t j = 0; j < dialogTemplate->controls.size(); ++j) {
        QWidget* inside = window.ControlAt(j)->Widget();
        if (j == i || !frame.contains(inside->geometry())) continue;
        SCOPED_TRACE("control " + std::to_string(dialogTemplate->controls[j].id));
        EXPECT_GT(inside->geometry().top(), lineY + 1);
        EXPECT_TRUE(picture.copy(inside->geometry()) == Picture(*inside)) << "a frame line crosses the control";
      }
    }
  }
  EXPECT_EQ(boxes, 2) << "the options dialog's two groups";
}

TEST(GroupBoxes, OverwriteGroupLineLiesAboveAlwaysOverwrite) {
  QtWindow window(res::OptionsTemplate(), nullptr);
  // Box 1 at 19 units: 19 * 13 / 8 = 30.875 -> 31; half the 13-pixel text
  // height lower the line is at 37. "常に上書き" starts at 28 units: 45.5 -> 46.
  auto* radio = window.Find(1010)->Widget();
  EXPECT_EQ(radio->geometry().top(), 46);
  const QImage picture = Picture(window);
  const QRgb line = window.palette().color(QPalette::Dark).rgb();
  EXPECT_EQ(CountInRow(picture, 37, 26, 30, line), 5);
  EXPECT_TRUE(picture.copy(radio->geometry()) == Picture(*radio)) << "a frame line crosses 常に上書き";
}

}  // namespace
}  // namespace pelko::ui::qt
