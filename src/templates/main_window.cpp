// Template 102: the main window.
#include "res/texts_dialogs.h"
#include "res/texts_main.h"
#include "templates/templates.h"

namespace pelko::templates {
namespace {

using ui::ControlKind;
namespace s = ui::style;
namespace ws = ui::window_style;

constexpr ui::ControlTemplate kControls[] = {
    {1004, ControlKind::PushButton, res::kUpdateInfoButton, {14, 84, 50, 14}, s::TabStop},
    {1001, ControlKind::PushButton, res::kCompressButton, {7, 7, 50, 29}, s::TabStop},
    {1002, ControlKind::PushButton, res::kExpandButton, {71, 7, 50, 29}, s::TabStop},
    {1000,
     ControlKind::PushButton,
     res::kAssociateButton,
     {50, 46, 58, 29},
     s::TabStop | s::MultiLine | s::CenterHorizontal | s::CenterVertical},
    {1007,
     ControlKind::PushButton,
     res::kVolumeLabelButton,
     {117, 46, 60, 29},
     s::TabStop | s::MultiLine},
    {ui::IDCANCEL, ControlKind::PushButton, res::kQuitButton, {134, 13, 34, 18}, s::TabStop},
    {1003, ControlKind::Static, "", {7, 105, 169, 43}, s::Sunken | s::NoWordWrap | s::Group},
    {1009, ControlKind::PushButton, res::kOptionsButton, {69, 84, 50, 14}, s::TabStop},
};

constexpr ui::DialogTemplate kTemplate{
    IDD_MAIN,         res::kMainWindowCaption,
    {0, 0, 183, 155}, ws::Caption | ws::SystemMenu | ws::ModalFrame | ws::Visible | ws::AppWindow,
    res::kDialogFont, res::kDialogFontPoints,
    kControls,
};

}  // namespace

const ui::DialogTemplate& MainWindowTemplate() { return kTemplate; }

}  // namespace pelko::templates
