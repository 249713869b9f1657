// Template 132: the options dialog.
#include "res/templates.h"
#include "res/texts_dialogs.h"

namespace pelko::res {
namespace {

using ui::ControlKind;
namespace s = ui::style;
namespace ws = ui::window_style;

constexpr std::string_view kArchiveFormats[] = {
    kArchiveFormatLha213,
    kArchiveFormatLharc113,
    kArchiveFormatLhaExe26,
};

constexpr std::uint32_t kEdit = s::Border | s::AutoHScroll | s::TabStop;
constexpr std::uint32_t kExclusionList =
    s::Sorted | s::MultipleSelection | s::Notify | s::VScroll | s::Border | s::TabStop;

constexpr ui::ControlTemplate kControls[] = {
    {ui::IDOK, ControlKind::PushButton, kOkButton, {26, 192, 50, 14}, s::DefaultButton | s::TabStop},
    {ui::IDCANCEL, ControlKind::PushButton, kCancelButton, {109, 192, 50, 14}, s::TabStop},
    {1010, ControlKind::RadioButton, kAlwaysOverwrite, {19, 28, 49, 10}, s::Group | s::TabStop},
    {1011, ControlKind::RadioButton, kConfirm, {19, 42, 42, 10}, 0},
    {1012, ControlKind::RadioButton, kNeverOverwrite, {19, 55, 53, 10}, 0},
    {ui::kNoControlId, ControlKind::GroupBox, kOverwriteGroup, {14, 19, 70, 55}, 0},
    {1008, ControlKind::Edit, "", {38, 93, 149, 14}, kEdit},
    {1014, ControlKind::RadioButton, kAlwaysCreate, {107, 31, 43, 10}, s::Group | s::TabStop},
    {1015, ControlKind::RadioButton, kConfirm, {107, 43, 42, 10}, 0},
    {1016, ControlKind::RadioButton, kNeverCreate, {107, 55, 47, 10}, 0},
    {ui::kNoControlId, ControlKind::GroupBox, kDirectoryGroup, {101, 19, 71, 55}, 0},
    {1018, ControlKind::CheckBox, kExtractUnassociated, {13, 81, 136, 10}, s::TabStop},
    {ui::kNoControlId, ControlKind::Static, kExtractTo, {13, 97, 25, 8}, s::RightAligned},
    {1019, ControlKind::PushButton, kBrowseButton, {151, 79, 28, 14}, s::TabStop},
    {ui::kNoControlId, ControlKind::Static, kWhenExpanding, {7, 7, 22, 8}, 0},
    {ui::kNoControlId, ControlKind::Static, kWhenCompressing, {196, 7, 22, 8}, 0},
    {ui::kNoControlId, ControlKind::Static, kArchiveFormat, {203, 18, 28, 8}, 0},
    {1020, ControlKind::ComboBox, "", {234, 14, 68, 96}, s::DropDown | s::VScroll | s::TabStop,
     kArchiveFormats},
    {1021, ControlKind::CheckBox, kIgnoreBrokenHeaders, {13, 115, 67, 10}, s::TabStop},
    {1022, ControlKind::CheckBox, kExcludeNames, {196, 38, 160, 10}, s::TabStop},
    {1026, ControlKind::ListBox, "", {208, 80, 67, 40}, kExclusionList},
    {1023, ControlKind::Edit, "", {208, 64, 66, 14}, kEdit},
    {1002, ControlKind::PushButton, kAddButton, {277, 65, 23, 14}, s::TabStop},
    {1004, ControlKind::PushButton, kDeleteButton, {277, 82, 23, 14}, s::TabStop},
    {ui::kNoControlId, ControlKind::Static, kWildcardHint, {308, 69, 66, 51}, s::Sunken},
    {1027, ControlKind::ListBox, "", {206, 150, 67, 40}, kExclusionList},
    {1024, ControlKind::Edit, "", {206, 134, 66, 14}, kEdit},
    {1003, ControlKind::PushButton, kAddButton, {276, 134, 23, 14}, s::TabStop},
    {1005, ControlKind::PushButton, kDeleteButton, {276, 150, 23, 14}, s::TabStop},
    {ui::kNoControlId, ControlKind::Static, kFilesLabel, {208, 53, 24, 8}, 0},
    {ui::kNoControlId, ControlKind::Static, kFoldersLabel, {207, 124, 26, 8}, 0},
    {ui::kNoControlId, ControlKind::Static, kSearchDepth, {305, 137, 28, 8}, 0},
    {1028, ControlKind::Edit, "", {314, 149, 40, 14}, kEdit},
    {1029, ControlKind::CheckBox, kKeepNewer, {13, 131, 88, 10}, s::TabStop},
};

constexpr ui::DialogTemplate kTemplate{
    IDD_OPTIONS,
    kDialogCaption,
    {0, 0, 381, 213},
    ws::Caption | ws::SystemMenu | ws::ModalFrame,
    kDialogFont,
    kDialogFontPoints,
    kControls,
};

}  // namespace

const ui::DialogTemplate& OptionsTemplate() { return kTemplate; }

}  // namespace pelko::res
