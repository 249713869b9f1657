#include "ui/qt/japanese_application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "res/texts_dialogs.h"
#include "ui/qt/dialog_font.h"
#include "ui/qt/qt_text.h"

namespace pelko::ui::qt {

bool PrepareJapaneseApplication(QApplication& application) {
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  QLocale::setDefault(japanese);

  InstallFontSubstitutions();
  QFont font(FromUtf8(res::kDialogFont));
  font.setPointSize(res::kDialogFontPoints);
  QApplication::setFont(font);

  auto* translator = new QTranslator(&application);
  if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QApplication::installTranslator(translator);
  return true;
}

}  // namespace pelko::ui::qt
