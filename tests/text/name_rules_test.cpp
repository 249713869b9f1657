#include "text/name_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "text/code_page.h"

namespace pelko::cp932 {
namespace {

std::string Cp(std::string_view utf8) { return FromUtf8Literal(utf8); }

TEST(ForbiddenNames, EveryCharacterWindowsRefuses) {
  for (char c : std::string("\\/:*?\"<>|")) {
    EXPECT_TRUE(IsForbiddenName(std::string("a") + c + "b")) << c;
  }
  EXPECT_TRUE(IsForbiddenName(""));
  EXPECT_TRUE(IsForbiddenName("a\x01"));
  EXPECT_TRUE(IsForbiddenName(std::string("a\0b", 3)));
}

TEST(ForbiddenNames, TrailBytesThatLookForbiddenAreFine) {
  EXPECT_FALSE(IsForbiddenName(Cp("表")));  // 0x95 0x5C
  EXPECT_FALSE(IsForbiddenName(Cp("－")));  // 0x81 0x7C
  EXPECT_FALSE(IsForbiddenName(Cp("ﾃﾞｰﾀ 1.txt")));
  EXPECT_FALSE(IsForbiddenName("#$%&'()-@^_`{}~ !.txt"));
}

// The three copies this rule replaced disagreed on these two; Windows
// (FsRtl's legal-character table, and its DBCS name checks) allows DEL and
// refuses a lead byte that ends the name.
TEST(ForbiddenNames, DeleteIsAllowedAndACutOffLeadByteIsNot) {
  for (NameRule rule : {NameRule::FileName, NameRule::VolumeLabel}) {
    EXPECT_FALSE(
        HoldsForbiddenCharacter("A\x7F"
                                "B",
                                rule));
    EXPECT_TRUE(HoldsForbiddenCharacter("AB\x81", rule));
    EXPECT_TRUE(HoldsForbiddenCharacter("\xE0", rule));
    EXPECT_FALSE(HoldsForbiddenCharacter("\x81\x7F", rule));  // the lead byte takes what follows
  }
  EXPECT_FALSE(IsForbiddenName("a\x7F"));
  EXPECT_TRUE(IsForbiddenName("a\x81"));
}

TEST(ForbiddenNames, VolumeLabelsAlsoRefuseFatsOwnCharacters) {
  for (char c : std::string("+,.;=[]")) {
    EXPECT_TRUE(HoldsForbiddenCharacter(std::string("A") + c, NameRule::VolumeLabel)) << c;
    EXPECT_FALSE(HoldsForbiddenCharacter(std::string("A") + c, NameRule::FileName)) << c;
  }
  EXPECT_FALSE(HoldsForbiddenCharacter(Cp("ソフト 表"), NameRule::VolumeLabel));
  EXPECT_FALSE(HoldsForbiddenCharacter("", NameRule::VolumeLabel));
}

}  // namespace
}  // namespace pelko::cp932
