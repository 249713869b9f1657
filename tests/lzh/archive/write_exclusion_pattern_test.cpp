// The -jx matching rules on their own: last-component patterns, whole-name
// patterns with their depth, wildcards that stay inside a component, and
// folders taking their contents (one name against one wildcard is
// tests/text/wildcard_test.cpp).
#include <gtest/gtest.h>

#include "lzh/archive/exclusion_pattern.h"
#include "text/code_page.h"

namespace pelko::lzh {
namespace {

std::string Sjis(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

TEST(LastComponentPatterns, SelectFilesAndFoldersAtAnyDepth) {
  ExclusionPattern pattern("*.obj");
  EXPECT_TRUE(pattern.Selects("main.obj"));
  EXPECT_TRUE(pattern.Selects("proj\\build\\main.obj"));
  EXPECT_FALSE(pattern.Selects("proj\\main.obj\\readme.txt"));
  ExclusionPattern folder("tmp");
  EXPECT_TRUE(folder.Selects("tmp"));
  EXPECT_TRUE(folder.Selects("a\\b\\c\\tmp"));
  EXPECT_FALSE(folder.Selects("a\\tmpx"));
}

TEST(WholeNamePatterns, DepthPatternsSelectExactlyTheirLevel) {
  ExclusionPattern one("*\\tmp");
  ExclusionPattern two("*\\*\\tmp");
  ExclusionPattern three("*\\*\\*\\tmp");
  EXPECT_FALSE(one.Selects("tmp"));
  EXPECT_TRUE(one.Selects("proj\\tmp"));
  EXPECT_FALSE(one.Selects("proj\\src\\tmp"));
  EXPECT_TRUE(two.Selects("proj\\src\\tmp"));
  EXPECT_FALSE(two.Selects("proj\\tmp"));
  EXPECT_TRUE(three.Selects("a\\b\\c\\TMP"));
  EXPECT_FALSE(three.Selects("a\\b\\c\\d\\tmp"));
}

TEST(WholeNamePatterns, StarNeverCrossesABackslash) {
  ExclusionPattern pattern("proj\\*.txt");
  EXPECT_TRUE(pattern.Selects("proj\\a.txt"));
  EXPECT_FALSE(pattern.Selects("proj\\sub\\a.txt"));
  EXPECT_FALSE(ExclusionPattern("p*t").Selects("pro\\t"));
}

TEST(WholeNamePatterns, TrailByte5CIsNotAComponentBreak) {
  // 表 ends in 0x5C: "表\x" is two components, not three.
  ExclusionPattern pattern("*\\" + Sjis("表"));
  EXPECT_TRUE(pattern.Selects("docs\\" + Sjis("表")));
  EXPECT_FALSE(ExclusionPattern("*\\*\\x").Selects(Sjis("表") + "\\x"));
  EXPECT_TRUE(ExclusionPattern("*\\x").Selects(Sjis("表") + "\\x"));
}

TEST(ExclusionLists, AFolderLeftOutTakesEverythingBelowIt) {
  ExclusionList list;
  list.Add("*\\tmp");
  list.Add("*\\*\\tmp");
  list.Add("*.bak");
  EXPECT_TRUE(list.Excludes("proj\\tmp"));
  EXPECT_TRUE(list.Excludes("proj\\tmp\\deep\\file.c"));
  EXPECT_TRUE(list.Excludes("proj\\src\\tmp\\x"));
  EXPECT_FALSE(list.Excludes("proj\\a\\b\\tmp\\x"));  // deeper than the patterns reach
  EXPECT_FALSE(list.Excludes("tmp"));                 // the base entry itself is level one
  EXPECT_TRUE(list.Excludes("proj\\old.BAK"));
  EXPECT_FALSE(list.Excludes("proj\\src\\main.c"));
  EXPECT_TRUE(list.SelectsItself("proj\\tmp"));
  EXPECT_FALSE(list.SelectsItself("proj\\tmp\\deep"));
}

TEST(ExclusionLists, EmptyListAndEmptyPatternExcludeNothing) {
  ExclusionList list;
  EXPECT_FALSE(list.Excludes("anything"));
  list.Add("");
  EXPECT_FALSE(list.Excludes("anything"));
}

}  // namespace
}  // namespace pelko::lzh
