#include "support/scripted_message_box_host.h"

#include <gtest/gtest.h>

#include "text/code_page.h"

namespace pelko::test {

namespace {

std::string Readable(std::string_view cp932) {
  auto utf8 = cp932::ToUtf8(cp932);
  return utf8 ? *utf8 : "(not CP932) " + std::string(cp932);
}

}  // namespace

std::string ScriptedMessageBoxHost::ShownBox::TextUtf8() const { return Readable(text); }

ScriptedMessageBoxHost::ScriptedMessageBoxHost() : previous_(win::RegisteredUserInterfaceHost()) {
  win::RegisterUserInterfaceHost(this);
}

ScriptedMessageBoxHost::~ScriptedMessageBoxHost() {
  win::RegisterUserInterfaceHost(previous_);
  for (const Answer& answer : script_) {
    ADD_FAILURE() << "a scripted answer was never asked for (text part: \""
                  << Readable(answer.textPart) << "\")";
  }
}

void ScriptedMessageBoxHost::Expect(DialogResult answer, std::string_view utf8TextPart) {
  script_.push_back({answer, cp932::FromUtf8Literal(utf8TextPart)});
}

DialogResult ScriptedMessageBoxHost::ShowMessageBox(std::string_view text, std::string_view caption,
                                                    MessageBoxButtons buttons,
                                                    MessageBoxIcon icon) {
  shown_.push_back({std::string(text), std::string(caption), buttons, icon});
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected message box: \"" << Readable(text) << "\"";
    return DialogResult::Cancel;
  }
  Answer answer = script_.front();
  script_.pop_front();
  if (text.find(answer.textPart) == std::string_view::npos) {
    ADD_FAILURE() << "message box \"" << Readable(text) << "\" shown where one containing \""
                  << Readable(answer.textPart) << "\" was expected";
    return DialogResult::Cancel;
  }
  return answer.result;
}

}  // namespace pelko::test
