// The six templates against the tool's tables, row by row: identifier, kind,
// caption, rectangle, style and order.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "templates/templates.h"

namespace pelko::ui {
namespace {

struct Row {
  int id;
  const char* kind;
  const char* caption;
  Rect rect;
  const char* styles;  // names of the style bits, blank-separated
};

struct Expected {
  int id;
  const char* caption;
  Rect rect;
  const char* windowStyles;
  std::vector<Row> rows;
};

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton:
      return "button";
    case ControlKind::CheckBox:
      return "check";
    case ControlKind::RadioButton:
      return "radio";
    case ControlKind::GroupBox:
      return "group";
    case ControlKind::Static:
      return "static";
    case ControlKind::Edit:
      return "edit";
    case ControlKind::ListBox:
      return "list";
    case ControlKind::ComboBox:
      return "combo";
  }
  return "?";
}

std::uint32_t StyleBits(const std::string& names) {
  static const std::pair<const char*, std::uint32_t> kNames[] = {
      {"tab", style::TabStop},
      {"group", style::Group},
      {"default", style::DefaultButton},
      {"multiline", style::MultiLine},
      {"hcenter", style::CenterHorizontal},
      {"vcenter", style::CenterVertical},
      {"sunken", style::Sunken},
      {"nowrap", style::NoWordWrap},
      {"right", style::RightAligned},
      {"border", style::Border},
      {"readonly", style::ReadOnly},
      {"autohscroll", style::AutoHScroll},
      {"vscroll", style::VScroll},
      {"wantreturn", style::WantReturn},
      {"sorted", style::Sorted},
      {"multisel", style::MultipleSelection},
      {"notify", style::Notify},
      {"nointegral", style::NoIntegralHeight},
      {"dropdown", style::DropDown},
  };
  std::uint32_t bits = 0;
  std::istringstream words(names);
  for (std::string word; words >> word;) {
    bool known = false;
    for (const auto& [name, bit] : kNames) {
      if (word == name) {
        bits |= bit;
        known = true;
      }
    }
    EXPECT_TRUE(known) << word;
  }
  return bits;
}

std::uint32_t WindowBits(const std::string& names) {
  std::uint32_t bits = 0;
  std::istringstream words(names);
  for (std::string word; words >> word;) {
    if (word == "caption")
      bits |= window_style::Caption;
    else if (word == "sysmenu")
      bits |= window_style::SystemMenu;
    else if (word == "modalframe")
      bits |= window_style::ModalFrame;
    else if (word == "visible")
      bits |= window_style::Visible;
    else if (word == "appwindow")
      bits |= window_style::AppWindow;
    else
      ADD_FAILURE() << word;
  }
  return bits;
}

constexpr int N = kNoControlId;

