// The decoders: method by method, and every way a packed stream can lie.
#include "lzh/codec/decoder.h"

#include <gtest/gtest.h>

#include <string>

#include "lzh/archive/archive_reader.h"
#include "lzh/archive/memory_stream.h"
#include "lzh/lzh_test_support.h"

namespace pelko::lzh {
namespace {

std::string Bits(const std::string& bits) {
  std::string out;
  for (std::size_t i = 0; i < bits.size(); i += 8) {
    std::string byte = bits.substr(i, 8);
    byte.resize(8, '0');
    out.push_back(static_cast<char>(std::stoi(byte, nullptr, 2)));
  }
  return out;
}

std::string Binary(unsigned value, int width) {
  std::string s;
  for (int i = width - 1; i >= 0; --i) s.push_back(((value >> i) & 1) ? '1' : '0');
  return s;
}

LzhError DecodeString(std::string_view method, const std::string& packed, std::uint64_t size,
                      std::string& out) {
  StringSink sink;
  const LzhError error =
      DecodeBytes(method, std::as_bytes(std::span(packed.data(), packed.size())), size, sink);
  out = sink.bytes;
  return error;
}

// One -lh5- block whose three tables each hold one symbol: every C symbol
// is `symbol`, read without a bit.
std::string SingleSymbolBlock(unsigned count, unsigned symbol, const std::string& after = {}) {
  return Bits(Binary(count, 16) + "00000" + Binary(0, 5) + Binary(0, 9) + Binary(symbol, 9) +
              "0000" + Binary(0, 4) + after);
}

TEST(LhDecoder, SingleSymbolTablesTakeNoBitsPerSymbol) {
  std::string out;
  EXPECT_EQ(DecodeString("-lh5-", SingleSymbolBlock(5, 'A'), 5, out), LzhError::None);
  EXPECT_EQ(out, "AAAAA");
}

TEST(LhDecoder, UnusedPackedBytesAreASizeMismatch) {
  std::string out;
  EXPECT_EQ(DecodeString("-lh5-", SingleSymbolBlock(5, 'A') + "Z", 5, out), LzhError::SizeMismatch);
}

TEST(LhDecoder, StreamEndingBeforeTheOriginalSizeIsASizeMismatch) {
  std::string out;
  EXPECT_EQ(DecodeString("-lh5-", SingleSymbolBlock(5, 'A'), 6, out), LzhError::SizeMismatch);
}

TEST(LhDecoder, MoreSymbolsThanTheOriginalSizeIsASizeMismatch) {
  // A match of 256 bytes (C symbol 509) when only 10 are announced.
  std::string out;
  EXPECT_EQ(DecodeString("-lh5-", SingleSymbolBlock(1, 509), 10, out), LzhError::SizeMismatch);
}

TEST(LhDecoder, HugeOriginalSizeFailsWithoutAllocatingIt) {
  std::string out;
  EXPECT_EQ(DecodeString("-lh7-", SingleSymbolBlock(5, 'A'), 0xFFFFFFFFu, out),
            LzhError::SizeMismatch);
  EXPECT_LT(out.size(), 1u << 20);
}

TEST(LhDecoder, SingleSymbolOutsideTheAlphabetIsBroken) {
  std::string out;
  EXPECT_EQ(DecodeString("-lh5-", SingleSymbolBlock(5, 510), 5, out), LzhError::BadData);
}

TEST(LhDecoder, OverSubscribedLengthTableIsBroken) {
  // T table: four lengths of 1.
  const std::string packed =
      Bits(Binary(5, 16) + "00100" + "001001001" + "00" + "001") + std::string(4, '\0');
  std::string out;
  EXPECT_EQ(DecodeString("-lh5-", packed, 5, out), LzhError::BadData);
}

TEST(LhDecoder, CodeLengthAbove16IsBroken) {
  // T table: one length of 7 + ten 1 bits = 17.
  const std::string packed =
      Bits(Binary(5, 16) + "00001" + "111" + "1111111111" + "0") + std::string(4, '\0');
  std::string out;
  EXPECT_EQ(DecodeString("-lh5-", packed, 5, out), LzhError::BadData);
}

TEST(LhDecoder, ZeroRunPastTheCodeTableIsBroken) {
  // T: single symbol 2 (a run of 20 + 9 bits zeros); C: n = 510, run of 520.
  const std::string packed =
      Bits(Binary(5, 16) + "00000" + Binary(2, 5) + Binary(510, 9) + Binary(500, 9)) +
      std::string(4, '\0');
  std::string out;
  EXPECT_EQ(DecodeString("-lh5-", packed, 5, out), LzhError::BadData);
}

TEST(LhDecoder, PositionTableLongerThanItsAlphabetIsBroken) {
  // -lh5- has 14 position codes; the P table announces 15 lengths.
  const std::string packed =
      Bits(Binary(5, 16) + "00000" + Binary(0, 5) + Binary(0, 9) + Binary('A', 9) + Binary(15, 4)) +
      std::string(8, '\0');
  std::string out;
  EXPECT_EQ(DecodeString("-lh5-", packed, 5, out), LzhError::BadData);
}

TEST(LhDecoder, UnusedCodeOfAnIncompleteTableIsBroken) {
  // C table: only symbol 'A' has a length (1); the code "1" is unused.
  // T lengths: symbol 3 (length 1 for C) gets length 1, symbol 0 gets length 1.
  //   n = 4: lengths 1, 0, 0 [zero run 0], 1
  const std::string tTable = Binary(4, 5) + "001" + "000" + "000" + "00" + "001";
  // C: n = 66; 'A' (65) preceded by a run: T symbol 2 (code 1?) ... keep it
  // simple: 65 single zeros (T symbol 0, code "0") then length 1 (T symbol 3, code "1").
  std::string cTable = Binary(66, 9);
  for (int i = 0; i < 65; ++i) cTable += "0";
  cTable += "1";
  const std::string pTable = "0000" + Binary(0, 4);
  std::string out;
  EXPECT_EQ(DecodeString(
                "-lh5-",
                Bits(Binary(2, 16) + tTable + cTable + pTable + "0" + "1") + std::string(4, '\0'),
                2, out),
            LzhError::BadData);
}

// The -lh5- member x.txt of a fixture: its position codes never pass 4 KiB,
// so it reads the same as -lh4- (same tables, same position alphabet).
TEST(LhDecoder, Lh4SharesTheLh5Engine) {
  MemoryStream stream(test::ReadFixture("lhaunix_h2_lh5_tree.lzh"));
  ArchiveReader reader(stream);
  Entry entry;
  while (reader.Next(entry) == ReadStep::Entry && entry.header.path != "tree\\a\\x.txt") {
  }
  ASSERT_EQ(entry.header.Method(), "-lh5-");
  StringSink packed;
  ASSERT_EQ(reader.CopyPacked(entry, packed), LzhError::None);
  std::string lh4, lh5;
  EXPECT_EQ(DecodeString("-lh4-", packed.bytes, entry.header.originalSize, lh4), LzhError::None);
  EXPECT_EQ(DecodeString("-lh5-", packed.bytes, entry.header.originalSize, lh5), LzhError::None);
  EXPECT_EQ(lh4, lh5);
  EXPECT_EQ(test::Crc16Of(lh4), *entry.header.crc);
}

TEST(StoredDecoder, Lz4IsStored) {
  std::string out;
  EXPECT_EQ(DecodeString("-lz4-", "plain bytes", 11, out), LzhError::None);
  EXPECT_EQ(out, "plain bytes");
}

TEST(StoredDecoder, SizesThatDifferAreRefusedBeforeWriting) {
  std::string out;
  EXPECT_EQ(DecodeString("-lh0-", "plain bytes", 12, out), LzhError::SizeMismatch);
  EXPECT_TRUE(out.empty());
}

TEST(LzsDecoder, LiteralsAndACopyFromAnAbsolutePlace) {
  // Literals 'a' 'b' 'c' land at ring places 2031..2033; the copy takes 4
  // bytes from place 2031 (overlapping itself): "abca".
  std::string bits;
  for (char c : std::string("abc")) bits += "1" + Binary(static_cast<unsigned char>(c), 8);
  bits += "0" + Binary(2031, 11) + Binary(4 - 2, 4);
  std::string out;
  EXPECT_EQ(DecodeString("-lzs-", Bits(bits), 7, out), LzhError::None);
  EXPECT_EQ(out, "abcabca");
}

TEST(LzsDecoder, InitialHistoryIsSpaces) {
  std::string out;
  EXPECT_EQ(DecodeString("-lzs-", Bits("0" + Binary(0, 11) + Binary(3, 4)), 5, out),
            LzhError::None);
  EXPECT_EQ(out, "     ");
}

TEST(Lz5Decoder, FlagByteLiteralsAndACopy) {
  // Flags 0b00000111: three literals then a copy of 3 from place 4078.
  const std::string packed = std::string(
                                 "\x07"
                                 "xyz",
                                 4) +
                             std::string("\xEE\xF0", 2);
  std::string out;
  EXPECT_EQ(DecodeString("-lz5-", packed, 6, out), LzhError::None);
  EXPECT_EQ(out, "xyzxyz");
}

TEST(Lz5Decoder, InitialHistoryHoldsRunsOfEveryByte) {
  // Place 13 * 0x41 starts the run of 'A's.
  const unsigned place = 13 * 0x41;
  const std::string packed = std::string(1, '\0') + static_cast<char>(place & 0xFF) +
                             static_cast<char>(((place >> 4) & 0xF0) | (5 - 3));
  std::string out;
  EXPECT_EQ(DecodeString("-lz5-", packed, 5, out), LzhError::None);
  EXPECT_EQ(out, "AAAAA");
}

TEST(AnyDecoder, UnknownMethodIsReportedAsSuch) {
  std::string out;
  EXPECT_EQ(DecodeString("-lhx-", "abc", 3, out), LzhError::UnknownMethod);
  EXPECT_FALSE(IsKnownMethod("-pm2-"));
  EXPECT_TRUE(IsKnownMethod("-lh1-"));
}

TEST(AnyDecoder, EveryMethodSurvivesGarbage) {
  // Not a check of a result: no method may crash, hang or succeed on noise.
  std::string noise;
  std::uint32_t state = 12345;
  for (int i = 0; i < 4096; ++i) {
    state = state * 1103515245u + 12345u;
    noise.push_back(static_cast<char>(state >> 24));
  }
  for (const char* method : {"-lh1-", "-lh4-", "-lh5-", "-lh6-", "-lh7-", "-lzs-", "-lz5-"}) {
    std::string out;
    EXPECT_NE(DecodeString(method, noise, 100000, out), LzhError::None) << method;
  }
}

}  // namespace
}  // namespace pelko::lzh
