// Template 130: the volume label prompt.
#include "res/templates.h"
#include "res/texts_dialogs.h"

namespace pelko::res {
namespace {

using ui::ControlKind;
namespace s = ui::style;
namespace ws = ui::window_style;

constexpr ui::ControlTemplate kControls[] = {
    {ui::IDOK, ControlKind::PushButton, kOkButton, {74, 27, 50, 14}, s::DefaultButton | s::TabStop},
    {ui::IDCANCEL, ControlKind::PushButton, kCancelButton, {130, 27, 50, 14}, s::TabStop},
    {1003, ControlKind::Static, "", {7, 45, 173, 43}, s::Sunken | s::Group},
    {1006, ControlKind::Edit, "", {7, 7, 173, 14}, s::Border | s::AutoHScroll | s::TabStop},
};

constexpr ui::DialogTemplate kTemplate{
    IDD_VOLUME_LABEL,
    kDialogCaption,
    {0, 0, 187, 95},
    ws::Caption | ws::SystemMenu | ws::ModalFrame,
    kDialogFont,
    kDialogFontPoints,
    kControls,
};

}  // namespace

const ui::DialogTemplate& VolumeLabelTemplate() { return kTemplate; }

}  // namespace pelko::res
