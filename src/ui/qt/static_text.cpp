#include "ui/qt/static_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

namespace pelko::ui::qt {

StaticText::StaticText(QWidget* parent) : QFrame(parent) {}

void StaticText::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  update();
}

void StaticText::setAlignment(Qt::Alignment alignment) {
  alignment_ = alignment;
  update();
}

void StaticText::setWordWrap(bool wrap) {
  wordWrap_ = wrap;
  update();
}

QStringList StaticText::Lines() const {
  QStringList lines;
  const int width = contentsRect().width();
  for (const QString& paragraph : text_.split(QChar('\n'))) {
    if (!wordWrap_ || paragraph.isEmpty()) {
      lines.push_back(paragraph);
      continue;
    }
    QTextLayout layout(paragraph, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      lines.push_back(paragraph.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
  }
  // The break that ends the text starts no line of its own.
  if (lines.size() > 1 && lines.back().isEmpty()) lines.pop_back();
  return lines;
}

void StaticText::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect area = contentsRect();
  painter.setClipRect(area);
  painter.setFont(font());
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  const QFontMetrics metrics(font());
  const QStringList lines = Lines();
  int top = area.top();
  if (alignment_ & Qt::AlignVCenter)
    top += (area.height() - metrics.height() * static_cast<int>(lines.size())) / 2;
  for (const QString& line : lines) {
    QString shown = line;
    while (shown.endsWith(QChar(' '))) shown.chop(1);
    const int width = metrics.horizontalAdvance(shown);
    int left = area.left();
    if (alignment_ & Qt::AlignRight) left = area.right() + 1 - width;
    if (alignment_ & Qt::AlignHCenter) left = area.left() + (area.width() - width) / 2;
    painter.drawText(left, top + metrics.ascent(), shown);
    top += metrics.height();
  }
}

}  // namespace pelko::ui::qt
