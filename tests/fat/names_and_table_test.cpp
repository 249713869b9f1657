// The smallest pieces: 8.3 names in CP932, the label rules, FAT12 packing.
#include <gtest/gtest.h>

#include "fat/fat_table.h"
#include "fat/format.h"
#include "fat/short_name.h"
#include "fat/volume_label.h"
#include "text/code_page.h"

namespace pelko::fat::test {
namespace {

std::string Field(const ShortName& n) { return std::string(n.bytes.begin(), n.bytes.end()); }

TEST(ShortNames, TrailBytes5CAnd7CAreLegalInsideDoubleByteCharacters) {
  auto name = MakeShortName(cp932::FromUtf8Literal("予定表.LZH"));
  ASSERT_TRUE(name.ok());
  EXPECT_EQ(Field(*name), std::string("\x97\x5C\x92\xE8\x95\x5C  LZH", 11));
  EXPECT_TRUE(MakeShortName(cp932::FromUtf8Literal("ポ.TXT")).ok());  // 0x83 0x7C
}

TEST(ShortNames, ADoubleByteCharacterIsNeverSplitAtTheEightOrThreeBoundary) {
  EXPECT_TRUE(MakeShortName(cp932::FromUtf8Literal("データ表.LZH")).ok());    // 8 bytes
  EXPECT_FALSE(MakeShortName(cp932::FromUtf8Literal("Aデータ表.LZH")).ok());  // 9 bytes
  EXPECT_FALSE(MakeShortName(std::string("ABCDEFG\x83", 8) + ".LZH").ok());   // lone lead byte
  EXPECT_FALSE(MakeShortName(cp932::FromUtf8Literal("A.表表")).ok());         // 4-byte extension
}

TEST(ShortNames, LowerCaseIsRecordedInTheCaseBitsAndMixedCaseIsStoredUpper) {
  auto lower = MakeShortName("archive.lzh");
  EXPECT_EQ(Field(*lower), "ARCHIVE LZH");
  EXPECT_EQ(lower->caseFlags, kLowerCaseBase | kLowerCaseExtension);
  EXPECT_EQ(ShortNameText(lower->bytes, lower->caseFlags), "archive.lzh");
  auto mixed = MakeShortName("Arch.DIV");
  EXPECT_EQ(Field(*mixed), "ARCH    DIV");
  EXPECT_EQ(mixed->caseFlags, 0);
}

TEST(ShortNames, CaseBitsNeverLowerATrailByte) {
  // ア is 0x83 0x41: its trail byte is 'A' and must stay so.
  ShortNameBytes bytes = {0x83, 0x41, 'B', ' ', ' ', ' ', ' ', ' ', 'T', 'X', 'T'};
  EXPECT_EQ(ShortNameText(bytes, kLowerCaseBase), cp932::FromUtf8Literal("アb") + ".TXT");
}

TEST(ShortNames, AFirstByteE5IsStoredAs05AndShownAsE5) {
  auto name = MakeShortName(cp932::FromUtf8Literal("蕁麻.DAT"));
  ASSERT_TRUE(name.ok());
  EXPECT_EQ(name->bytes[0], 0x05);
  EXPECT_EQ(ShortNameText(name->bytes, 0), cp932::FromUtf8Literal("蕁麻.DAT"));
}

TEST(ShortNames, TheLongNameChecksumIsTheRotatingSum) {
  ShortNameBytes bytes = {'A', 'R', 'C', 'H', 'I', 'V', 'E', ' ', 'L', 'Z', 'H'};
  std::uint8_t sum = 0;
  for (std::uint8_t b : bytes) sum = static_cast<std::uint8_t>(((sum & 1) << 7) + (sum >> 1) + b);
  EXPECT_EQ(ShortNameChecksum(bytes), sum);
  EXPECT_NE(ShortNameChecksum(bytes), 0);
}

TEST(VolumeLabels, ElevenBytesAtMostAfterUpperCasing) {
  EXPECT_EQ(*MakeVolumeLabel("abcdefghijk"), "ABCDEFGHIJK");
  EXPECT_EQ(MakeVolumeLabel("abcdefghijkl").error(), win::ERROR_LABEL_TOO_LONG);
  // Five kanji and one letter fit; six kanji do not.
  EXPECT_TRUE(MakeVolumeLabel(cp932::FromUtf8Literal("日本語ラベA")).ok());
  EXPECT_EQ(MakeVolumeLabel(cp932::FromUtf8Literal("日本語ラベル")).error(),
            win::ERROR_LABEL_TOO_LONG);
}

TEST(VolumeLabels, APeriodAndTheFatForbiddenCharactersAreRefusedButNotAsTrailBytes) {
  EXPECT_EQ(MakeVolumeLabel("A.B").error(), win::ERROR_INVALID_NAME);
  EXPECT_EQ(MakeVolumeLabel(std::string("A\x83", 2)).error(), win::ERROR_INVALID_NAME);
  EXPECT_EQ(*MakeVolumeLabel(cp932::FromUtf8Literal("表")), cp932::FromUtf8Literal("表"));
  EXPECT_EQ(*MakeVolumeLabel("   "), "");
}

TEST(FatTable, Fat12NeighboursSharingAByteKeepEachOther) {
  BootSector boot = *PlanVolume(*StandardFloppy(1440));
  FatTable fat = FatTable::Blank(boot);
  EXPECT_EQ(fat.Bytes()[0], 0xF0);
  EXPECT_EQ(fat.Bytes()[1], 0xFF);
  EXPECT_EQ(fat.Bytes()[2], 0xFF);
  fat.Set(2, FatEntry::Link(0xABC));
  fat.Set(3, FatEntry::Link(0x123));
  EXPECT_EQ(fat.Bytes()[3], 0xBC);
  EXPECT_EQ(fat.Bytes()[4], 0x3A);
  EXPECT_EQ(fat.Bytes()[5], 0x12);
  fat.Set(2, FatEntry::Free());
  EXPECT_EQ(fat.Get(2).kind, FatEntry::Kind::Free);
  EXPECT_EQ(fat.Get(3).kind, FatEntry::Kind::Next);
  EXPECT_EQ(fat.Get(3).next, 0x123u);
}

TEST(FatTable, ValuesAreTypedFreeNextBadEndOrInvalid) {
  BootSector boot = *PlanVolume(*StandardFloppy(1440));
  FatTable fat = FatTable::Blank(boot);
  fat.Set(2, FatEntry::Link(3));
  fat.Set(3, FatEntry::End());
  fat.Set(4, {FatEntry::Kind::Bad, 0});
  fat.Set(5, {FatEntry::Kind::Next, 4000});  // past cluster 2848
  EXPECT_EQ(fat.Get(2).kind, FatEntry::Kind::Next);
  EXPECT_EQ(fat.Get(2).next, 3u);
  EXPECT_EQ(fat.Get(3).kind, FatEntry::Kind::End);
  EXPECT_EQ(fat.Get(4).kind, FatEntry::Kind::Bad);
  EXPECT_EQ(fat.Get(5).kind, FatEntry::Kind::Invalid);
  EXPECT_EQ(fat.Get(6).kind, FatEntry::Kind::Free);
  EXPECT_EQ(fat.FreeCount(), 2847u - 4);
  EXPECT_EQ(fat.Chain(2)->size(), 2u);
  EXPECT_EQ(fat.Chain(5).error(), win::ERROR_FILE_CORRUPT);
  EXPECT_EQ(fat.Chain(4).error(), win::ERROR_FILE_CORRUPT);
}

}  // namespace
}  // namespace pelko::fat::test
