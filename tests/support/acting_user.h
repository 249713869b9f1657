// The scripted user of the tests, who can also act while a message box is up:
// swap the floppy in drive A:, put a file in place, and so on. The action runs
// before the box is answered, as a user changes the disk before pressing Yes.
#pragma once

#include <deque>
#include <functional>
#include <string_view>
#include <utility>

#include "support/scripted_message_box_host.h"

namespace pelko::test {

class ActingUser : public ScriptedMessageBoxHost {
 public:
  using Action = std::function<void()>;

  void Expect(DialogResult answer, std::string_view utf8TextPart = {}, Action action = {}) {
    ScriptedMessageBoxHost::Expect(answer, utf8TextPart);
    actions_.push_back(std::move(action));
  }

  DialogResult ShowMessageBox(std::string_view text, std::string_view caption,
                              MessageBoxButtons buttons, MessageBoxIcon icon) override {
    DialogResult answer = ScriptedMessageBoxHost::ShowMessageBox(text, caption, buttons, icon);
    if (!actions_.empty()) {
      Action action = std::move(actions_.front());
      actions_.pop_front();
      if (action) action();
    }
    return answer;
  }

 private:
  std::deque<Action> actions_;
};

}  // namespace pelko::test
