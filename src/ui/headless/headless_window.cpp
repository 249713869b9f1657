#include "ui/headless/headless_window.h"

namespace pelko::ui::headless {

HeadlessControl::HeadlessControl(const ControlTemplate& controlTemplate)
    : template_(controlTemplate),
      text_(CaptionText(controlTemplate)),
      enabled_(!controlTemplate.Has(style::Disabled)) {
  for (std::string_view item : controlTemplate.items) items_.push_back({ui::ItemText(item), false});
}

void HeadlessControl::SetText(std::string_view text) {
  textSelected_ = false;
  if (text_ == text) return;
  text_ = text;
  if (onTextChanged) onTextChanged(*this);
}

void HeadlessControl::SelectAllText() {
  textSelected_ = template_.kind == ControlKind::Edit || template_.kind == ControlKind::ComboBox;
}

CheckPeer* HeadlessControl::AsCheck() {
  bool checkable =
      template_.kind == ControlKind::CheckBox || template_.kind == ControlKind::RadioButton;
  return checkable ? this : nullptr;
}

ListPeer* HeadlessControl::AsList() {
  bool list = template_.kind == ControlKind::ListBox || template_.kind == ControlKind::ComboBox;
  return list ? this : nullptr;
}

std::string HeadlessControl::ItemText(int index) const {
  if (index < 0 || index >= Count()) return {};
  return items_[static_cast<std::size_t>(index)].text;
}

void HeadlessControl::InsertItem(int index, std::string_view text) {
  if (index < 0 || index > Count()) index = Count();
  items_.insert(items_.begin() + index, Item{std::string(text), false});
}

void HeadlessControl::DeleteItem(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

void HeadlessControl::Clear() { items_.clear(); }

bool HeadlessControl::IsSelected(int index) const {
  if (index < 0 || index >= Count()) return false;
  return items_[static_cast<std::size_t>(index)].selected;
}

void HeadlessControl::SetSelected(int index, bool selected) {
  if (index < 0 || index >= Count()) return;
  items_[static_cast<std::size_t>(index)].selected = selected;
}

int HeadlessControl::CurrentSelection() const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[static_cast<std::size_t>(i)].selected) return i;
  }
  return -1;
}

void HeadlessControl::SetCurrentSelection(int index) {
  for (int i = 0; i < Count(); ++i) items_[static_cast<std::size_t>(i)].selected = (i == index);
}

HeadlessWindow::HeadlessWindow(const DialogTemplate& dialogTemplate)
    : template_(dialogTemplate), caption_(CaptionText(dialogTemplate)) {
  for (const ControlTemplate& control : dialogTemplate.controls) {
    controls_.push_back(std::make_unique<HeadlessControl>(control));
  }
}

HeadlessControl* HeadlessWindow::Find(int controlId) {
  if (controlId == kNoControlId) return nullptr;
  for (const auto& control : controls_) {
    if (control->Template().id == controlId) return control.get();
  }
  return nullptr;
}

void HeadlessWindow::EndModal(int) { ended_ = true; }

}  // namespace pelko::ui::headless
