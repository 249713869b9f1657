#include "ui/headless/scripted_user.h"

#include <cstdio>

#include "text/code_page.h"
#include "ui/headless/headless_host.h"

namespace pelko::ui::headless {
namespace {

ScriptStep MakeStep(ScriptStep::Kind kind, int id = 0) {
  ScriptStep step;
  step.kind = kind;
  step.id = id;
  return step;
}

std::string Positions(const std::vector<int>& positions) {
  std::string text;
  for (int position : positions) text += " " + std::to_string(position);
  return text;
}

}  // namespace

std::string TranscriptText(std::string_view cp932) {
  std::string utf8;
  if (std::optional<std::string> converted = cp932::ToUtf8(cp932)) {
    utf8 = *converted;
  } else {
    for (unsigned char byte : cp932) {
      if (byte < 0x80) {
        utf8 += static_cast<char>(byte);
      } else {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", byte);
        utf8 += hex;
      }
    }
  }
  std::string escaped;
  for (char c : utf8) {
    if (c == '\n') {
      escaped += "\\n";
    } else if (c == '\r') {
      escaped += "\\r";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string DescribeStep(const ScriptStep& step) {
  using Kind = ScriptStep::Kind;
  std::string id = std::to_string(step.id);
  switch (step.kind) {
    case Kind::Answer:
      return "answer " + AnswerName(step.answer) +
             (step.expectedText ? " " + TranscriptText(*step.expectedText) : std::string());
    case Kind::ExpectDialog:
      return "dialog " + id;
    case Kind::Press:
      return "press " + id;
    case Kind::Type:
      return "type " + id + " " + TranscriptText(step.text);
    case Kind::Select:
      return "select " + id + Positions(step.positions);
    case Kind::DoubleClick:
      return "dblclick " + id + Positions(step.positions);
    case Kind::SetCheck:
      return "check " + id + " " + std::to_string(step.state);
    case Kind::Ok:
      return "ok";
    case Kind::Cancel:
      return "cancel";
    case Kind::ExpectText:
      return "expect " + id + " " + TranscriptText(step.text);
    case Kind::ChooseFile:
      return "file " + TranscriptText(step.text);
    case Kind::CancelFile:
      return "file (cancel)";
    case Kind::Run:
      return "run " + step.text;
    case Kind::InDialog:
      return "the test's code in the dialog";
  }
  return "?";
}

ScriptedUser& ScriptedUser::Add(ScriptStep step) {
  steps_.push_back(std::move(step));
  return *this;
}

ScriptedUser& ScriptedUser::AnswerMessageBox(win::DialogResult answer) {
  ScriptStep step = MakeStep(ScriptStep::Kind::Answer);
  step.answer = answer;
  return Add(std::move(step));
}

ScriptedUser& ScriptedUser::AnswerMessageBox(std::string_view expectedText,
                                             win::MessageBoxButtons buttons,
                                             win::DialogResult answer) {
  ScriptStep step = MakeStep(ScriptStep::Kind::Answer);
  step.answer = answer;
  step.expectedText = std::string(expectedText);
  step.expectedButtons = buttons;
  return Add(std::move(step));
}

ScriptedUser& ScriptedUser::ExpectDialog(int templateId) {
  return Add(MakeStep(ScriptStep::Kind::ExpectDialog, templateId));
}

ScriptedUser& ScriptedUser::Press(int controlId) {
  return Add(MakeStep(ScriptStep::Kind::Press, controlId));
}

ScriptedUser& ScriptedUser::Type(int controlId, std::string_view text) {
  ScriptStep step = MakeStep(ScriptStep::Kind::Type, controlId);
  step.text = text;
  return Add(std::move(step));
}

ScriptedUser& ScriptedUser::Select(int controlId, std::vector<int> positions) {
  ScriptStep step = MakeStep(ScriptStep::Kind::Select, controlId);
  step.positions = std::move(positions);
  return Add(std::move(step));
}

ScriptedUser& ScriptedUser::DoubleClick(int controlId, int position) {
  ScriptStep step = MakeStep(ScriptStep::Kind::DoubleClick, controlId);
  step.positions = {position};
  return Add(std::move(step));
}

ScriptedUser& ScriptedUser::SetCheck(int controlId, int state) {
  ScriptStep step = MakeStep(ScriptStep::Kind::SetCheck, controlId);
  step.state = state;
  return Add(std::move(step));
}

ScriptedUser& ScriptedUser::Ok() { return Add(MakeStep(ScriptStep::Kind::Ok)); }

ScriptedUser& ScriptedUser::Cancel() { return Add(MakeStep(ScriptStep::Kind::Cancel)); }

ScriptedUser& ScriptedUser::ExpectText(int controlId, std::string_view text) {
  ScriptStep step = MakeStep(ScriptStep::Kind::ExpectText, controlId);
  step.text = text;
  return Add(std::move(step));
}

ScriptedUser& ScriptedUser::ChooseFile(std::string_view drivePath) {
  ScriptStep step = MakeStep(ScriptStep::Kind::ChooseFile);
  step.text = drivePath;
  return Add(std::move(step));
}

ScriptedUser& ScriptedUser::CancelFileDialog() {
  return Add(MakeStep(ScriptStep::Kind::CancelFile));
}

ScriptedUser& ScriptedUser::Run(std::function<void()> action) {
  return Run(std::function<bool(std::string&)>([action = std::move(action)](std::string&) {
    action();
    return true;
  }));
}

ScriptedUser& ScriptedUser::Run(std::function<bool(std::string& why)> action) {
  ScriptStep step = MakeStep(ScriptStep::Kind::Run);
  step.text = "(test code)";
  step.run = std::move(action);
  return Add(std::move(step));
}

ScriptedUser& ScriptedUser::InDialog(std::function<void(Dialog&)> action) {
  ScriptStep step = MakeStep(ScriptStep::Kind::InDialog);
  step.inDialog = std::move(action);
  return Add(std::move(step));
}

std::optional<ScriptStep> ScriptedUser::Next() {
  while (!failure_ && !steps_.empty()) {
    ScriptStep step = std::move(steps_.front());
    steps_.pop_front();
    if (step.kind != ScriptStep::Kind::Run) return step;
    std::string why;
    if (step.run && !step.run(why)) {
      Fail((step.origin.empty() ? std::string() : step.origin + ": ") + DescribeStep(step) + ": " +
           why);
      return std::nullopt;
    }
  }
  return std::nullopt;
}

void ScriptedUser::PutBack(ScriptStep step) { steps_.push_front(std::move(step)); }

void ScriptedUser::Fail(const std::string& reason) {
  if (failure_) return;
  failure_ = reason;
  Record("failed: " + reason);
  if (failureHandler_) failureHandler_(reason);
}

void ScriptedUser::Record(const std::string& utf8Line) {
  transcript_.push_back(utf8Line);
  if (sink_) sink_(utf8Line);
}

std::string ScriptedUser::Report() const {
  std::string report = "transcript:\n";
  for (const std::string& line : transcript_) report += "  " + line + "\n";
  if (failure_) report += "failure: " + *failure_ + "\n";
  if (!steps_.empty()) {
    report += "steps left: " + std::to_string(steps_.size()) + "\n";
    for (const ScriptStep& step : steps_) {
      report += "  " + (step.origin.empty() ? std::string() : step.origin + ": ") +
                DescribeStep(step) + "\n";
    }
  }
  return report;
}

}  // namespace pelko::ui::headless
