#include "shell/error_texts.h"

#include "platform/user_interface.h"
#include "res/texts_file_error.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::shell {
namespace {

std::string_view PatternOf(FileErrorCause cause) {
  switch (cause) {
    case FileErrorCause::Create:
      return res::kFileErrorCreate;
    case FileErrorCause::Open:
      return res::kFileErrorOpen;
    case FileErrorCause::Write:
      return res::kFileErrorWrite;
    case FileErrorCause::Read:
      return res::kFileErrorRead;
    case FileErrorCause::Move:
      return res::kFileErrorMove;
  }
  return res::kFileErrorOpen;
}

}  // namespace

void ShowSystemErrorText() {
  win::MessageBox(win::SystemErrorText(win::GetLastError()), win::MessageBoxButtons::Ok,
                  win::MessageBoxIcon::Error);
}

std::string FileErrorText(FileErrorCause cause, std::string_view fileName) {
  // The name is put in by hand, not through printf: it is the user's bytes.
  std::string text = cp932::FromUtf8Literal(PatternOf(cause));
  std::size_t slot = text.find("%s");
  if (slot != std::string::npos) text.replace(slot, 2, fileName);
  return text + "\r\n" + win::SystemErrorText(win::GetLastError());
}

void ShowFileErrorText(FileErrorCause cause, std::string_view fileName) {
  win::MessageBox(FileErrorText(cause, fileName), win::MessageBoxButtons::Ok,
                  win::MessageBoxIcon::Warning);
}

}  // namespace pelko::shell
