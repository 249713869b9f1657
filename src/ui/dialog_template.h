// A dialog template as plain data: the window and its controls, each with its
// identifier, kind, caption, rectangle in dialog units and style. Hosts build
// their windows from it; the dialog classes reach the controls by identifier.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelko::ui {

// Standard command identifiers of dialog buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
// Static texts that no code addresses carry no identifier.
inline constexpr int kNoControlId = -1;

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  constexpr bool operator==(const Rect&) const = default;
};

enum class ControlKind {
  PushButton,   // with style::DefaultButton it is the default push button
  CheckBox,     // automatic: a click toggles it
  RadioButton,  // automatic: a click checks it and clears the others of its group
  GroupBox,
  Static,
  Edit,
  ListBox,
  ComboBox,
};

// Style bits of a control, named after what they do.
namespace style {
inline constexpr std::uint32_t TabStop = 1u << 0;
inline constexpr std::uint32_t Group = 1u << 1;  // starts a group
inline constexpr std::uint32_t DefaultButton = 1u << 2;
inline constexpr std::uint32_t MultiLine = 1u << 3;  // button caption or edit text
inline constexpr std::uint32_t CenterHorizontal = 1u << 4;
inline constexpr std::uint32_t CenterVertical = 1u << 5;
inline constexpr std::uint32_t Sunken = 1u << 6;      // sunken edge
inline constexpr std::uint32_t NoWordWrap = 1u << 7;  // static text, left-aligned
inline constexpr std::uint32_t RightAligned = 1u << 8;
inline constexpr std::uint32_t Border = 1u << 9;
inline constexpr std::uint32_t ReadOnly = 1u << 10;
inline constexpr std::uint32_t AutoHScroll = 1u << 11;
inline constexpr std::uint32_t AutoVScroll = 1u << 12;
inline constexpr std::uint32_t VScroll = 1u << 13;
inline constexpr std::uint32_t HScroll = 1u << 14;
inline constexpr std::uint32_t WantReturn = 1u << 15;  // Enter is a line break
inline constexpr std::uint32_t Sorted = 1u << 16;
inline constexpr std::uint32_t MultipleSelection = 1u << 17;  // each click toggles one entry
inline constexpr std::uint32_t Notify = 1u << 18;             // selection and double-click
inline constexpr std::uint32_t NoIntegralHeight = 1u << 19;
inline constexpr std::uint32_t DropDown = 1u << 20;  // combo with an edit field
inline constexpr std::uint32_t Disabled = 1u << 21;
}  // namespace style

// Style bits of the dialog window.
namespace window_style {
inline constexpr std::uint32_t Caption = 1u << 0;
inline constexpr std::uint32_t SystemMenu = 1u << 1;
inline constexpr std::uint32_t ModalFrame = 1u << 2;
inline constexpr std::uint32_t Visible = 1u << 3;
inline constexpr std::uint32_t AppWindow = 1u << 4;  // has a taskbar button
inline constexpr std::uint32_t MinimizeBox = 1u << 5;
inline constexpr std::uint32_t MaximizeBox = 1u << 6;
inline constexpr std::uint32_t Resizable = 1u << 7;
}  // namespace window_style

// Texts in a template are UTF-8 source text; CaptionText hands them out as
// CP932 like every other string of the tool.
struct ControlTemplate {
  int id = kNoControlId;
  ControlKind kind = ControlKind::Static;
  std::string_view caption;
  Rect rect;
  std::uint32_t style = 0;
  std::span<const std::string_view> items = {};  // a combo box's own items

  constexpr bool Has(std::uint32_t bits) const { return (style & bits) == bits; }
};

struct DialogTemplate {
  int id = 0;
  std::string_view caption;
  Rect rect;
  std::uint32_t windowStyle = 0;
  std::string_view fontName;
  int fontPoints = 0;
  std::span<const ControlTemplate> controls;

  // The control with that identifier; null when there is none (or for kNoControlId).
  const ControlTemplate* Find(int controlId) const;
  // The first control in template order that is a tab stop; kNoControlId if none.
  int FirstTabStop() const;
};

std::string CaptionText(const ControlTemplate& control);
std::string CaptionText(const DialogTemplate& dialog);
std::string ItemText(std::string_view item);

}  // namespace pelko::ui
