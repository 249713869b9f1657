// Template 132: the options dialog.
#include "res/texts_dialogs.h"
#include "templates/templates.h"

namespace pelko::templates {
namespace {

using ui::ControlKind;
namespace s = ui::style;
namespace ws = ui::window_style;

constexpr std::string_view kArchiveFormats[] = {
    res::kArchiveFormatLha213,
    res::kArchiveFormatLharc113,
    res::kArchiveFormatLhaExe26,
};

constexpr std::uint32_t kEdit = s::Border | s::AutoHScroll | s::TabStop;
constexpr std::uint32_t kExclusionList =
    s::Sorted | s::MultipleSelection | s::Notify | s::VScroll | s::Border | s::TabStop;

constexpr ui::ControlTemplate kControls[] = {
    {ui::IDOK,
     ControlKind::PushButton,
     res::kOkButton,
     {26, 192, 50, 14},
     s::DefaultButton | s::TabStop},
    {ui::IDCANCEL, ControlKind::PushButton, res::kCancelButton, {109, 192, 50, 14}, s::TabStop},
    {1010,
     ControlKind::RadioButton,
     res::kAlwaysOverwrite,
     {19, 28, 49, 10},
     s::Group | s::TabStop},
    {1011, ControlKind::RadioButton, res::kConfirm, {19, 42, 42, 10}, 0},
    {1012, ControlKind::RadioButton, res::kNeverOverwrite, {19, 55, 53, 10}, 0},
    {ui::kNoControlId, ControlKind::GroupBox, res::kOverwriteGroup, {14, 19, 70, 55}, 0},
    {1008, ControlKind::Edit, "", {38, 93, 149, 14}, kEdit},
    {1014, ControlKind::RadioButton, res::kAlwaysCreate, {107, 31, 43, 10}, s::Group | s::TabStop},
    {1015, ControlKind::RadioButton, res::kConfirm, {107, 43, 42, 10}, 0},
    {1016, ControlKind::RadioButton, res::kNeverCreate, {107, 55, 47, 10}, 0},
    {ui::kNoControlId, ControlKind::GroupBox, res::kDirectoryGroup, {101, 19, 71, 55}, 0},
    {1018, ControlKind::CheckBox, res::kExtractUnassociated, {13, 81, 136, 10}, s::TabStop},
    {ui::kNoControlId, ControlKind::Static, res::kExtractTo, {13, 97, 25, 8}, s::RightAligned},
    {1019, ControlKind::PushButton, res::kBrowseButton, {151, 79, 28, 14}, s::TabStop},
    {ui::kNoControlId, ControlKind::Static, res::kWhenExpanding, {7, 7, 22, 8}, 0},
    {ui::kNoControlId, ControlKind::Static, res::kWhenCompressing, {196, 7, 22, 8}, 0},
    {ui::kNoControlId, ControlKind::Static, res::kArchiveFormat, {203, 18, 28, 8}, 0},
    {1020,
     ControlKind::ComboBox,
     "",
     {234, 14, 68, 96},
     s::DropDown | s::VScroll | s::TabStop,
     kArchiveFormats},
    {1021, ControlKind::CheckBox, res::kIgnoreBrokenHeaders, {13, 115, 67, 10}, s::TabStop},
    {1022, ControlKind::CheckBox, res::kExcludeNames, {196, 38, 160, 10}, s::TabStop},
    {1026, ControlKind::ListBox, "", {208, 80, 67, 40}, kExclusionList},
    {1023, ControlKind::Edit, "", {208, 64, 66, 14}, kEdit},
    {1002, ControlKind::PushButton, res::kAddButton, {277, 65, 23, 14}, s::TabStop},
    {1004, ControlKind::PushButton, res::kDeleteButton, {277, 82, 23, 14}, s::TabStop},
    {ui::kNoControlId, ControlKind::Static, res::kWildcardHint, {308, 69, 66, 51}, s::Sunken},
    {1027, ControlKind::ListBox, "", {206, 150, 67, 40}, kExclusionList},
    {1024, ControlKind::Edit, "", {206, 134, 66, 14}, kEdit},
    {1003, ControlKind::PushButton, res::kAddButton, {276, 134, 23, 14}, s::TabStop},
    {1005, ControlKind::PushButton, res::kDeleteButton, {276, 150, 23, 14}, s::TabStop},
    {ui::kNoControlId, ControlKind::Static, res::kFilesLabel, {208, 53, 24, 8}, 0},
    {ui::kNoControlId, ControlKind::Static, res::kFoldersLabel, {207, 124, 26, 8}, 0},
    {ui::kNoControlId, ControlKind::Static, res::kSearchDepth, {305, 137, 28, 8}, 0},
    {1028, ControlKind::Edit, "", {314, 149, 40, 14}, kEdit},
    {1029, ControlKind::CheckBox, res::kKeepNewer, {13, 131, 88, 10}, s::TabStop},
};

constexpr ui::DialogTemplate kTemplate{
    IDD_OPTIONS,      res::kDialogCaption,
    {0, 0, 381, 213}, ws::Caption | ws::SystemMenu | ws::ModalFrame,
    res::kDialogFont, res::kDialogFontPoints,
    kControls,
};

}  // namespace

const ui::DialogTemplate& OptionsTemplate() { return kTemplate; }

}  // namespace pelko::templates
