#include "lzh/archive/path_names.h"

#include <cstdio>

#include "text/code_page.h"

namespace pelko::lzh {
namespace {

// Second bytes of a CP932 double-byte character.
bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

// Length of the character at `i`: 2 for a lead byte followed by a trail byte.
std::size_t CharLength(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (cp932::IsLeadByte(lead) && i + 1 < text.size() &&
      IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
    return 2;
  }
  return 1;
}

}  // namespace

bool IsStoredSeparator(unsigned char byte) { return byte == '\\' || byte == '/' || byte == 0xFF; }

std::vector<std::string> SplitStoredPath(std::string_view stored) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < stored.size();) {
    const std::size_t n = CharLength(stored, i);
    if (n == 1 && IsStoredSeparator(static_cast<unsigned char>(stored[i]))) {
      parts.emplace_back();
    } else {
      parts.back().append(stored.substr(i, n));
    }
    i += n;
  }
  return parts;
}

std::string NormaliseSeparators(std::string_view stored) {
  std::string out;
  out.reserve(stored.size());
  for (std::size_t i = 0; i < stored.size();) {
    const std::size_t n = CharLength(stored, i);
    if (n == 1 && IsStoredSeparator(static_cast<unsigned char>(stored[i]))) {
      out.push_back('\\');
    } else {
      out.append(stored.substr(i, n));
    }
    i += n;
  }
  return out;
}

std::string EscapeForDisplay(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t n = CharLength(name, i);
    const auto byte = static_cast<unsigned char>(name[i]);
    // Control characters could move a terminal's cursor or rewrite its title;
    // a lone lead byte or 0x80/0xA0/0xFD-0xFF is no character at all.
    const bool printable =
        n == 2 || (byte >= 0x20 && byte < 0x7F) || (byte >= 0xA1 && byte <= 0xDF);
    if (printable) {
      out.append(name.substr(i, n));
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
    i += n;
  }
  return out;
}

}  // namespace pelko::lzh
