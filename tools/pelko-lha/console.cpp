#include "console.h"

#include <cstdio>
#include <iostream>
#include <string>

#include "commands.h"
#include "lzh/archive/path_names.h"
#include "platform/drive_table.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::lha {

ConsoleQuestions::ConsoleQuestions() : previous_(win::RegisteredUserInterfaceHost()) {
  win::RegisterUserInterfaceHost(this);
}

ConsoleQuestions::~ConsoleQuestions() { win::RegisterUserInterfaceHost(previous_); }

win::DialogResult ConsoleQuestions::ShowMessageBox(std::string_view text, std::string_view,
                                                   win::MessageBoxButtons buttons,
                                                   win::MessageBoxIcon) {
  const bool canCancel = buttons == win::MessageBoxButtons::YesNoCancel;
  std::cerr << cp932::ToUtf8(text).value_or(std::string(text))
            << (canCancel ? " [y/n/q] " : " [y/n] ") << std::flush;
  std::string line;
  if (!std::getline(std::cin, line)) {
    std::cerr << "n\n";
    return win::DialogResult::No;
  }
  if (!line.empty() && (line[0] == 'y' || line[0] == 'Y')) return win::DialogResult::Yes;
  if (canCancel && !line.empty() && (line[0] == 'q' || line[0] == 'Q'))
    return win::DialogResult::Cancel;
  return win::DialogResult::No;
}

std::optional<std::string> WindowsPathOf(std::string_view hostPath) {
  auto path = win::ToWindowsPath(hostPath);
  if (!path)
    PrintSystemError(std::string(hostPath) + ": no drive-letter path", win::GetLastError());
  return path;
}

std::string ForTerminal(std::string_view cp932) {
  std::string escaped = lzh::EscapeForDisplay(cp932);
  if (auto utf8 = cp932::ToUtf8(escaped)) return *utf8;
  return escaped;  // not CP932 after all: the escaped bytes are still harmless
}

void PrintSystemError(std::string_view what, unsigned long win32) {
  std::string text =
      cp932::ToUtf8(win::SystemErrorText(static_cast<win::DWORD>(win32))).value_or("");
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  std::cerr << "pelko-lha: " << what << ": " << text << " (" << win32 << ")\n";
}

void PrintError(std::string_view message) { std::cerr << "pelko-lha: " << message << "\n"; }

}  // namespace pelko::lha
