#include "ui/qt/dialog_font.h"

#include <QFontMetrics>
#include <QStringList>

#include "ui/qt/qt_text.h"

namespace pelko::ui::qt {

void InstallFontSubstitutions() {
  const QStringList substitutes{QString::fromUtf8(kSubstituteFamily)};
  for (const char* windowsFace : {"ＭＳ Ｐゴシック", "MS PGothic", "MS UI Gothic"}) {
    QFont::insertSubstitutions(QString::fromUtf8(windowsFace), substitutes);
  }
}

QFont DialogFont(const DialogTemplate& dialogTemplate) {
  QFont font(FromUtf8(dialogTemplate.fontName));
  font.setPointSize(dialogTemplate.fontPoints > 0 ? dialogTemplate.fontPoints : 9);
  return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return BaseUnitsFromLetters(letters, metrics.height());
}

}  // namespace pelko::ui::qt
