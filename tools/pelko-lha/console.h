// The terminal as the user-interface host of pelko-lha.
#pragma once

#include "platform/user_interface.h"

namespace pelko::lha {

// Questions are printed on stderr and answered from stdin: y = Yes, n = No,
// q = Cancel; the end of stdin answers No. Registered while it lives.
class ConsoleQuestions final : public win::UserInterfaceHost {
 public:
  ConsoleQuestions();
  ~ConsoleQuestions() override;
  win::DialogResult ShowMessageBox(std::string_view text, std::string_view caption,
                                   win::MessageBoxButtons buttons,
                                   win::MessageBoxIcon icon) override;
  void BeginLongWork() override {}
  void ReportProgress(std::string_view, std::uint64_t, std::uint64_t) override {}
  void EndLongWork() override {}

 private:
  win::UserInterfaceHost* previous_;
};

}  // namespace pelko::lha
