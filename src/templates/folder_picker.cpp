// Template 131: the folder picker.
#include "res/texts_dialogs.h"
#include "templates/templates.h"

namespace pelko::templates {
namespace {

using ui::ControlKind;
namespace s = ui::style;
namespace ws = ui::window_style;

constexpr ui::ControlTemplate kControls[] = {
    {ui::kNoControlId, ControlKind::Static, res::kDriveLabel, {97, 7, 27, 14}, s::CenterVertical},
    {1006,
     ControlKind::ComboBox,
     "",
     {125, 7, 55, 113},
     s::DropDown | s::Sorted | s::VScroll | s::TabStop},
    {1008,
     ControlKind::Edit,
     "",
     {7, 30, 173, 14},
     s::ReadOnly | s::AutoHScroll | s::Border | s::TabStop},
    {1007,
     ControlKind::ListBox,
     "",
     {7, 49, 173, 144},
     s::Sorted | s::Notify | s::NoIntegralHeight | s::VScroll | s::Border | s::TabStop},
    {ui::IDOK,
     ControlKind::PushButton,
     res::kOkButton,
     {22, 198, 50, 14},
     s::DefaultButton | s::TabStop},
    {ui::IDCANCEL, ControlKind::PushButton, res::kCancelButton, {103, 198, 50, 14}, s::TabStop},
};

constexpr ui::DialogTemplate kTemplate{
    IDD_FOLDER_PICKER, res::kDialogCaption,
    {0, 0, 187, 219},  ws::Caption | ws::SystemMenu | ws::ModalFrame,
    res::kDialogFont,  res::kDialogFontPoints,
    kControls,
};

}  // namespace

const ui::DialogTemplate& FolderPickerTemplate() { return kTemplate; }

}  // namespace pelko::templates
