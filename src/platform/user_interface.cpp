#include "platform/user_interface.h"

#include <atomic>

#include "platform/program_folder.h"

namespace pelko::win {
namespace {

std::atomic<UserInterfaceHost*> registeredHost{nullptr};

}  // namespace

void RegisterUserInterfaceHost(UserInterfaceHost* host) { registeredHost.store(host); }

UserInterfaceHost* RegisteredUserInterfaceHost() { return registeredHost.load(); }

DialogResult MessageBox(std::string_view text, MessageBoxButtons buttons, MessageBoxIcon icon,
                        std::string_view caption) {
  UserInterfaceHost* host = RegisteredUserInterfaceHost();
  if (host == nullptr) return DialogResult::Cancel;  // nobody to ask: the safe answer
  if (caption.empty()) {
    std::string title = ApplicationTitle();
    return host->ShowMessageBox(text, title, buttons, icon);
  }
  return host->ShowMessageBox(text, caption, buttons, icon);
}

LongWork::LongWork() {
  if (UserInterfaceHost* host = RegisteredUserInterfaceHost()) host->BeginLongWork();
}

LongWork::~LongWork() {
  if (UserInterfaceHost* host = RegisteredUserInterfaceHost()) host->EndLongWork();
}

void LongWork::Report(std::string_view entry, std::uint64_t done, std::uint64_t total) {
  if (UserInterfaceHost* host = RegisteredUserInterfaceHost())
    host->ReportProgress(entry, done, total);
}

}  // namespace pelko::win
