#include "ui/qt/japanese_application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "res/texts_dialogs.h"
#include "ui/qt/dialog_font.h"
#include "ui/qt/qt_text.h"

namespace pelko::ui::qt {
namespace {

// Texts Qt's Japanese translation leaves in English: the file list's types
// of folders, drives and links. Worded as Explorer words them.
class TranslationGaps : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* sourceText, const char*, int) const override {
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
    if (qstrcmp(sourceText, "Folder") == 0) return QStringLiteral("ファイル フォルダー");
    if (qstrcmp(sourceText, "Drive") == 0) return QStringLiteral("ドライブ");
    if (qstrcmp(sourceText, "Shortcut") == 0) return QStringLiteral("ショートカット");
    if (qstrcmp(sourceText, "Unknown") == 0) return QStringLiteral("不明");
    return {};
  }
};

}  // namespace

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
  QApplication::installTranslator(new TranslationGaps(&application));
  // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks): the application owns both translators
  return true;
}

}  // namespace pelko::ui::qt
