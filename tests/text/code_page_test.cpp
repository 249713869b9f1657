#include "text/code_page.h"

#include <gtest/gtest.h>

namespace pelko::cp932 {
namespace {

std::string Cp(std::string_view utf8) { return FromUtf8Literal(utf8); }

TEST(Cp932Conversion, TableCharacterKeepsItsBackslashTrailByte) {
  EXPECT_EQ(FromUtf8("表"), std::string("\x95\x5C"));
  EXPECT_EQ(ToUtf8("\x95\x5C"), std::string("表"));
}

TEST(Cp932Conversion, HalfWidthKatakanaAreSingleBytesBothWays) {
  EXPECT_EQ(FromUtf8("ｷｬﾝｾﾙ"), std::string("\xB7\xAC\xDD\xBE\xD9"));
  EXPECT_EQ(ToUtf8("\xB7\xAC\xDD\xBE\xD9"), std::string("ｷｬﾝｾﾙ"));
}

TEST(Cp932Conversion, MixedNameRoundTripsUnchanged) {
  const std::string utf8 = "C:\\データ\\ＭＳ Ｐゴシック～①髙.txt";
  auto cp932 = FromUtf8(utf8);
  ASSERT_TRUE(cp932);
  EXPECT_EQ(ToUtf8(*cp932), utf8);
}

TEST(Cp932Conversion, NameWithNoCp932FormIsRefusedNotReplaced) {
  EXPECT_EQ(FromUtf8("photo-😀.txt"), std::nullopt);
  EXPECT_EQ(FromUtf8("café"), std::nullopt);
  EXPECT_EQ(FromUtf8("简体"), std::nullopt);
}

TEST(Cp932Conversion, OneWayMappingsAreRefusedSoNoNameTurnsIntoAnother) {
  // glibc would write ¥ as 0x5C: a backslash, i.e. a path separator.
  EXPECT_EQ(FromUtf8("a¥b"), std::nullopt);
  EXPECT_EQ(FromUtf8("〜"), std::nullopt);  // U+301C would come back as U+FF5E
  EXPECT_EQ(FromUtf8("−"), std::nullopt);   // U+2212 would come back as U+FF0D
}

TEST(Cp932Conversion, InvalidCp932IsRefused) {
  EXPECT_EQ(ToUtf8("abc\x81"), std::nullopt);  // lead byte with no trail
  EXPECT_EQ(ToUtf8("\xA0"), std::nullopt);
  EXPECT_EQ(ToUtf8("\x85\x40"), std::nullopt);
  EXPECT_EQ(FromUtf8("\xC3"), std::nullopt);  // broken UTF-8
}

TEST(Cp932Conversion, EmptyTextConverts) {
  EXPECT_EQ(ToUtf8(""), std::string());
  EXPECT_EQ(FromUtf8(""), std::string());
}

TEST(Cp932LeadBytes, RangesAre81To9FAndE0ToFC) {
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_TRUE(IsLeadByte(0x81));
  EXPECT_TRUE(IsLeadByte(0x9F));
  EXPECT_FALSE(IsLeadByte(0xA0));
  EXPECT_FALSE(IsLeadByte(0xDF));  // half-width katakana
  EXPECT_TRUE(IsLeadByte(0xE0));
  EXPECT_TRUE(IsLeadByte(0xFC));
  EXPECT_FALSE(IsLeadByte(0xFD));
  EXPECT_FALSE(IsLeadByte('\\'));
}

TEST(Cp932Search, LastBackslashSkipsTrailByteOfTable) {
  const std::string path = Cp("C:\\data\\表");  // ends in 0x95 0x5C
  EXPECT_EQ(path.back(), '\\');
  EXPECT_EQ(FindLastBackslash(path), 7u);
}

TEST(Cp932Search, NameWithoutBackslashHasNone) {
  EXPECT_EQ(FindLastBackslash(Cp("表ソ")), std::string_view::npos);
  EXPECT_EQ(FindLastBackslash("name.txt"), std::string_view::npos);
  EXPECT_EQ(FindLastBackslash(""), std::string_view::npos);
}

TEST(Cp932Search, LastBackslashAfterDoubleByteName) {
  EXPECT_EQ(FindLastBackslash(Cp("C:\\表\\x")), 5u);
  EXPECT_EQ(FindLastBackslash("C:\\"), 2u);
}

TEST(Cp932Search, FirstCharSkipsTrailBytes) {
  const std::string text = Cp("ソ|－|");  // ソ ends in 0x5C, － ends in 0x7C
  EXPECT_EQ(FindFirstChar(text, '|'), 2u);
  EXPECT_EQ(FindFirstChar(text, '|', 3), 5u);
  EXPECT_EQ(FindFirstChar(text, '\\'), std::string_view::npos);
}

TEST(Cp932Search, PrefixNeverSplitsADoubleByteCharacter) {
  const std::string text = Cp("ab表c");
  EXPECT_EQ(PrefixWithoutSplit(text, 3), 2u);
  EXPECT_EQ(PrefixWithoutSplit(text, 4), 4u);
  EXPECT_EQ(PrefixWithoutSplit(text, 100), 5u);
  EXPECT_EQ(PrefixWithoutSplit(text, 0), 0u);
}

TEST(WindowsCase, FullWidthLatinIsUpperCased) {
  EXPECT_EQ(UpperCase(Cp("ｄｉｓｋ")), Cp("ＤＩＳＫ"));
  EXPECT_EQ(UpperCase(Cp("ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ")),
            Cp("ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"));
}

TEST(WindowsCase, AsciiIsUpperCasedAndKanaLeftAlone) {
  EXPECT_EQ(UpperCase(Cp("backup-01 ｷｬﾝ")), Cp("BACKUP-01 ｷｬﾝ"));
}

TEST(WindowsCase, TrailBytesAreNeverLetters) {
  EXPECT_EQ(UpperCase(Cp("表")), Cp("表"));
  // ヂ is 0x83 0x61: its trail byte is an ASCII 'a' and must stay one.
  EXPECT_EQ(UpperCase(Cp("ヂa")), Cp("ヂA"));
  EXPECT_EQ(UpperCase("\x83\x61"), std::string("\x83\x61"));
}

TEST(WindowsCase, GreekAndCyrillicAreUpperCased) {
  EXPECT_EQ(UpperCase(Cp("αβγδεζηθικλμνξοπρστυφχψω")), Cp("ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ"));
  EXPECT_EQ(UpperCase(Cp("абвгдеёжзийклмнопрстуфхцчшщъыьэюя")),
            Cp("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"));
}

TEST(WindowsCase, CutOffLeadByteAtTheEndIsKept) {
  EXPECT_EQ(UpperCase("ab\x82"), std::string("AB\x82"));
}

TEST(WindowsCase, ComparisonIgnoresExactlyThatCase) {
  EXPECT_TRUE(EqualIgnoringCase(Cp("ｄｉｓｋ1"), Cp("ＤＩＳＫ1")));
  EXPECT_TRUE(EqualIgnoringCase(Cp("Backup"), Cp("BACKUP")));
  EXPECT_TRUE(EqualIgnoringCase(Cp("ωя"), Cp("ΩЯ")));
  // ヂ (0x83 0x61) and ア (0x83 0x41) differ only in a trail byte's "case".
  EXPECT_FALSE(EqualIgnoringCase(Cp("ヂ"), Cp("ア")));
  EXPECT_FALSE(EqualIgnoringCase(Cp("disk"), Cp("disk2")));
  EXPECT_FALSE(EqualIgnoringCase(Cp("ｶ"), Cp("カ")));
}

}  // namespace
}  // namespace pelko::cp932
