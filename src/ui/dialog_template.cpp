#include "ui/dialog_template.h"

#include "text/code_page.h"

namespace pelko::ui {

const ControlTemplate* DialogTemplate::Find(int controlId) const {
  if (controlId == kNoControlId) return nullptr;
  for (const ControlTemplate& control : controls) {
    if (control.id == controlId) return &control;
  }
  return nullptr;
}

int DialogTemplate::FirstTabStop() const {
  for (const ControlTemplate& control : controls) {
    if (control.Has(style::TabStop) && !control.Has(style::Disabled)) return control.id;
  }
  return kNoControlId;
}

std::string CaptionText(const ControlTemplate& control) {
  return cp932::FromUtf8Literal(control.caption);
}

std::string CaptionText(const DialogTemplate& dialog) {
  return cp932::FromUtf8Literal(dialog.caption);
}

std::string ItemText(std::string_view item) { return cp932::FromUtf8Literal(item); }

}  // namespace pelko::ui
