#include "ui/data_exchange.h"

#include <charconv>
#include <limits>

#include "res/texts_dialogs.h"
#include "ui/dialog.h"
#include "ui/message_text.h"

namespace pelko::ui {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A signed decimal integer of the int range, with blanks around it allowed.
bool ParseInteger(std::string_view text, int& value) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.size() > 1 && text.front() == '+' && text[1] >= '0' && text[1] <= '9')
    text.remove_prefix(1);
  if (text.empty()) return false;
  int parsed = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

}  // namespace

void DataExchange::Fail(int controlId, const std::string& message) {
  failed_ = true;
  dialog_.MessageBox(message, win::MessageBoxButtons::Ok, win::MessageBoxIcon::Warning);
  dialog_.GotoDlgCtrl(controlId);
}

void DataExchange::Control(int controlId) {
  if (failed_) return;
  lastControl_ = controlId;
}

void DataExchange::Text(int controlId, std::string& value) {
  if (failed_) return;
  lastControl_ = controlId;
  if (saving_) {
    value = dialog_.GetDlgItemText(controlId);
  } else {
    dialog_.SetDlgItemText(controlId, value);
  }
}

void DataExchange::Int(int controlId, int& value) {
  if (failed_) return;
  lastControl_ = controlId;
  if (!saving_) {
    dialog_.SetDlgItemText(controlId, std::to_string(value));
    return;
  }
  int parsed = 0;
  if (!ParseInteger(dialog_.GetDlgItemText(controlId), parsed)) {
    Fail(controlId, FillMessage(res::kEnterInteger, {}));
    return;
  }
  value = parsed;
}

void DataExchange::Check(int controlId, int& value) {
  if (failed_) return;
  lastControl_ = controlId;
  if (saving_) {
    value = dialog_.IsDlgButtonChecked(controlId);
  } else {
    dialog_.CheckDlgButton(controlId, value);
  }
}

void DataExchange::Radio(int firstId, int& value) {
  if (failed_) return;
  lastControl_ = firstId;
  const DialogTemplate& dialogTemplate = dialog_.Template();
  const ControlTemplate* first = dialogTemplate.Find(firstId);
  if (!first) return;
  // The group: the radio buttons from firstId up to the next group start.
  std::size_t start = static_cast<std::size_t>(first - dialogTemplate.controls.data());
  int position = 0;
  if (saving_) value = -1;
  for (std::size_t i = start; i < dialogTemplate.controls.size(); ++i, ++position) {
    const ControlTemplate& control = dialogTemplate.controls[i];
    if (control.kind != ControlKind::RadioButton || (i != start && control.Has(style::Group)))
      break;
    if (saving_) {
      if (dialog_.IsDlgButtonChecked(control.id) && value < 0) value = position;
    } else {
      dialog_.CheckDlgButton(control.id, position == value ? 1 : 0);
    }
  }
}

void DataExchange::MinMaxInt(int value, int min, int max) {
  if (failed_ || !saving_) return;
  if (value < min || value > max) {
    Fail(lastControl_,
         FillMessage(res::kEnterIntegerInRange, {std::to_string(min), std::to_string(max)}));
  }
}

}  // namespace pelko::ui
