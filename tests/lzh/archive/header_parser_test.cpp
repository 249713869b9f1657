// Headers of every level, hand-made so that each length and check is tried.
#include "lzh/archive/header_parser.h"

#include <gtest/gtest.h>

#include "lzh/lzh_test_support.h"

namespace pelko::lzh {
namespace {

using test::HandEntry;

HeaderResult Parse(const std::string& bytes, Header& h) {
  return ParseHeader(std::as_bytes(std::span(bytes.data(), bytes.size())), h);
}

std::string Level2(const std::string& name, const std::string& directory = {},
                   std::vector<std::string> extra = {}) {
  HandEntry e;
  e.name = name;
  e.directory = directory;
  e.extraExtended = std::move(extra);
  return test::Level2Header(e);
}

TEST(Level2Header, NameAndDirectoryJoinWithBackslash) {
  Header h;
  ASSERT_EQ(Parse(Level2("x.txt",
                         "tree\xff"
                         "a\xff"),
                  h)
                .status,
            HeaderStatus::Ok);
  EXPECT_EQ(h.path, "tree\\a\\x.txt");
  EXPECT_EQ(h.level, 2);
  EXPECT_EQ(h.unixTime, 0x5F5E1000);
}

TEST(Level2Header, UnknownExtendedHeaderIsSkippedByItsLength) {
  Header h;
  ASSERT_EQ(Parse(Level2("a.txt", {},
                         {std::string("\x7e"
                                      "whatever-bytes")}),
                  h)
                .status,
            HeaderStatus::Ok);
  EXPECT_EQ(h.path, "a.txt");
}

TEST(Level2Header, WindowsTimeAndAttributesAndUnixModeAreTaken) {
  std::string filetime("\x41", 1);
  const std::uint64_t lastWrite = (1704164646ull + 11644473600ull) * 10000000ull;
  std::string times(24, '\0');
  for (int i = 0; i < 8; ++i) times[8 + i] = static_cast<char>(lastWrite >> (8 * i));
  Header h;
  ASSERT_EQ(Parse(Level2("a.txt", {},
                         {filetime + times, std::string("\x40\x21\x00", 3),
                          std::string("\x50\xa4\x81", 3)}),
                  h)
                .status,
            HeaderStatus::Ok);
  EXPECT_EQ(h.unixTime, 1704164646);
  EXPECT_EQ(h.attributes, 0x21);
  EXPECT_EQ(h.unixMode, 0100644);
}

TEST(Level2Header, SixtyFourBitSizesReplaceTheBaseFields) {
  std::string sizes("\x42", 1);
  for (std::uint64_t v : {std::uint64_t{5} << 32, std::uint64_t{7} << 32}) {
    for (int i = 0; i < 8; ++i) sizes.push_back(static_cast<char>(v >> (8 * i)));
  }
  Header h;
  ASSERT_EQ(Parse(Level2("big", {}, {sizes}), h).status, HeaderStatus::Ok);
  EXPECT_EQ(h.packedSize, std::uint64_t{5} << 32);
  EXPECT_EQ(h.originalSize, std::uint64_t{7} << 32);
}

TEST(Level2Header, CorruptedHeaderCrcIsAnError) {
  std::string bytes = Level2("a.txt");
  bytes[bytes.size() - 3] ^= 0x01;  // a byte of the name
  Header h;
  const HeaderResult r = Parse(bytes, h);
  EXPECT_EQ(r.status, HeaderStatus::Error);
  EXPECT_EQ(r.error, LzhError::BadHeaderCrc);
}

TEST(Level2Header, ExtendedHeaderShorterThanItsFieldsIsAnError) {
  std::string bytes = Level2("a.txt");
  bytes[24] = 2;  // first extended header claims 2 bytes: not even type + size
  bytes[25] = 0;
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::BadHeader);
}

TEST(Level2Header, ExtendedHeaderRunningPastTheHeaderIsAnError) {
  std::string bytes = Level2("a.txt");
  bytes[24] = static_cast<char>(0xF0);
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::BadHeader);
}

TEST(Level2Header, TotalSizeBelowTheBaseHeaderIsAnError) {
  std::string bytes = Level2("a.txt");
  bytes[0] = 20;
  bytes[1] = 0;
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::BadHeader);
}

TEST(Level2Header, OnePadByteIsAcceptedMoreAreNot) {
  // A name that makes the header 256 bytes long gets the pad byte.
  std::string name(256 - 26 - 5 - 3, 'n');
  const std::string padded = Level2(name);
  ASSERT_EQ(padded.size(), 257u);
  Header h;
  EXPECT_EQ(Parse(padded, h).status, HeaderStatus::Ok);
  std::string twoPads = Level2("a.txt") + std::string(2, '\0');
  twoPads[0] = static_cast<char>(twoPads.size());
  EXPECT_EQ(Parse(twoPads, h).status, HeaderStatus::Error);
}

TEST(Level2Header, TruncatedHeaderIsTruncated) {
  const std::string bytes = Level2("a.txt");
  Header h;
  for (std::size_t cut : {std::size_t{5}, std::size_t{21}, std::size_t{30}, bytes.size() - 1}) {
    EXPECT_EQ(Parse(bytes.substr(0, cut), h).error, LzhError::Truncated) << cut;
  }
}