const std::vector<Expected>& Tables() {
  static const std::vector<Expected> kTables = {
      {102,
       "PELKO",
       {0, 0, 183, 155},
       "caption sysmenu modalframe visible appwindow",
       {
           {1004, "button", "情報更新", {14, 84, 50, 14}, "tab"},
           {1001, "button", "圧縮", {7, 7, 50, 29}, "tab"},
           {1002, "button", "展開", {71, 7, 50, 29}, "tab"},
           {1000,
            "button",
            "ファイルとＦＤ\nを関連づける",
            {50, 46, 58, 29},
            "tab multiline hcenter vcenter"},
           {1007, "button", "ボリュームラベル\nの設定", {117, 46, 60, 29}, "tab multiline"},
           {2, "button", "終了", {134, 13, 34, 18}, "tab"},
           {1003, "static", "", {7, 105, 169, 43}, "sunken nowrap group"},
           {1009, "button", "オプション", {69, 84, 50, 14}, "tab"},
       }},
      {129,
       "ﾀﾞｲｱﾛｸﾞ",
       {0, 0, 247, 173},
       "caption sysmenu modalframe",
       {
           {1003,
            "list",
            "",
            {7, 7, 181, 93},
            "sorted multisel notify nointegral vscroll border tab"},
           {1002, "button", "ファイルを追加", {192, 7, 48, 14}, "tab"},
           {1005, "button", "フォルダを追加", {192, 27, 48, 14}, "tab"},
           {1004, "button", "削除", {192, 47, 48, 14}, "tab"},
           {1, "button", "OK", {99, 106, 50, 14}, "default tab"},
           {2, "button", "ｷｬﾝｾﾙ", {190, 106, 50, 14}, "tab"},
           {N,
            "static",
            "現在のフロッピーディスクに関連づけをするファイルまたはフォルダを指定してください。",
            {7, 124, 233, 42},
            "sunken"},
       }},
      {130,
       "ﾀﾞｲｱﾛｸﾞ",
       {0, 0, 187, 95},
       "caption sysmenu modalframe",
       {
           {1, "button", "OK", {74, 27, 50, 14}, "default tab"},
           {2, "button", "ｷｬﾝｾﾙ", {130, 27, 50, 14}, "tab"},
           {1003, "static", "", {7, 45, 173, 43}, "sunken group"},
           {1006, "edit", "", {7, 7, 173, 14}, "border autohscroll tab"},
       }},
      {131,
       "ﾀﾞｲｱﾛｸﾞ",
       {0, 0, 187, 219},
       "caption sysmenu modalframe",
       {
           {N, "static", "ドライブ：", {97, 7, 27, 14}, "vcenter"},
           {1006, "combo", "", {125, 7, 55, 113}, "dropdown sorted vscroll tab"},
           {1008, "edit", "", {7, 30, 173, 14}, "readonly autohscroll border tab"},
           {1007, "list", "", {7, 49, 173, 144}, "sorted notify nointegral vscroll border tab"},
           {1, "button", "OK", {22, 198, 50, 14}, "default tab"},
           {2, "button", "ｷｬﾝｾﾙ", {103, 198, 50, 14}, "tab"},
       }},
      {132,
       "ﾀﾞｲｱﾛｸﾞ",
       {0, 0, 381, 213},
       "caption sysmenu modalframe",
       {
           {1, "button", "OK", {26, 192, 50, 14}, "default tab"},
           {2, "button", "ｷｬﾝｾﾙ", {109, 192, 50, 14}, "tab"},
           {1010, "radio", "常に上書き", {19, 28, 49, 10}, "group tab"},
           {1011, "radio", "確認する", {19, 42, 42, 10}, ""},
           {1012, "radio", "上書きしない", {19, 55, 53, 10}, ""},
           {N, "group", "ファイルの上書き", {14, 19, 70, 55}, ""},
           {1008, "edit", "", {38, 93, 149, 14}, "border autohscroll tab"},
           {1014, "radio", "常に作成", {107, 31, 43, 10}, "group tab"},
           {1015, "radio", "確認する", {107, 43, 42, 10}, ""},
           {1016, "radio", "作成しない", {107, 55, 47, 10}, ""},
           {N, "group", "ディレクトリの作成", {101, 19, 71, 55}, ""},
           {1018, "check", "関連ずけられていないファイルを解凍する", {13, 81, 136, 10}, "tab"},
           {N, "static", "解凍先：", {13, 97, 25, 8}, "right"},
           {1019, "button", "参照", {151, 79, 28, 14}, "tab"},
           {N, "static", "展開時", {7, 7, 22, 8}, ""},
           {N, "static", "圧縮時", {196, 7, 22, 8}, ""},
           {N, "static", "書庫形式", {203, 18, 28, 8}, ""},
           {1020, "combo", "", {234, 14, 68, 96}, "dropdown vscroll tab"},
           {1021, "check", "破損ヘッダを無視", {13, 115, 67, 10}, "tab"},
           {1022,
            "check",
            "以下のファイル名、フォルダ名、拡張子を除外する",
            {196, 38, 160, 10},
            "tab"},
           {1026, "list", "", {208, 80, 67, 40}, "sorted multisel notify vscroll border tab"},
           {1023, "edit", "", {208, 64, 66, 14}, "border autohscroll tab"},
           {1002, "button", "追加", {277, 65, 23, 14}, "tab"},
           {1004, "button", "削除", {277, 82, 23, 14}, "tab"},
           {N,
            "static",
            "一般のワイルドカードを指定できます。\n\n例） FileName.*\n      *.txt\n      "
            "FolderName\\",
            {308, 69, 66, 51},
            "sunken"},
           {1027, "list", "", {206, 150, 67, 40}, "sorted multisel notify vscroll border tab"},
           {1024, "edit", "", {206, 134, 66, 14}, "border autohscroll tab"},
           {1003, "button", "追加", {276, 134, 23, 14}, "tab"},
           {1005, "button", "削除", {276, 150, 23, 14}, "tab"},
           {N, "static", "ファイル", {208, 53, 24, 8}, ""},
           {N, "static", "フォルダ", {207, 124, 26, 8}, ""},
           {N, "static", "検索深度", {305, 137, 28, 8}, ""},
           {1028, "edit", "", {314, 149, 40, 14}, "border autohscroll tab"},
           {1029, "check", "より新しいファイルを残す", {13, 131, 88, 10}, "tab"},
       }},
      {134,
       "関連づけられていないファイルの解凍",
       {0, 0, 227, 223},
       "caption sysmenu modalframe",
       {
           {1030,
            "edit",
            "",
            {7, 7, 213, 191},
            "multiline readonly vscroll autohscroll wantreturn border tab"},
           {1, "button", "OK", {170, 202, 50, 14}, "default tab"},
       }},
  };
  return kTables;
}

