// CP932 strings of the tool and Qt's QString. Texts that do not convert
// whole are converted character by character, as Windows' A-functions do:
// a byte that is no CP932 character shows as U+FFFD, and a character typed
// by the user that CP932 cannot hold becomes '?'.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pelko::ui::qt {

QString FromCp932(std::string_view text);
std::string ToCp932(const QString& text);

// A UTF-8 literal of the tool's own (res/ texts, the template captions).
QString FromUtf8(std::string_view text);

// What a control shows for a text: CR LF and lone CR become line breaks.
QString DisplayText(std::string_view cp932);

}  // namespace pelko::ui::qt
