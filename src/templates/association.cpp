// Template 129: the association editor.
#include "res/texts_dialogs.h"
#include "templates/templates.h"

namespace pelko::templates {
namespace {

using ui::ControlKind;
namespace s = ui::style;
namespace ws = ui::window_style;

constexpr ui::ControlTemplate kControls[] = {
    {1003,
     ControlKind::ListBox,
     "",
     {7, 7, 181, 93},
     s::Sorted | s::MultipleSelection | s::Notify | s::NoIntegralHeight | s::VScroll | s::Border |
         s::TabStop},
    {1002, ControlKind::PushButton, res::kAddFileButton, {192, 7, 48, 14}, s::TabStop},
    {1005, ControlKind::PushButton, res::kAddFolderButton, {192, 27, 48, 14}, s::TabStop},
    {1004, ControlKind::PushButton, res::kDeleteButton, {192, 47, 48, 14}, s::TabStop},
    {ui::IDOK,
     ControlKind::PushButton,
     res::kOkButton,
     {99, 106, 50, 14},
     s::DefaultButton | s::TabStop},
    {ui::IDCANCEL, ControlKind::PushButton, res::kCancelButton, {190, 106, 50, 14}, s::TabStop},
    {ui::kNoControlId, ControlKind::Static, res::kAssociationHint, {7, 124, 233, 42}, s::Sunken},
};

constexpr ui::DialogTemplate kTemplate{
    IDD_ASSOCIATION,  res::kDialogCaption,
    {0, 0, 247, 173}, ws::Caption | ws::SystemMenu | ws::ModalFrame,
    res::kDialogFont, res::kDialogFontPoints,
    kControls,
};

}  // namespace

const ui::DialogTemplate& AssociationTemplate() { return kTemplate; }

}  // namespace pelko::templates
