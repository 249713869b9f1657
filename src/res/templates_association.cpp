// Template 129: the association editor.
#include "res/templates.h"
#include "res/texts_dialogs.h"

namespace pelko::res {
namespace {

using ui::ControlKind;
namespace s = ui::style;
namespace ws = ui::window_style;

constexpr ui::ControlTemplate kControls[] = {
    {1003, ControlKind::ListBox, "", {7, 7, 181, 93},
     s::Sorted | s::MultipleSelection | s::Notify | s::NoIntegralHeight | s::VScroll | s::Border |
         s::TabStop},
    {1002, ControlKind::PushButton, kAddFileButton, {192, 7, 48, 14}, s::TabStop},
    {1005, ControlKind::PushButton, kAddFolderButton, {192, 27, 48, 14}, s::TabStop},
    {1004, ControlKind::PushButton, kDeleteButton, {192, 47, 48, 14}, s::TabStop},
    {ui::IDOK, ControlKind::PushButton, kOkButton, {99, 106, 50, 14}, s::DefaultButton | s::TabStop},
    {ui::IDCANCEL, ControlKind::PushButton, kCancelButton, {190, 106, 50, 14}, s::TabStop},
    {ui::kNoControlId, ControlKind::Static, kAssociationHint, {7, 124, 233, 42}, s::Sunken},
};

constexpr ui::DialogTemplate kTemplate{
    IDD_ASSOCIATION,
    kDialogCaption,
    {0, 0, 247, 173},
    ws::Caption | ws::SystemMenu | ws::ModalFrame,
    kDialogFont,
    kDialogFontPoints,
    kControls,
};

}  // namespace

const ui::DialogTemplate& AssociationTemplate() { return kTemplate; }

}  // namespace pelko::res
