#include "fat/long_name.h"

#include "text/code_page.h"
#include "text/little_endian.h"

namespace pelko::fat {
namespace {

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::vector<std::uint16_t> LongNamePieceUnits(std::span<const std::uint8_t, 32> p) {
  static constexpr int kOffsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
  std::vector<std::uint16_t> units;
  units.reserve(13);
  for (int at : kOffsets) units.push_back(text::LoadLe16(p, at));
  return units;
}

std::optional<std::string> LongNameToCp932(const std::vector<std::uint16_t>& units) {
  std::string utf8;
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t u = units[i];
    if (u == 0) break;  // the name ends; the rest is padding
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 >= units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF)
        return std::nullopt;
      u = 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      return std::nullopt;
    }
    AppendUtf8(utf8, u);
  }
  if (utf8.empty()) return std::nullopt;
  return cp932::FromUtf8(utf8);
}

}  // namespace pelko::fat
