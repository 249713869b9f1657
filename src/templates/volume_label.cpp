// Template 130: the volume label prompt.
#include "res/texts_dialogs.h"
#include "templates/templates.h"

namespace pelko::templates {
namespace {

using ui::ControlKind;
namespace s = ui::style;
namespace ws = ui::window_style;

constexpr ui::ControlTemplate kControls[] = {
    {ui::IDOK,
     ControlKind::PushButton,
     res::kOkButton,
     {74, 27, 50, 14},
     s::DefaultButton | s::TabStop},
    {ui::IDCANCEL, ControlKind::PushButton, res::kCancelButton, {130, 27, 50, 14}, s::TabStop},
    {1003, ControlKind::Static, "", {7, 45, 173, 43}, s::Sunken | s::Group},
    {1006, ControlKind::Edit, "", {7, 7, 173, 14}, s::Border | s::AutoHScroll | s::TabStop},
};

constexpr ui::DialogTemplate kTemplate{
    IDD_VOLUME_LABEL, res::kDialogCaption,
    {0, 0, 187, 95},  ws::Caption | ws::SystemMenu | ws::ModalFrame,
    res::kDialogFont, res::kDialogFontPoints,
    kControls,
};

}  // namespace

const ui::DialogTemplate& VolumeLabelTemplate() { return kTemplate; }

}  // namespace pelko::templates
