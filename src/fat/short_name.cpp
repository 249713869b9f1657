#include "fat/short_name.h"

#include <cstring>

#include "text/ascii_case.h"
#include "text/code_page.h"

namespace pelko::fat {
namespace {

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// Single bytes a short name may hold (after upper-casing); a trail byte of a
// double-byte character is never checked against this list.
bool IsShortNameByte(unsigned char c) {
  if (c >= 0x80) return true;
  if (text::IsAsciiUpper(static_cast<char>(c)) || (c >= '0' && c <= '9')) return true;
  return std::strchr("!#$%&'()-@^_`{}~", c) != nullptr && c != 0;
}

enum class Case { None, Lower, Upper, Mixed };

Case Combine(Case a, Case b) {
  if (a == Case::None) return b;
  if (b == Case::None || a == b) return a;
  return Case::Mixed;
}

// Upper-cases one part into `out` and reports the case it had.
Result<Case> CopyPart(std::string_view part, std::uint8_t* out, std::size_t room) {
  if (part.size() > room) return Failed(win::ERROR_INVALID_NAME);
  Case seen = Case::None;
  for (std::size_t i = 0; i < part.size(); ++i) {
    auto c = static_cast<unsigned char>(part[i]);
    if (cp932::IsLeadByte(c)) {
      if (i + 1 >= part.size() || !IsTrailByte(static_cast<unsigned char>(part[i + 1])))
        return Failed(win::ERROR_INVALID_NAME);
      out[i] = c;
      out[i + 1] = static_cast<unsigned char>(part[i + 1]);
      ++i;
      continue;
    }
    if (text::IsAsciiLower(static_cast<char>(c))) {
      seen = Combine(seen, Case::Lower);
      c = static_cast<unsigned char>(text::AsciiUpper(static_cast<char>(c)));
    } else if (text::IsAsciiUpper(static_cast<char>(c))) {
      seen = Combine(seen, Case::Upper);
    }
    if (!IsShortNameByte(c)) return Failed(win::ERROR_INVALID_NAME);
    out[i] = c;
  }
  return seen;
}

// Lower-cases ASCII letters that are not trail bytes.
std::string LowerSingleBytes(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    auto c = static_cast<unsigned char>(out[i]);
    if (cp932::IsLeadByte(c)) {
      ++i;
    } else {
      out[i] = text::AsciiLower(out[i]);
    }
  }
  return out;
}

std::string_view TrimRightSpaces(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

Result<ShortName> MakeShortName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return Failed(win::ERROR_INVALID_NAME);
  // 0x2E is never a trail byte, so a plain search finds the real dots.
  std::size_t dot = name.find('.');
  if (dot != std::string_view::npos && name.find('.', dot + 1) != std::string_view::npos)
    return Failed(win::ERROR_INVALID_NAME);
  std::string_view base = name.substr(0, dot);
  std::string_view ext = dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
  if (base.empty() || (dot != std::string_view::npos && ext.empty()))
    return Failed(win::ERROR_INVALID_NAME);

  ShortName result;
  result.bytes.fill(' ');
  Result<Case> baseCase = CopyPart(base, result.bytes.data(), 8);
  if (!baseCase) return baseCase.status();
  Result<Case> extCase = CopyPart(ext, result.bytes.data() + 8, 3);
  if (!extCase) return extCase.status();
  if (*baseCase == Case::Lower) result.caseFlags |= kLowerCaseBase;
  if (*extCase == Case::Lower) result.caseFlags |= kLowerCaseExtension;
  if (result.bytes[0] == kDeletedMark) result.bytes[0] = kEscapedE5;
  return result;
}

std::string ShortNameText(const ShortNameBytes& bytes, std::uint8_t caseFlags) {
  std::string raw(bytes.begin(), bytes.end());
  if (static_cast<unsigned char>(raw[0]) == kEscapedE5) raw[0] = static_cast<char>(kDeletedMark);
  std::string base(TrimRightSpaces(std::string_view(raw).substr(0, 8)));
  std::string ext(TrimRightSpaces(std::string_view(raw).substr(8, 3)));
  if (caseFlags & kLowerCaseBase) base = LowerSingleBytes(base);
  if (caseFlags & kLowerCaseExtension) ext = LowerSingleBytes(ext);
  return ext.empty() ? base : base + "." + ext;
}

std::uint8_t ShortNameChecksum(const ShortNameBytes& bytes) {
  std::uint8_t sum = 0;
  for (std::uint8_t b : bytes) {
    sum = static_cast<std::uint8_t>(((sum & 1) << 7) + (sum >> 1) + b);
  }
  return sum;
}

bool SameName(std::string_view a, std::string_view b) { return cp932::EqualIgnoringCase(a, b); }

}  // namespace pelko::fat
