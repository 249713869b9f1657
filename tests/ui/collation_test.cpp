// The one collation of sorted lists, sorted insertion, and the selection query.
#include "ui/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "templates/templates.h"
#include "text/code_page.h"
#include "ui/dialog.h"
#include "ui/headless/headless_host.h"

namespace pelko::ui {
namespace {

using headless::HeadlessHost;
using headless::ScriptedUser;

std::string J(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

TEST(Collation, AsciiLettersCompareWithoutCaseAndTiesGoByTheBytes) {
  EXPECT_LT(CompareListItems("apple", "Banana"), 0);
  EXPECT_LT(CompareListItems("Apple", "banana"), 0);
  EXPECT_LT(CompareListItems("ABC", "abc"), 0);  // equal but for case: 'A' < 'a'
  EXPECT_GT(CompareListItems("abc", "ABC"), 0);
  EXPECT_EQ(CompareListItems("abc", "abc"), 0);
  EXPECT_LT(CompareListItems("ab", "abc"), 0);
  // Folding goes to lower case: '_' (0x5F) sorts before the letters.
  EXPECT_LT(CompareListItems("_x", "ax"), 0);
  EXPECT_LT(CompareListItems("_x", "Ax"), 0);
}

TEST(Collation, DoubleByteCharactersCompareByTheirBytesNeverFolded) {
  // ア is 0x83 0x41 and ツ 0x83 0x61: folding the trail byte 'A' would make
  // them equal and let the next character decide.
  std::string a = J("ア") + "b";
  std::string tsu = J("ツ") + "a";
  EXPECT_LT(CompareListItems(a, tsu), 0);
  // Plain byte order otherwise: ASCII, then 表 (lead 0x95), then ｱ (0xB1).
  EXPECT_LT(CompareListItems("z", J("表")), 0);
  EXPECT_LT(CompareListItems(J("表"), J("ｱ")), 0);
}

TEST(Collation, SortedListInsertsEachItemAtItsPlace) {
  ScriptedUser user;
  std::vector<std::string> shown;
  user.ExpectDialog(129)
      .InDialog([&](Dialog& dialog) {
        ListBox list = dialog.GetListBox(1003);
        for (const char* item : {"c:\\work", "C:\\Data", "c:\\data", "a:", "C:\\WORK"})
          list.AddString(item);
        list.AddString(J("c:\\表"));
        for (int i = 0; i < list.GetCount(); ++i) shown.push_back(list.GetText(i));
      })
      .Cancel();
  HeadlessHost host(user);
  Dialog dialog(templates::AssociationTemplate());
  dialog.DoModal();
  EXPECT_TRUE(user.Done()) << user.Report();
  std::vector<std::string> expected = {"a:",       "C:\\Data", "c:\\data",
                                       "C:\\WORK", "c:\\work", J("c:\\表")};
  EXPECT_EQ(shown, expected);
}

TEST(Collation, UnsortedComboKeepsItsOrderAndDuplicatesAreListedTwice) {
  ScriptedUser user;
  std::vector<std::string> combo, list;
  user.ExpectDialog(132)
      .InDialog([&](Dialog& dialog) {
        ComboBox formats = dialog.GetComboBox(1020);
        for (int i = 0; i < formats.GetCount(); ++i) combo.push_back(formats.GetLBText(i));
        ListBox files = dialog.GetListBox(1026);
        files.AddString("b");
        files.AddString("a");
        files.AddString("b");
        for (int i = 0; i < files.GetCount(); ++i) list.push_back(files.GetText(i));
      })
      .Cancel();
  HeadlessHost host(user);
  Dialog dialog(templates::OptionsTemplate());
  dialog.DoModal();
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(combo, (std::vector<std::string>{"LHA v2.13 " + J("互換"), "LHarc v1.13 " + J("互換"),
                                             "LHA.EXE Ver 2.6x"}));
  EXPECT_EQ(list, (std::vector<std::string>{"a", "b", "b"}));
}

TEST(Selection, TwentyLowestOfTwentyFiveSelectedPositionsAscending) {
  ScriptedUser user;
  std::vector<int> positions;
  std::vector<int> picked;
  for (int i = 0; i < 30; ++i) {
    if (i % 6 != 5) picked.push_back(i);  // 25 positions
  }
  user.ExpectDialog(129)
      .InDialog([](Dialog& dialog) {
        for (int i = 0; i < 30; ++i) {
          char item[8];
          std::snprintf(item, sizeof item, "e%02d", i);
          dialog.GetListBox(1003).AddString(item);
        }
      })
      .Select(1003, picked)
      .InDialog([&](Dialog& dialog) {
        ListBox list = dialog.GetListBox(1003);
        EXPECT_EQ(list.GetSelCount(), 25);
        positions = list.GetSelItems(20);
        // Deleting from the last to the first keeps the earlier positions valid.
        for (auto it = positions.rbegin(); it != positions.rend(); ++it) list.DeleteString(*it);
        EXPECT_EQ(list.GetCount(), 10);
        EXPECT_EQ(list.GetSelCount(), 5);
        // Left: 5 11 17 23 24 25 26 27 28 29, of which 24 to 28 are selected.
        EXPECT_EQ(list.GetSelItems(20), (std::vector<int>{4, 5, 6, 7, 8}));
      })
      .Cancel();
  HeadlessHost host(user);
  Dialog dialog(templates::AssociationTemplate());
  dialog.DoModal();
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(positions, std::vector<int>(picked.begin(), picked.begin() + 20));
}

TEST(Selection, SingleSelectionListAndComboTakeOneItem) {
  ScriptedUser user;
  user.ExpectDialog(132)
      .Select(1020, {2})
      .ExpectText(1020, "LHA.EXE Ver 2.6x")
      .InDialog([](Dialog& dialog) {
        ComboBox combo = dialog.GetComboBox(1020);
        EXPECT_EQ(combo.GetCurSel(), 2);
        EXPECT_EQ(combo.SetCurSel(0xFF), CB_ERR);  // out of range selects none
        EXPECT_EQ(combo.GetCurSel(), -1);
        EXPECT_EQ(dialog.GetDlgItemText(1020), "");
      })
      .Cancel();
  HeadlessHost host(user);
  Dialog dialog(templates::OptionsTemplate());
  dialog.DoModal();
  EXPECT_TRUE(user.Done()) << user.Report();
}

}  // namespace
}  // namespace pelko::ui
