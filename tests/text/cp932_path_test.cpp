#include "text/cp932_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/code_page.h"

namespace pelko::cp932 {
namespace {

std::string Sjis(std::string_view utf8) { return FromUtf8Literal(utf8); }

TEST(Cp932Path, PartsAroundTheLastBackslashIgnoreTrailBytes) {
  const Path path(Sjis("C:\\データ\\表"));  // 表 ends in 0x5C
  EXPECT_EQ(path.LastComponent(), Sjis("表"));
  EXPECT_EQ(path.Parent().Text(), Sjis("C:\\データ"));
  EXPECT_EQ(Path("memo.txt").LastComponent(), "memo.txt");
  EXPECT_TRUE(Path("memo.txt").Parent().Empty());
  EXPECT_EQ(Path(Sjis("a\\表\\b")).Ancestors().size(), 2u);
  EXPECT_EQ(Path(Sjis("a\\表\\b")).Ancestors()[1].Text(), Sjis("a\\表"));
  EXPECT_TRUE(Path(Sjis("表")).Ancestors().empty());
  EXPECT_EQ(Path("").Child("x").Text(), "x");
  EXPECT_EQ(Path("a").Child("x").Text(), "a\\x");
}

TEST(Cp932Path, ComponentsKeepEmptyPartsAndWholeCharacters) {
  using Parts = std::vector<std::string>;
  EXPECT_EQ(Path("\\a\\\\b\\").Components(), (Parts{"", "a", "", "b", ""}));
  EXPECT_EQ(Path("").Components(), (Parts{""}));
  EXPECT_EQ(Path(Sjis("表\\ソ")).Components(), (Parts{Sjis("表"), Sjis("ソ")}));
  EXPECT_EQ(Path("a\x81").Components(), (Parts{"a\x81"}));  // a cut-off lead byte stays
}

TEST(Cp932Path, TrailingBackslashIsAddedOnceAndRemovedEntirely) {
  EXPECT_EQ(Path("C:\\dir").WithTrailingBackslash().Text(), "C:\\dir\\");
  EXPECT_EQ(Path("C:\\dir\\").WithTrailingBackslash().Text(), "C:\\dir\\");
  EXPECT_EQ(Path("").WithTrailingBackslash().Text(), "\\");
  EXPECT_EQ(Path(Sjis("表")).WithTrailingBackslash().Text(), Sjis("表\\"));
  EXPECT_EQ(Path("dir\\\\").WithoutTrailingBackslashes().Text(), "dir");
  EXPECT_EQ(Path(Sjis("表")).WithoutTrailingBackslashes().Text(), Sjis("表"));
}

TEST(Cp932Path, ReachesOutsideThroughRootsDrivesAndDotComponents) {
  for (const char* outside :
       {"\\memo.txt", "c:memo.txt", "..", ".", "a\\..\\b", "a/../b", "../b", "a\\."}) {
    EXPECT_TRUE(Path(outside).ReachesOutside()) << outside;
  }
  for (const char* inside : {"memo.txt", "a\\b", "...", "..a", "a..\\b", ""}) {
    EXPECT_FALSE(Path(inside).ReachesOutside()) << inside;
  }
  // A trail byte 0x5C or 0x2F divides nothing: 表.. is one component.
  EXPECT_FALSE(Path(Sjis("表..")).ReachesOutside());
  EXPECT_FALSE(Path("\x81/..").ReachesOutside());
}

}  // namespace
}  // namespace pelko::cp932
