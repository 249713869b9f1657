// Message boxes as a Japanese Windows shows them, whatever the user's locale:
// the buttons OK, キャンセル, はい(Y), いいえ(N) and 再試行(R) in Windows' order,
// the first one the default, Escape (and the close box) answering Cancel, or
// OK when it is the only button; a Yes/No box must be answered.
#pragma once

#include <QString>

#include "platform/user_interface.h"

class QWidget;

namespace pelko::ui::qt {

// A button's caption with its mnemonic marked by '&' ("はい(&Y)").
QString MessageBoxButtonText(win::DialogResult answer);

// Shows the box modally over `parent` (may be null) and returns the answer.
win::DialogResult RunMessageBox(QWidget* parent, const QString& text, const QString& caption,
                                win::MessageBoxButtons buttons, win::MessageBoxIcon icon);

}  // namespace pelko::ui::qt
