// Level-2 headers as we write them read back field for field, carry their
// CRC, keep the padding rule, and refuse what they cannot hold.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "lzh/archive/header_parser.h"
#include "lzh/archive/header_writer.h"
#include "lzh/codec/crc16.h"
#include "text/code_page.h"

namespace pelko::lzh {
namespace {

Header FileHeader(std::string path) {
  Header h;
  const std::string_view id = "-lh7-";
  std::copy(id.begin(), id.end(), h.method.begin());
  h.packedSize = 1234;
  h.originalSize = 5678;
  h.unixTime = 1700000000;
  h.crc = 0xBEEF;
  h.path = std::move(path);
  return h;
}

Header ParseBack(const std::string& bytes) {
  Header parsed;
  const HeaderResult result =
      ParseHeader(std::as_bytes(std::span<const char>(bytes.data(), bytes.size())), parsed);
  EXPECT_EQ(result.status, HeaderStatus::Ok) << Describe(result.error);
  return parsed;
}

TEST(Level2HeaderWriter, FieldsReadBackThroughTheParser) {
  std::string bytes;
  ASSERT_EQ(BuildLevel2Header(FileHeader("docs\\sub\\memo.txt"), bytes), HeaderWriteResult::Ok);
  const Header parsed = ParseBack(bytes);
  EXPECT_EQ(parsed.Method(), "-lh7-");
  EXPECT_EQ(parsed.level, 2);
  EXPECT_EQ(parsed.osId, 'M');
  EXPECT_EQ(parsed.packedSize, 1234u);
  EXPECT_EQ(parsed.originalSize, 5678u);
  EXPECT_EQ(parsed.unixTime, 1700000000);
  EXPECT_EQ(parsed.crc, 0xBEEF);
  EXPECT_EQ(parsed.path, "docs\\sub\\memo.txt");
  EXPECT_EQ(parsed.attributes, 0x20);
  EXPECT_EQ(parsed.headerSize, bytes.size());
}

TEST(Level2HeaderWriter, FoldersGoInExtendedHeaderTwoWithFFSeparators) {
  std::string bytes;
  ASSERT_EQ(BuildLevel2Header(FileHeader("a\\b\\c.txt"), bytes), HeaderWriteResult::Ok);
  EXPECT_NE(bytes.find(std::string("\x02"
                                   "a\xFF"
                                   "b\xFF",
                                   5)),
            std::string::npos);
  EXPECT_NE(bytes.find(std::string("\x01"
                                   "c.txt",
                                   6)),
            std::string::npos);
  EXPECT_EQ(bytes.find('\\'), std::string::npos);
}

TEST(Level2HeaderWriter, TrailByte5CStaysInsideTheName) {
  const std::string table = cp932::FromUtf8Literal("表");  // 0x95 0x5C
  std::string bytes;
  ASSERT_EQ(BuildLevel2Header(FileHeader(table + "\\" + table + ".txt"), bytes),
            HeaderWriteResult::Ok);
  // The folder is 表 alone, the name 表.txt: the 0x5C of 表 divides nothing.
  EXPECT_NE(bytes.find("\x02" + table + "\xFF"), std::string::npos);
  EXPECT_NE(bytes.find("\x01" + table + ".txt"), std::string::npos);
  EXPECT_EQ(ParseBack(bytes).path, table + "\\" + table + ".txt");
}

TEST(Level2HeaderWriter, FolderEntryHasNoNameAndTheDirectoryAttribute) {
  Header h = FileHeader("a\\b");
  const std::string_view id = "-lhd-";
  std::copy(id.begin(), id.end(), h.method.begin());
  h.packedSize = h.originalSize = 0;
  h.attributes = 0x10;
  std::string bytes;
  ASSERT_EQ(BuildLevel2Header(h, bytes), HeaderWriteResult::Ok);
  EXPECT_NE(bytes.find(std::string("\x02"
                                   "a\xFF"
                                   "b\xFF",
                                   5)),
            std::string::npos);
  EXPECT_NE(bytes.find(std::string("\x40\x10\x00", 3)), std::string::npos);
  const Header parsed = ParseBack(bytes);
  EXPECT_TRUE(parsed.IsDirectory());
  EXPECT_EQ(parsed.path, "a\\b");
}

TEST(Level2HeaderWriter, HeaderCrcCoversTheWholeHeader) {
  std::string bytes;
  ASSERT_EQ(BuildLevel2Header(FileHeader("x.bin"), bytes), HeaderWriteResult::Ok);
  // Extended header 0x00 comes first, at offset 26.
  ASSERT_EQ(bytes[26], '\0');
  const std::uint16_t stored =
      static_cast<std::uint8_t>(bytes[27]) | static_cast<std::uint8_t>(bytes[28]) << 8;
  std::string zeroed = bytes;
  zeroed[27] = zeroed[28] = '\0';
  EXPECT_EQ(stored, Crc16(std::as_bytes(std::span<const char>(zeroed.data(), zeroed.size()))));
  bytes[33] ^= 1;  // a letter of the name
  Header parsed;
  EXPECT_EQ(
      ParseHeader(std::as_bytes(std::span<const char>(bytes.data(), bytes.size())), parsed).error,
      LzhError::BadHeaderCrc);
}

TEST(Level2HeaderWriter, SizeWithZeroLowByteGetsOnePadByte) {
  // 26 base + 5 (CRC) + 3 + name: a name of 222 bytes makes 256 before padding.
  std::string bytes;
  ASSERT_EQ(BuildLevel2Header(FileHeader(std::string(222, 'n')), bytes), HeaderWriteResult::Ok);
  EXPECT_EQ(bytes.size(), 257u);
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[0]), 1);
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[1]), 1);
  EXPECT_EQ(ParseBack(bytes).path, std::string(222, 'n'));
  ASSERT_EQ(BuildLevel2Header(FileHeader(std::string(221, 'n')), bytes), HeaderWriteResult::Ok);
  EXPECT_EQ(bytes.size(), 255u);
}

TEST(Level2HeaderWriter, RefusesWhatItCannotHold) {
  std::string bytes;
  Header big = FileHeader("big.bin");
  big.originalSize = 0x100000000ull;
  EXPECT_EQ(BuildLevel2Header(big, bytes), HeaderWriteResult::TooLarge);
  EXPECT_EQ(BuildLevel2Header(FileHeader(std::string(70000, 'n')), bytes),
            HeaderWriteResult::NameTooLong);
  EXPECT_EQ(BuildLevel2Header(FileHeader("a\\\\b"), bytes), HeaderWriteResult::BadName);
  EXPECT_EQ(BuildLevel2Header(FileHeader(""), bytes), HeaderWriteResult::BadName);
}

}  // namespace
}  // namespace pelko::lzh
