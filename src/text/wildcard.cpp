#include "text/wildcard.h"

#include <vector>

#include "text/ascii_case.h"
#include "text/code_page.h"

namespace pelko::cp932 {
namespace {

// Characters of a CP932 text: one byte, or the two of a double-byte one (a
// lead byte at the very end stands alone).
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = CharacterLength(text, i);
    out.push_back(text.substr(i, width));
    i += width;
  }
  return out;
}

bool SameCharacter(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.size() == 1) return text::AsciiLower(a[0]) == text::AsciiLower(b[0]);
  return a == b;
}

}  // namespace

bool WildcardMatches(std::string_view patternText, std::string_view nameText) {
  const std::vector<std::string_view> pattern = Characters(patternText);
  const std::vector<std::string_view> name = Characters(nameText);
  std::size_t p = 0;
  std::size_t n = 0;
  // Where to resume after the last '*': the pattern just past it, and the
  // name position it has swallowed up to.
  std::size_t starP = std::string_view::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == "*") {
      starP = ++p;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == "?" || SameCharacter(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == "*") ++p;
  return p == pattern.size();
}

bool HoldsWildcard(std::string_view name) {
  return FindFirstChar(name, '*') != std::string_view::npos ||
         FindFirstChar(name, '?') != std::string_view::npos;
}

}  // namespace pelko::cp932
