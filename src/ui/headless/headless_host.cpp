#include "ui/headless/headless_host.h"

#include "ui/dialog.h"

namespace pelko::ui::headless {
namespace {

using Kind = ScriptStep::Kind;
using win::DialogResult;
using win::MessageBoxButtons;

std::string Prefix(const ScriptStep& step) {
  return step.origin.empty() ? std::string() : step.origin + ": ";
}

std::string ResultName(int result) {
  if (result == IDOK) return "OK";
  if (result == IDCANCEL) return "CANCEL";
  return std::to_string(result);
}

// What a message box answers once the script has failed: the way out.
DialogResult WayOut(MessageBoxButtons buttons) {
  if (ButtonsOffer(buttons, DialogResult::Cancel)) return DialogResult::Cancel;
  if (ButtonsOffer(buttons, DialogResult::No)) return DialogResult::No;
  return DialogResult::Ok;
}

// The radio buttons of the group holding `controlId`: consecutive radio
// buttons in template order, a new group starting at a style::Group one.
std::vector<int> RadioGroup(const DialogTemplate& dialogTemplate, int controlId) {
  const auto& controls = dialogTemplate.controls;
  std::size_t at = 0;
  while (at < controls.size() && controls[at].id != controlId) ++at;
  std::size_t first = at;
  while (first > 0 && !controls[first].Has(style::Group) &&
         controls[first - 1].kind == ControlKind::RadioButton) {
    --first;
  }
  std::vector<int> group;
  for (std::size_t i = first; i < controls.size() && controls[i].kind == ControlKind::RadioButton;
       ++i) {
    if (i != first && controls[i].Has(style::Group)) break;
    group.push_back(controls[i].id);
  }
  return group;
}

}  // namespace

std::string AnswerName(DialogResult answer) {
  switch (answer) {
    case DialogResult::Ok:
      return "OK";
    case DialogResult::Cancel:
      return "CANCEL";
    case DialogResult::Retry:
      return "RETRY";
    case DialogResult::Yes:
      return "YES";
    case DialogResult::No:
      return "NO";
  }
  return "?";
}

std::string ButtonsName(MessageBoxButtons buttons) {
  switch (buttons) {
    case MessageBoxButtons::Ok:
      return "[OK]";
    case MessageBoxButtons::OkCancel:
      return "[OK CANCEL]";
    case MessageBoxButtons::YesNo:
      return "[YES NO]";
    case MessageBoxButtons::YesNoCancel:
      return "[YES NO CANCEL]";
    case MessageBoxButtons::RetryCancel:
      return "[RETRY CANCEL]";
  }
  return "[?]";
}

bool ButtonsOffer(MessageBoxButtons buttons, DialogResult answer) {
  switch (buttons) {
    case MessageBoxButtons::Ok:
      return answer == DialogResult::Ok;
    case MessageBoxButtons::OkCancel:
      return answer == DialogResult::Ok || answer == DialogResult::Cancel;
    case MessageBoxButtons::YesNo:
      return answer == DialogResult::Yes || answer == DialogResult::No;
    case MessageBoxButtons::YesNoCancel:
      return answer == DialogResult::Yes || answer == DialogResult::No ||
             answer == DialogResult::Cancel;
    case MessageBoxButtons::RetryCancel:
      return answer == DialogResult::Retry || answer == DialogResult::Cancel;
  }
  return false;
}

HeadlessHost::HeadlessHost(ScriptedUser& user, bool registerWithPlatform)
    : user_(user), registered_(registerWithPlatform) {
  if (registered_) win::RegisterUserInterfaceHost(this);
}

HeadlessHost::~HeadlessHost() {
  if (registered_ && win::RegisteredUserInterfaceHost() == this)
    win::RegisterUserInterfaceHost(nullptr);
}

void HeadlessHost::WatchText(int templateId, int controlId) {
  watched_.emplace_back(templateId, controlId);
}

DialogResult HeadlessHost::ShowMessageBox(std::string_view text, std::string_view,
                                          MessageBoxButtons buttons, win::MessageBoxIcon) {
  std::string shown = ButtonsName(buttons) + ": " + TranscriptText(text);
  if (user_.Failed()) return WayOut(buttons);
  std::optional<ScriptStep> step = user_.Next();
  if (!step) {
    if (!user_.Failed())
      user_.Fail("the script ran out while a message box waits: message " + shown);
    return WayOut(buttons);
  }
  if (step->kind != Kind::Answer) {
    user_.Fail(Prefix(*step) + DescribeStep(*step) +
               " does not fit: a message box waits: message " + shown);
    return WayOut(buttons);
  }
  if (step->expectedText && *step->expectedText != text) {
    user_.Fail(Prefix(*step) + "the message box reads \"" + TranscriptText(text) +
               "\", expected \"" + TranscriptText(*step->expectedText) + "\"");
    return WayOut(buttons);
  }
  if ((step->expectedButtons && *step->expectedButtons != buttons) ||
      !ButtonsOffer(buttons, step->answer)) {
    user_.Fail(Prefix(*step) + DescribeStep(*step) + " does not fit the buttons: message " + shown);
    return WayOut(buttons);
  }
  user_.Record("message " + ButtonsName(buttons) + " answer " + AnswerName(step->answer) + ": " +
               TranscriptText(text));
  return step->answer;
}

int HeadlessHost::RunModal(Dialog& dialog) {
  const int templateId = dialog.TemplateId();
  const std::string name = "dialog " + std::to_string(templateId);
  const bool isMainWindow = open_.empty() && user_.MainWindow() == templateId;

  HeadlessWindow window(dialog.Template());
  for (const auto& [watchedTemplate, watchedControl] : watched_) {
    if (watchedTemplate != templateId) continue;
    if (HeadlessControl* control = window.Find(watchedControl)) {
      control->onTextChanged = [this](const HeadlessControl& changed) {
        user_.Record("text " + std::to_string(changed.Template().id) + ": " +
                     TranscriptText(changed.Text()));
      };
    }
  }
  dialog.AttachWindow(window);
  open_.emplace_back(&dialog, &window);
  user_.Record(name + " open");

  if (!isMainWindow && !user_.Failed()) {
    std::optional<ScriptStep> step = user_.Next();
    if (!step) {
      if (!user_.Failed()) user_.Fail("the script ran out while " + name + " opens");
    } else if (step->kind != Kind::ExpectDialog) {
      user_.Fail(Prefix(*step) + DescribeStep(*step) + " does not fit: " + name + " opened");
    } else if (step->id != templateId) {
      user_.Fail(Prefix(*step) + "dialog " + std::to_string(step->id) + " expected, but " + name +
                 " opened");
    }
  }

  if (dialog.InitDialog()) window.SetFocus(dialog.Template().FirstTabStop());

  while (!dialog.HasEnded()) {
    if (user_.Failed()) break;
    std::optional<ScriptStep> step = user_.Next();
    if (step) {
      Perform(*step, dialog, window);
    } else if (!user_.Failed()) {
      if (isMainWindow) break;  // the script is done: close the main window
      user_.Fail("the script ran out while " + name + " waits");
    }
  }
  if (!dialog.HasEnded()) {
    // Escape, as the user would close it; a dialog that refuses is ended.
    dialog.DispatchCommand(IDCANCEL, Notification::Clicked);
    if (!dialog.HasEnded()) dialog.EndDialog(IDCANCEL);
  }

  open_.pop_back();
  dialog.DetachWindow();
  user_.Record(name + " closed " + ResultName(dialog.Result()));
  return dialog.Result();
}

std::optional<std::string> HeadlessHost::AskForFileName(const OpenFileRequest&) {
  if (user_.Failed()) return std::nullopt;
  std::optional<ScriptStep> step = user_.Next();
  if (!step) {
    if (!user_.Failed()) user_.Fail("the script ran out while the open-file dialog waits");
    return std::nullopt;
  }
  if (step->kind == Kind::ChooseFile) {
    user_.Record("file " + TranscriptText(step->text));
    return step->text;
  }
  if (step->kind == Kind::CancelFile || step->kind == Kind::Cancel) {
    user_.Record("file cancelled");
    return std::nullopt;
  }
  user_.Fail(Prefix(*step) + DescribeStep(*step) + " does not fit: the open-file dialog waits");
  return std::nullopt;
}

HeadlessControl* HeadlessHost::UsableControl(const ScriptStep& step, Dialog& dialog,
                                             HeadlessWindow& window, int controlId) {
  HeadlessControl* control = window.Find(controlId);
  std::string where = "dialog " + std::to_string(dialog.TemplateId());
  if (!control) {
    user_.Fail(Prefix(step) + DescribeStep(step) + ": " + where + " has no control " +
               std::to_string(controlId));
    return nullptr;
  }
  if (!control->IsEnabled()) {
    user_.Fail(Prefix(step) + DescribeStep(step) + ": control " + std::to_string(controlId) +
               " of " + where + " is disabled");
    return nullptr;
  }
  return control;
}

void HeadlessHost::Press(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window,
                         int controlId) {
  HeadlessControl* control = UsableControl(step, dialog, window, controlId);
  if (!control) return;
  ControlKind kind = control->Template().kind;
  if (kind != ControlKind::PushButton && kind != ControlKind::CheckBox &&
      kind != ControlKind::RadioButton) {
    user_.Fail(Prefix(step) + DescribeStep(step) + ": control " + std::to_string(controlId) +
               " is not a button");
    return;
  }
  window.SetFocus(controlId);
  if (kind == ControlKind::CheckBox) {
    control->SetCheck(control->Check() ? 0 : 1);
  } else if (kind == ControlKind::RadioButton) {
    for (int member : RadioGroup(window.Template(), controlId)) {
      if (HeadlessControl* radio = window.Find(member))
        radio->SetCheck(member == controlId ? 1 : 0);
    }
  }
  dialog.DispatchCommand(controlId, Notification::Clicked);
}

void HeadlessHost::FailStep(const ScriptStep& step, const std::string& why) {
  user_.Fail(Prefix(step) + DescribeStep(step) + ": " + why);
}

// Enter: the OK button, else the push button with the focus, else IDOK.
void HeadlessHost::PressEnter(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window) {
  HeadlessControl* focused = window.Find(window.FocusedControl());
  if (window.Find(IDOK)) {
    Press(step, dialog, window, IDOK);
  } else if (focused && focused->Template().kind == ControlKind::PushButton) {
    Press(step, dialog, window, focused->Template().id);
  } else {
    dialog.DispatchCommand(IDOK, Notification::Clicked);
  }
}

void HeadlessHost::Type(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window) {
  HeadlessControl* control = UsableControl(step, dialog, window, step.id);
  if (!control) return;
  const ControlTemplate& t = control->Template();
  bool typable =
      t.kind == ControlKind::Edit || (t.kind == ControlKind::ComboBox && t.Has(style::DropDown));
  if (!typable) {
    return FailStep(step, "control " + std::to_string(step.id) + " has no text to type into");
  }
  if (t.Has(style::ReadOnly)) {
    return FailStep(step, "edit " + std::to_string(step.id) + " is read-only");
  }
  window.SetFocus(step.id);
  control->SetText(step.text);
  dialog.DispatchCommand(step.id, Notification::EditChange);
}

// A selection or a double-click in a list box or combo box.
void HeadlessHost::Select(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window) {
  HeadlessControl* control = UsableControl(step, dialog, window, step.id);
  if (!control) return;
  const ControlTemplate& t = control->Template();
  if (t.kind != ControlKind::ListBox && t.kind != ControlKind::ComboBox) {
    return FailStep(step, "control " + std::to_string(step.id) + " is not a list");
  }
  for (int position : step.positions) {
    if (position < 0 || position >= control->Count()) {
      return FailStep(step, "list " + std::to_string(step.id) + " has " +
                                std::to_string(control->Count()) + " items");
    }
  }
  bool multiple = t.kind == ControlKind::ListBox && t.Has(style::MultipleSelection);
  if (!multiple && step.positions.size() > 1) {
    return FailStep(step, "list " + std::to_string(step.id) + " takes one selection");
  }
  if (step.kind == Kind::DoubleClick && step.positions.size() != 1) {
    return FailStep(step, "double-click one item");
  }
  window.SetFocus(step.id);
  if (multiple) {
    for (int i = 0; i < control->Count(); ++i) control->SetSelected(i, false);
    for (int position : step.positions) control->SetSelected(position, true);
  } else {
    int position = step.positions.empty() ? -1 : step.positions.front();
    control->SetCurrentSelection(position);
    if (t.kind == ControlKind::ComboBox) control->SetText(control->ItemText(position));
  }
  bool notifies = t.kind == ControlKind::ComboBox || t.Has(style::Notify);
  if (notifies) dialog.DispatchCommand(step.id, Notification::SelectionChange);
  if (step.kind == Kind::DoubleClick && t.Has(style::Notify) && !dialog.HasEnded()) {
    dialog.DispatchCommand(step.id, Notification::DoubleClick);
  }
}

void HeadlessHost::SetCheck(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window) {
  HeadlessControl* control = UsableControl(step, dialog, window, step.id);
  if (!control) return;
  ControlKind kind = control->Template().kind;
  if (step.state != 0 && step.state != 1) return FailStep(step, "a check state is 0 or 1");
  if (kind == ControlKind::CheckBox) {
    if (control->Check() != step.state) Press(step, dialog, window, step.id);
  } else if (kind == ControlKind::RadioButton) {
    if (step.state == 0) return FailStep(step, "a radio button is cleared by checking another one");
    if (!control->Check()) Press(step, dialog, window, step.id);
  } else {
    FailStep(step, "control " + std::to_string(step.id) + " is not a check box or radio button");
  }
}

void HeadlessHost::Perform(const ScriptStep& step, Dialog& dialog, HeadlessWindow& window) {
  const std::string where = "dialog " + std::to_string(dialog.TemplateId());
  switch (step.kind) {
    case Kind::Press:
      Press(step, dialog, window, step.id);
      return;
    case Kind::Ok:
      PressEnter(step, dialog, window);
      return;
    case Kind::Cancel:
      dialog.DispatchCommand(IDCANCEL, Notification::Clicked);  // Escape
      return;
    case Kind::Type:
      Type(step, dialog, window);
      return;
    case Kind::Select:
    case Kind::DoubleClick:
      Select(step, dialog, window);
      return;
    case Kind::SetCheck:
      SetCheck(step, dialog, window);
      return;
    case Kind::ExpectText: {
      HeadlessControl* control = window.Find(step.id);
      if (!control) return FailStep(step, where + " has no control " + std::to_string(step.id));
      if (control->Text() != step.text) {
        FailStep(step, "control " + std::to_string(step.id) + " reads \"" +
                           TranscriptText(control->Text()) + "\"");
      }
      return;
    }
    case Kind::InDialog:
      if (step.inDialog) step.inDialog(dialog);
      return;
    case Kind::Answer:
    case Kind::ExpectDialog:
    case Kind::ChooseFile:
    case Kind::CancelFile:
    case Kind::Run:
      FailStep(step, "does not fit: " + where + " waits for an action");
      return;
  }
}

}  // namespace pelko::ui::headless
