// What the Qt application needs to look like the tool on a Japanese Windows,
// whatever the user's locale: Qt's own texts (file dialog, standard buttons)
// in Japanese, the Japanese locale for Qt's formatting, and the dialog font
// "ＭＳ Ｐゴシック" drawn by IPAPGothic, also for message boxes and the file dialog.
#pragma once

class QApplication;

namespace pelko::ui::qt {

// Call once, right after the QApplication is made. False when Qt's Japanese
// translations are not installed (the tool's own texts are Japanese anyway).
bool PrepareJapaneseApplication(QApplication& application);

}  // namespace pelko::ui::qt
