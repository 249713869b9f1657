// A group box drawn the way Windows draws one: an etched frame whose top
// line runs through the middle of the first text line, and the title sitting
// on that line at the left, the line erased behind it. The widget keeps the
// template's rectangle: nothing inside moves, and the frame stays clear of the
// controls the template places under the title.
#pragma once

#include <QGroupBox>

namespace pelko::ui::qt {

class GroupBox : public QGroupBox {
 public:
  explicit GroupBox(QWidget* parent);

  // Where the frame's top line runs, from the top of the box.
  int FrameTop() const;
  // Where the title is drawn, its background erased.
  QRect TitleRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace pelko::ui::qt
