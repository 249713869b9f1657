#include "text/little_endian.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace pelko::text {
namespace {

// Bytes of 0x80 and above must not carry a sign into the number, whatever
// the buffer's byte type.
TEST(LittleEndian, ReadsEveryByteTypeWithoutSignExtension) {
  const std::string chars("\x00\xFE\xFF\x80\x01\x02\x03\x04\x05", 9);
  EXPECT_EQ(LoadLe16(chars, 1), 0xFFFE);
  EXPECT_EQ(LoadLe32(chars, 1), 0x0180FFFEu);
  EXPECT_EQ(LoadLe64(chars, 1), 0x05040302'0180FFFEull);

  const std::array<std::uint8_t, 4> octets{0xFF, 0x80, 0x7F, 0x01};
  EXPECT_EQ(LoadLe32(std::span<const std::uint8_t>(octets), 0), 0x017F80FFu);

  const std::vector<std::byte> bytes{std::byte{0x34}, std::byte{0xF2}};
  EXPECT_EQ(LoadLe16(bytes, 0), 0xF234);
}

TEST(LittleEndian, WritesLowBytesFirstAndOnlyTheWidthAsked) {
  std::array<std::uint8_t, 6> octets{};
  octets.fill(0xAA);
  StoreLe32(std::span<std::uint8_t>(octets).subspan(1), 0, 0x11223344u);
  EXPECT_EQ(octets, (std::array<std::uint8_t, 6>{0xAA, 0x44, 0x33, 0x22, 0x11, 0xAA}));

  std::string text(3, 'x');
  StoreLe16(text, 1, 0xBEEF);
  EXPECT_EQ(text, std::string("x\xEF\xBE"));

  std::string out;
  AppendLittleEndian(out, 0x1122334455ull, 3);
  EXPECT_EQ(out, std::string("\x55\x44\x33"));
}

}  // namespace
}  // namespace pelko::text
