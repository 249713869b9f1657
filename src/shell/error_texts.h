// Failures shown to the user: the system's text of the last error code, and
// the standard file-error text naming the failed operation and its file.
#pragma once

#include <string>
#include <string_view>

namespace pelko::shell {

enum class FileErrorCause { Create, Open, Write, Read, Move };

// The text for the calling thread's last error code, in a message box with OK.
void ShowSystemErrorText();

// "ファイル <name> を…できませんでした。" followed by the system's text of the
// last error code, in a message box with OK. Call it right after the failure,
// before anything else sets the last-error code.
void ShowFileErrorText(FileErrorCause cause, std::string_view fileName);

// The text ShowFileErrorText shows (CP932).
std::string FileErrorText(FileErrorCause cause, std::string_view fileName);

}  // namespace pelko::shell
