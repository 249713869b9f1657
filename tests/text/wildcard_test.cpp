#include "text/wildcard.h"

#include <gtest/gtest.h>

#include <string>

#include "text/code_page.h"

namespace pelko::cp932 {
namespace {

std::string Sjis(std::string_view utf8) { return FromUtf8Literal(utf8); }

TEST(Wildcards, StarAndQuestionMarkWithinOneComponent) {
  EXPECT_TRUE(WildcardMatches("*.bak", "memo.bak"));
  EXPECT_TRUE(WildcardMatches("*.bak", ".bak"));
  EXPECT_FALSE(WildcardMatches("*.bak", "memo.bak1"));
  EXPECT_TRUE(WildcardMatches("a?c", "abc"));
  EXPECT_FALSE(WildcardMatches("a?c", "ac"));
  EXPECT_TRUE(WildcardMatches("*", ""));
  EXPECT_TRUE(WildcardMatches("*a*b*", "xxaxxbxx"));
  EXPECT_FALSE(WildcardMatches("*a*b", "xxaxxbxxc"));
  EXPECT_TRUE(WildcardMatches("~*", "~$doc.tmp"));
}

TEST(Wildcards, AsciiLettersIgnoreCase) {
  EXPECT_TRUE(WildcardMatches("*.TMP", "a.tmp"));
  EXPECT_TRUE(WildcardMatches("thumbs.db", "Thumbs.DB"));
}

TEST(Wildcards, DoubleByteCharacterIsOneCharacter) {
  EXPECT_TRUE(WildcardMatches("?.txt", Sjis("表.txt")));
  EXPECT_FALSE(WildcardMatches("??.txt", Sjis("表.txt")));
  EXPECT_TRUE(WildcardMatches(Sjis("表*"), Sjis("表示.txt")));
  // Full-width letters are not ASCII: their case is kept.
  EXPECT_FALSE(WildcardMatches(Sjis("Ａ"), Sjis("ａ")));
}

TEST(Wildcards, TrailByteOfDoubleByteCharacterIsNotALetter) {
  // ソ is 0x83 0x5C and ア is 0x83 0x41: a case-blind compare of the trail
  // byte 0x41 must not let ア match ソ or 'a' match half of ア.
  EXPECT_FALSE(WildcardMatches(Sjis("ア"), Sjis("ソ")));
  EXPECT_FALSE(WildcardMatches("?a", Sjis("ア")));
}

}  // namespace
}  // namespace pelko::cp932
