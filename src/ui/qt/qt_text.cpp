#include "ui/qt/qt_text.h"

#include <QList>

#include "text/code_page.h"

namespace pelko::ui::qt {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FromCp932(std::string_view text) {
  if (auto whole = cp932::ToUtf8(text)) return FromUtf8(*whole);
  QString result;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = cp932::CharacterLength(text, i);
    if (auto one = cp932::ToUtf8(text.substr(i, length))) {
      result += FromUtf8(*one);
    } else {
      result += QChar(0xFFFD);
    }
    i += length;
  }
  return result;
}

std::string ToCp932(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  if (auto whole = cp932::FromUtf8(
          std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())))) {
    return *whole;
  }
  std::string result;
  for (uint unit : text.toUcs4()) {
    const char32_t codePoint = static_cast<char32_t>(unit);
    const QByteArray one = QString::fromUcs4(&codePoint, 1).toUtf8();
    auto converted =
        cp932::FromUtf8(std::string_view(one.constData(), static_cast<std::size_t>(one.size())));
    result += converted ? *converted : std::string("?");
  }
  return result;
}

QString DisplayText(std::string_view cp932) {
  QString text = FromCp932(cp932);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  return text;
}

}  // namespace pelko::ui::qt
