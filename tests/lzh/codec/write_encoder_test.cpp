// The -lh5-/-lh6-/-lh7- encoder: whatever goes in comes back out of the
// decoder byte for byte, in any piece sizes, with codes no longer than the
// format allows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <span>
#include <string>

#include "lzh/codec/byte_sink.h"
#include "lzh/codec/decoder.h"
#include "lzh/codec/huffman_encoding.h"
#include "lzh/codec/lh_encoder.h"

namespace pelko::lzh {
namespace {

std::span<const std::byte> Bytes(std::string_view s) {
  return std::as_bytes(std::span<const char>(s.data(), s.size()));
}

std::string Pack(PackMethod method, std::string_view input, std::size_t piece = 65536) {
  StringSink sink;
  LhEncoder encoder(method, sink);
  for (std::size_t at = 0; at < input.size(); at += piece) {
    EXPECT_TRUE(encoder.Write(Bytes(input.substr(at, piece))));
  }
  EXPECT_TRUE(encoder.Finish());
  EXPECT_EQ(encoder.BytesIn(), input.size());
  EXPECT_EQ(encoder.BytesOut(), sink.bytes.size());
  return sink.bytes;
}

std::string Unpack(PackMethod method, std::string_view packed, std::size_t originalSize) {
  StringSink sink;
  const LzhError error = DecodeBytes(EncoderMethodOf(method).id, Bytes(packed), originalSize, sink);
  EXPECT_EQ(error, LzhError::None) << Describe(error);
  return sink.bytes;
}

std::string RandomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(random() & 0xFF);
  return s;
}

// Text-like input with repeats near and far: words from a small vocabulary.
std::string TextLike(std::size_t n, std::uint32_t seed) {
  static const char* const kWords[] = {"archive ", "floppy ", "folder ", "backup ", "\r\n",
                                       "int ",     "return ", "0x5C ",   "表示 ",   "{ }; "};
  std::mt19937 random(seed);
  std::string s;
  while (s.size() < n) s += kWords[random() % 10];
  s.resize(n);
  return s;
}

class EncoderRoundTrip : public ::testing::TestWithParam<PackMethod> {
 protected:
  void ExpectRoundTrip(const std::string& input, std::size_t piece = 65536) {
    const std::string packed = Pack(GetParam(), input, piece);
    EXPECT_EQ(Unpack(GetParam(), packed, input.size()), input);
  }
};

TEST_P(EncoderRoundTrip, EmptyInputPacksToNothingAndDecodesToNothing) {
  const std::string packed = Pack(GetParam(), "");
  EXPECT_TRUE(packed.empty());
}

TEST_P(EncoderRoundTrip, SingleByteUsesTheOneSymbolTableForm) { ExpectRoundTrip("A"); }

TEST_P(EncoderRoundTrip, TinyInputsOfEveryLengthUpToTwenty) {
  for (std::size_t n = 1; n <= 20; ++n) ExpectRoundTrip(TextLike(n, static_cast<std::uint32_t>(n)));
}

TEST_P(EncoderRoundTrip, InputsAroundSectorAndWindowBoundaries) {
  for (std::size_t n :
       {511u, 512u, 513u, 1023u, 1024u, 1025u, 8191u, 8192u, 8193u, 65535u, 65536u, 65537u}) {
    ExpectRoundTrip(TextLike(n, static_cast<std::uint32_t>(n)));
  }
}

TEST_P(EncoderRoundTrip, IncompressibleBytesComeBackExactly) {
  ExpectRoundTrip(RandomBytes(200000, 7));
}

TEST_P(EncoderRoundTrip, LongRunsOfOneByteAndMatchesAtTheLongestDistance) {
  std::string input(300000, 'x');
  ExpectRoundTrip(input);
  // A block repeated just inside the largest distance of each window.
  const std::string chunk = RandomBytes(70000, 3);
  ExpectRoundTrip(chunk + chunk + chunk);
}

TEST_P(EncoderRoundTrip, LargeMixedInputInOddPieceSizes) {
  std::string input = TextLike(1500000, 11) + RandomBytes(300000, 12) + TextLike(700000, 13);
  ExpectRoundTrip(input, 4097);
  ExpectRoundTrip(input.substr(0, 150000), 1);  // byte by byte: the window refills at every call
}

TEST_P(EncoderRoundTrip, TextShrinksWellBelowItsSize) {
  const std::string input = TextLike(400000, 5);
  EXPECT_LT(Pack(GetParam(), input).size(), input.size() / 4);
}

TEST_P(EncoderRoundTrip, AFailingSinkStopsTheEncoderWithFailure) {
  StringSink sink(100);
  LhEncoder encoder(GetParam(), sink);
  const std::string input = RandomBytes(500000, 9);
  bool ok = encoder.Write(Bytes(input));
  ok = encoder.Finish() && ok;
  EXPECT_FALSE(ok);
  EXPECT_LE(sink.bytes.size(), 100u);
}

// One encoder restarted for every file packs each exactly as a new one
// would: nothing of an earlier stream (finished, or cut off by its sink)
// leaks into the next, whatever their sizes.
TEST_P(EncoderRoundTrip, ARestartedEncoderPacksAsANewOne) {
  const std::string streams[] = {TextLike(300000, 21),   TextLike(40, 22),
                                 RandomBytes(90000, 23), "",
                                 TextLike(70000, 21),    TextLike(300000, 21)};
  StringSink cutOff(50);
  LhEncoder encoder(GetParam(), cutOff);
  encoder.Write(Bytes(TextLike(200000, 24)));
  for (const std::string& input : streams) {
    StringSink sink;
    encoder.Restart(sink);
    EXPECT_TRUE(encoder.Write(Bytes(input)));
    EXPECT_TRUE(encoder.Finish());
    EXPECT_EQ(sink.bytes, Pack(GetParam(), input)) << input.size() << " bytes";
  }
}

std::string MethodName(const ::testing::TestParamInfo<PackMethod>& info) {
  std::string id(EncoderMethodOf(info.param).id);
  return id.substr(1, 3);
}

INSTANTIATE_TEST_SUITE_P(AllMethods, EncoderRoundTrip,
                         ::testing::Values(PackMethod::Lh5, PackMethod::Lh6, PackMethod::Lh7),
                         MethodName);

TEST(EncoderMethods, DictionariesAndPositionTablesOfTheFormat) {
  EXPECT_EQ(EncoderMethodOf(PackMethod::Lh5).dictionaryBits, 13);
  EXPECT_EQ(EncoderMethodOf(PackMethod::Lh5).positionCodes, 14);
  EXPECT_EQ(EncoderMethodOf(PackMethod::Lh6).positionCodes, 16);
  EXPECT_EQ(EncoderMethodOf(PackMethod::Lh7).dictionaryBits, 16);
  EXPECT_EQ(EncoderMethodOf(PackMethod::Lh7).positionCodes, 17);
  EXPECT_EQ(PackMethodFromSwitch("-LH7"), PackMethod::Lh7);
  EXPECT_EQ(PackMethodFromSwitch("-lh6-"), PackMethod::Lh6);
  EXPECT_FALSE(PackMethodFromSwitch("-lh1").has_value());
}

TEST(HuffmanCodeLengths, SkewedFrequenciesStayWithinSixteenBits) {
  // Fibonacci counts would make a plain Huffman tree 30 levels deep.
  std::vector<std::uint32_t> freq(32);
  std::uint32_t a = 1, b = 1;
  for (auto& f : freq) {
    f = a;
    const std::uint32_t next = a + b;
    a = b;
    b = next;
  }
  std::vector<std::uint8_t> lengths(freq.size());
  EXPECT_EQ(BuildCodeLengths(freq, 16, lengths), 32);
  double kraft = 0;
  for (std::uint8_t len : lengths) {
    EXPECT_GE(len, 1);
    EXPECT_LE(len, 16);
    kraft += 1.0 / (1u << len);
  }
  EXPECT_DOUBLE_EQ(kraft, 1.0);
  // The most frequent symbol never gets a longer code than a rarer one.
  EXPECT_LE(lengths[31], lengths[0]);
}

TEST(HuffmanCodeLengths, OneUsedSymbolHasNoCode) {
  std::vector<std::uint32_t> freq(10, 0);
  freq[4] = 9;
  std::vector<std::uint8_t> lengths(10, 7);
  EXPECT_EQ(BuildCodeLengths(freq, 16, lengths), 1);
  EXPECT_TRUE(std::all_of(lengths.begin(), lengths.end(), [](std::uint8_t l) { return l == 0; }));
}

TEST(HuffmanCodeLengths, CanonicalCodesAreOrderedByLengthThenSymbol) {
  const std::vector<std::uint8_t> lengths = {3, 3, 3, 3, 3, 2, 4, 4};
  std::vector<std::uint16_t> codes(lengths.size());
  BuildCanonicalCodes(lengths, codes);
  EXPECT_EQ(codes[5], 0b00);
  EXPECT_EQ(codes[0], 0b010);
  EXPECT_EQ(codes[4], 0b110);
  EXPECT_EQ(codes[6], 0b1110);
  EXPECT_EQ(codes[7], 0b1111);
}

}  // namespace
}  // namespace pelko::lzh
