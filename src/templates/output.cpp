// Template 134: the report of the extraction of unassociated files.
#include "res/texts_dialogs.h"
#include "templates/templates.h"

namespace pelko::templates {
namespace {

using ui::ControlKind;
namespace s = ui::style;
namespace ws = ui::window_style;

constexpr ui::ControlTemplate kControls[] = {
    {1030,
     ControlKind::Edit,
     "",
     {7, 7, 213, 191},
     s::MultiLine | s::ReadOnly | s::VScroll | s::AutoHScroll | s::WantReturn | s::Border |
         s::TabStop},
    {ui::IDOK,
     ControlKind::PushButton,
     res::kOkButton,
     {170, 202, 50, 14},
     s::DefaultButton | s::TabStop},
};

constexpr ui::DialogTemplate kTemplate{
    IDD_OUTPUT,       res::kOutputCaption,
    {0, 0, 227, 223}, ws::Caption | ws::SystemMenu | ws::ModalFrame,
    res::kDialogFont, res::kDialogFontPoints,
    kControls,
};

}  // namespace

const ui::DialogTemplate& OutputTemplate() { return kTemplate; }

}  // namespace pelko::templates
