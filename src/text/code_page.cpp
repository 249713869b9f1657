#include "text/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "text/ascii_case.h"

namespace pelko::cp932 {
namespace {

// One conversion with glibc iconv. Any byte sequence that is invalid in the
// source, or a character the target cannot hold, makes the whole conversion
// fail: a name is never silently changed.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  iconv_t cd = iconv_open(to, from);
  // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's documented failure value
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 3 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  std::size_t used = 0;
  bool ok = true;
  while (inLeft > 0) {
    char* outPtr = out.data() + used;
    std::size_t outLeft = out.size() - used;
    std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    used = out.size() - outLeft;
    if (r == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      ok = false;  // EILSEQ or EINVAL (a cut-off character)
      break;
    }
    if (r != 0) {  // irreversible conversions: glibc substituted something
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(used);
  return out;
}

// Sets `byte` to the upper-case form of a double-byte small letter; trail byte
// ranges of CP932 rows 0x82 (full-width Latin), 0x83 (Greek), 0x84 (Cyrillic).
bool UpperDoubleByte(unsigned char lead, unsigned char& trail) {
  if (lead == 0x82 && trail >= 0x81 && trail <= 0x9A) {  // ａ-ｚ -> Ａ-Ｚ
    trail -= 0x21;
    return true;
  }
  if (lead == 0x83 && trail >= 0xBF && trail <= 0xD6) {  // α-ω -> Α-Ω
    trail -= 0x20;
    return true;
  }
  if (lead == 0x84 && trail >= 0x70 && trail <= 0x91 && trail != 0x7F) {  // а-я, ё
    // The small row skips 0x7F (not a valid trail byte); the capital row does not.
    unsigned index = trail < 0x7F ? trail - 0x70 : trail - 0x71;
    trail = static_cast<unsigned char>(0x40 + index);
    return true;
  }
  return false;
}

}  // namespace

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t CharacterLength(std::string_view text, std::size_t at) {
  return IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

std::size_t FindLastBackslash(std::string_view text) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;  // the trail byte is part of this character
    } else if (text[i] == '\\') {
      found = i;
    }
  }
  return found;
}

std::size_t FindFirstChar(std::string_view text, char c, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == c) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::size_t PrefixWithoutSplit(std::string_view text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t width = IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return end < text.size() ? end : text.size();
}

std::optional<std::string> ToUtf8(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932);
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  auto cp932 = Convert("CP932", "UTF-8", utf8);
  if (!cp932) return std::nullopt;
  // glibc maps a few characters one way only (U+00A5 to 0x5C, U+301C to
  // 0x81 0x60, U+2212 to 0x81 0x7C). Such a name would come back as another
  // one (a yen sign would even become a path separator), so it has no form.
  auto back = Convert("UTF-8", "CP932", *cp932);
  if (!back || *back != utf8) return std::nullopt;
  return cp932;
}

std::string FromUtf8Literal(std::string_view utf8) {
  auto cp932 = FromUtf8(utf8);
  if (!cp932) {
    std::fprintf(stderr, "internal text has no CP932 form: %.*s\n", static_cast<int>(utf8.size()),
                 utf8.data());
    std::abort();
  }
  return *cp932;
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(byte)) {
      if (i + 1 < out.size()) {
        unsigned char trail = static_cast<unsigned char>(out[i + 1]);
        if (UpperDoubleByte(byte, trail)) out[i + 1] = static_cast<char>(trail);
      }
      ++i;
    } else {
      out[i] = text::AsciiUpper(out[i]);
    }
  }
  return out;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

}  // namespace pelko::cp932