class TemplateTable : public ::testing::TestWithParam<std::size_t> {};

TEST_P(TemplateTable, MatchesTheToolsTableRowByRow) {
  const Expected& expected = Tables()[GetParam()];
  const DialogTemplate* found = templates::FindTemplate(expected.id);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->caption, expected.caption);
  EXPECT_EQ(found->rect, expected.rect);
  EXPECT_EQ(found->windowStyle, WindowBits(expected.windowStyles));
  EXPECT_EQ(found->fontName, "ＭＳ Ｐゴシック");
  EXPECT_EQ(found->fontPoints, 9);
  ASSERT_EQ(found->controls.size(), expected.rows.size());
  for (std::size_t i = 0; i < expected.rows.size(); ++i) {
    const Row& row = expected.rows[i];
    const ControlTemplate& control = found->controls[i];
    SCOPED_TRACE("template " + std::to_string(expected.id) + " row " + std::to_string(i));
    EXPECT_EQ(control.id, row.id);
    EXPECT_STREQ(KindName(control.kind), row.kind);
    EXPECT_EQ(control.caption, row.caption);
    EXPECT_EQ(control.rect, row.rect);
    EXPECT_EQ(control.style, StyleBits(row.styles));
  }
}

INSTANTIATE_TEST_SUITE_P(SixTemplates, TemplateTable, ::testing::Range<std::size_t>(0, 6));

TEST(TemplateData, ArchiveFormatComboHoldsItsThreeItemsInOrder) {
  const ControlTemplate* combo = templates::OptionsTemplate().Find(1020);
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->items.size(), 3u);
  EXPECT_EQ(combo->items[0], "LHA v2.13 互換");
  EXPECT_EQ(combo->items[1], "LHarc v1.13 互換");
  EXPECT_EQ(combo->items[2], "LHA.EXE Ver 2.6x");
}

TEST(TemplateData, MainWindowHasNoDefaultButtonAndFocusesRefreshFirst) {
  for (const ControlTemplate& control : templates::MainWindowTemplate().controls) {
    EXPECT_FALSE(control.Has(style::DefaultButton)) << control.id;
  }
  EXPECT_EQ(templates::MainWindowTemplate().FirstTabStop(), 1004);
  EXPECT_EQ(templates::VolumeLabelTemplate().FirstTabStop(), IDOK);
}

TEST(TemplateData, CaptionsAreHandedOutAsShiftJis) {
  // 関 is 0x8A 0xD6 in CP932; the hint keeps its closing backslash.
  std::string caption = CaptionText(*templates::OptionsTemplate().Find(1018));
  EXPECT_EQ(caption.substr(0, 2), "\x8A\xD6");
  const ControlTemplate& hint = templates::OptionsTemplate().controls[24];
  EXPECT_EQ(CaptionText(hint).back(), '\\');
  EXPECT_EQ(templates::FindTemplate(133), nullptr);
}

}  // namespace
}  // namespace pelko::ui
