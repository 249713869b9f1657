// Group boxes as Windows draws them, checked on the window's own pixels: the
// frame's top line runs half a text line below the box's top edge (in the
// options dialog at 31 + 6 = 37, above "常に上書き" at 46), the title sits on
// it with the line erased behind it, and every control inside the box shows
// exactly as it draws alone: no frame line crosses it.
#include "ui/qt/group_box.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>

#include "templates/templates.h"
#include "ui/qt/qt_window.h"

namespace pelko::ui::qt {
namespace {

QImage Picture(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int CountInRow(const QImage& picture, int y, int from, int to, QRgb colour) {
  int count = 0;
  for (int x = from; x <= to; ++x) count += picture.pixel(x, y) == colour ? 1 : 0;
  return count;
}

TEST(GroupBoxes, FrameTopRunsThroughTheTitleAndClearOfTheControlsInside) {
  std::vector<int> lines;
  for (int id : {templates::IDD_MAIN, templates::IDD_ASSOCIATION, templates::IDD_VOLUME_LABEL,
                 templates::IDD_FOLDER_PICKER, templates::IDD_OPTIONS, templates::IDD_OUTPUT}) {
    const DialogTemplate& dialogTemplate = *templates::FindTemplate(id);
    QtWindow window(dialogTemplate, nullptr);
    const QImage picture = Picture(window);
    for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
      auto* box = dynamic_cast<GroupBox*>(window.ControlAt(i)->Widget());
      if (!box) continue;
      SCOPED_TRACE(box->title().toStdString());
      const QRect frame = box->geometry();
      const QRect title = box->TitleRect().translated(frame.topLeft());
      const int lineY = frame.top() + QFontMetrics(window.font()).height() / 2;
      lines.push_back(lineY);
      const QRgb line = box->palette().color(QPalette::Dark).rgb();
      EXPECT_EQ(CountInRow(picture, lineY, frame.left() + 1, frame.left() + 5, line), 5);
      EXPECT_EQ(CountInRow(picture, lineY - 1, frame.left() + 1, frame.left() + 5, line), 0);
      EXPECT_EQ(CountInRow(picture, lineY, title.right() + 3, frame.right() - 2, line),
                frame.right() - title.right() - 4);
      EXPECT_LE(CountInRow(picture, lineY, title.left(), title.right(), line), 2)
          << "the line runs through the title";
      int glyphPixels = 0;
      for (int y = frame.top(); y <= title.bottom(); ++y) {
        for (int x = title.left(); x <= title.right(); ++x)
          glyphPixels += qGray(picture.pixel(x, y)) < 96 ? 1 : 0;
      }
      EXPECT_GT(glyphPixels, title.width()) << "no title on the line";
      for (std::size_t j = 0; j < dialogTemplate.controls.size(); ++j) {
        QWidget* inside = window.ControlAt(j)->Widget();
        if (j == i || !frame.contains(inside->geometry())) continue;
        EXPECT_TRUE(picture.copy(inside->geometry()) == Picture(*inside))
            << "a frame line crosses control " << dialogTemplate.controls[j].id;
      }
    }
    if (id == templates::IDD_OPTIONS) {
      EXPECT_EQ(window.Find(1010)->Widget()->geometry().top(), 46);
    }
  }
  EXPECT_EQ(lines, (std::vector<int>{37, 37})) << "the options dialog's two groups";
}

}  // namespace
}  // namespace pelko::ui::qt
