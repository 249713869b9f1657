#include "ui/qt/group_box.h"

#include <QFontMetrics>
#include <QPainter>

namespace pelko::ui::qt {
namespace {

// The title starts this far from the frame's left edge; the line is erased
// one pixel further on each side.
constexpr int kTitleIndent = 7;
constexpr int kTitleMargin = 1;

}  // namespace

GroupBox::GroupBox(QWidget* parent) : QGroupBox(parent) {}

int GroupBox::FrameTop() const { return QFontMetrics(font()).height() / 2; }

QRect GroupBox::TitleRect() const {
  const QFontMetrics metrics(font());
  return QRect(kTitleIndent, 0, metrics.horizontalAdvance(title()), metrics.height());
}

void GroupBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colours = palette();
  // The etched edge: a shadow line with a highlight line below and right of it.
  const QRect frame = rect().adjusted(0, FrameTop(), -1, -1);
  painter.setPen(colours.color(QPalette::Light));
  painter.drawRect(frame.adjusted(1, 1, 0, 0));
  painter.setPen(colours.color(QPalette::Dark));
  painter.drawRect(frame.adjusted(0, 0, -1, -1));

  if (title().isEmpty()) return;
  const QRect titleRect = TitleRect();
  painter.fillRect(titleRect.adjusted(-kTitleMargin, 0, kTitleMargin, 0),
                   colours.color(QPalette::Window));
  painter.setFont(font());
  painter.setPen(
      colours.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(titleRect.left(), QFontMetrics(font()).ascent(), title());
}

}  // namespace pelko::ui::qt
