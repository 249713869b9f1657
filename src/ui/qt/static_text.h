// A static text control drawn the way Windows draws one: lines exactly one
// text height apart (a label would add the font's leading, and the tool's
// explanatory texts fill their frames to the last line), broken at line
// breaks and, when wrapping, at word boundaries or between Japanese
// characters. Always plain text: a file name is never markup.
#pragma once

#include <QFrame>
#include <QString>

namespace pelko::ui::qt {

class StaticText : public QFrame {
 public:
  explicit StaticText(QWidget* parent);

  QString text() const { return text_; }
  void setText(const QString& text);
  void setAlignment(Qt::Alignment alignment);
  Qt::Alignment alignment() const { return alignment_; }
  void setWordWrap(bool wrap);
  bool wordWrap() const { return wordWrap_; }

  // The lines as drawn in the current width.
  QStringList Lines() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
  bool wordWrap_ = true;
};

}  // namespace pelko::ui::qt
