// The user-interface seam: like Windows' own MessageBox service, anything may
// ask the user a question or report progress; the dialog framework registers
// the host that answers at start-up. With no host, questions answer Cancel
// and progress goes nowhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelko::win {

enum class MessageBoxButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageBoxIcon { None, Information, Question, Warning, Error };

// Numbered as IDOK, IDCANCEL, ... of Windows.
enum class DialogResult : int { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

class UserInterfaceHost {
 public:
  virtual ~UserInterfaceHost() = default;
  // Text and caption are CP932.
  virtual DialogResult ShowMessageBox(std::string_view text, std::string_view caption,
                                      MessageBoxButtons buttons, MessageBoxIcon icon) = 0;
  // Long work (an archive command) begins and ends; between them progress is
  // reported: the entry being processed (CP932) and bytes done of bytes in all.
  virtual void BeginLongWork() = 0;
  virtual void ReportProgress(std::string_view entry, std::uint64_t done, std::uint64_t total) = 0;
  virtual void EndLongWork() = 0;
};

// Registers the host (null unregisters). The one global besides last-error.
void RegisterUserInterfaceHost(UserInterfaceHost* host);
UserInterfaceHost* RegisteredUserInterfaceHost();

// The caption defaults to the application title.
DialogResult MessageBox(std::string_view text, MessageBoxButtons buttons,
                        MessageBoxIcon icon = MessageBoxIcon::None, std::string_view caption = {});

// RAII bracket for long work; reports go to the registered host, if any.
class LongWork {
 public:
  LongWork();
  ~LongWork();
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;
  void Report(std::string_view entry, std::uint64_t done, std::uint64_t total);
};

}  // namespace pelko::win