TEST(Level0Header, BackslashTrailByteStaysInsideTheName) {
  HandEntry e;
  e.name = "\x83\x5c\x83t\x83g\\\x95\x5c.txt";  // ソフト\表.txt
  Header h;
  ASSERT_EQ(Parse(test::Level0Header(e), h).status, HeaderStatus::Ok);
  EXPECT_EQ(h.path, e.name);
  EXPECT_EQ(h.level, 0);
  EXPECT_EQ(h.unixTime, 1704164646) << "DOS time 2024-01-02 03:04:06 read as UTC (TZ=UTC)";
}

TEST(Level0Header, SlashAndFFSeparatorsBecomeBackslashes) {
  HandEntry e;
  e.name =
      "a/b\xff"
      "c.txt";
  Header h;
  ASSERT_EQ(Parse(test::Level0Header(e), h).status, HeaderStatus::Ok);
  EXPECT_EQ(h.path, "a\\b\\c.txt");
}

TEST(Level0Header, WrongChecksumIsAnError) {
  HandEntry e;
  e.name = "a.txt";
  std::string bytes = test::Level0Header(e);
  bytes[1] ^= 0x40;
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::BadChecksum);
}

TEST(Level0Header, SizeTooSmallForItsNameIsAnError) {
  HandEntry e;
  e.name = "abcdef";
  std::string bytes = test::Level0Header(e);
  bytes[21] = 60;  // name longer than the header
  unsigned sum = 0;
  for (std::size_t i = 2; i < bytes.size(); ++i) sum += static_cast<unsigned char>(bytes[i]);
  bytes[1] = static_cast<char>(sum);
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::BadHeader);
}

TEST(Level0Header, SizeBelowTheFixedPartIsAnError) {
  HandEntry e;
  e.name = "abc";
  std::string bytes = test::Level0Header(e);
  bytes[0] = 10;
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::BadHeader);
}

TEST(AnyHeader, EndMarkAndEndOfFileEndTheArchive) {
  Header h;
  EXPECT_EQ(Parse(std::string(1, '\0'), h).status, HeaderStatus::End);
  EXPECT_EQ(Parse(std::string(), h).status, HeaderStatus::End);
}

TEST(AnyHeader, UnknownLevelIsAnError) {
  std::string bytes = Level2("a.txt");
  bytes[20] = 4;
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::BadHeader);
}

TEST(AnyHeader, MissingMethodDashesAreAnError) {
  std::string bytes = Level2("a.txt");
  bytes[2] = 'x';
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::BadHeader);
}

TEST(Level1Header, ExtendedHeaderSizesMustFitTheSkipSize) {
  // Fixture member "hello.txt" of lhaunix_h1_lh5_tree: skip size made smaller
  // than its extended headers.
  std::string bytes = test::ReadFixture("lhaunix_h1_lh5_tree.lzh").substr(55);
  bytes[7] = 3;
  bytes[8] = bytes[9] = bytes[10] = 0;
  unsigned sum = 0;
  const std::size_t base = static_cast<unsigned char>(bytes[0]) + 2;
  for (std::size_t i = 2; i < base; ++i) sum += static_cast<unsigned char>(bytes[i]);
  bytes[1] = static_cast<char>(sum);
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::BadHeader);
}

TEST(Level1Header, ChainBeyondTheHeaderCapIsRefused) {
  // A chain of unknown extended headers, each 60000 bytes: the second one
  // passes the cap.
  std::string bytes =
      test::ReadFixture("lhaunix_h1_lh5_tree.lzh").substr(0, 27 + 9);  // empty.txt base
  const std::size_t base = static_cast<unsigned char>(bytes[0]) + 2;
  bytes.resize(base);
  bytes[base - 2] = static_cast<char>(60000 & 0xFF);
  bytes[base - 1] = static_cast<char>(60000 >> 8);
  unsigned sum = 0;
  for (std::size_t i = 2; i < base; ++i) sum += static_cast<unsigned char>(bytes[i]);
  bytes[1] = static_cast<char>(sum);
  std::string ext(60000, '\0');
  ext[0] = 0x7e;
  ext[60000 - 2] = static_cast<char>(60000 & 0xFF);
  ext[60000 - 1] = static_cast<char>(60000 >> 8);
  bytes += ext + ext;
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::HeaderTooLarge);
}

TEST(Level3Header, SizeFieldWidthOtherThanFourIsAnError) {
  std::string bytes = test::ReadFixture("third_party/lhasa/lha_os2_208__h3_lh5.lzh");
  Header h;
  ASSERT_EQ(Parse(bytes, h).status, HeaderStatus::Ok);
  EXPECT_EQ(h.path, "GPL-2");
  bytes[0] = 2;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::BadHeader);
}

TEST(Level3Header, TotalSizeAboveTheCapIsRefused) {
  std::string bytes = test::ReadFixture("third_party/lhasa/lha_os2_208__h3_lh5.lzh");
  bytes[24] = 0;
  bytes[25] = 0;
  bytes[26] = 0;
  bytes[27] = 0x10;  // 256 MiB of header
  Header h;
  EXPECT_EQ(Parse(bytes, h).error, LzhError::HeaderTooLarge);
}

}  // namespace
}  // namespace pelko::lzh
