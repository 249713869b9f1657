#include "lzh/exclusion_pattern.h"

#include "text/code_page.h"

namespace pelko::lzh {
namespace {

// Splits at backslashes that are not trail bytes; empty components (a
// leading, doubled or trailing backslash) are dropped.
std::vector<std::string> SplitName(std::string_view name) {
  std::vector<std::string> parts;
  std::string current;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (cp932::IsLeadByte(c) && i + 1 < name.size()) {
      current += name[i];
      current += name[++i];
    } else if (c == '\\') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += name[i];
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

// Characters of a CP932 text: one or two bytes each.
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width =
        cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    out.push_back(text.substr(i, width));
    i += width;
  }
  return out;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameCharacter(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.size() == 1) return AsciiLower(a[0]) == AsciiLower(b[0]);
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

ExclusionPattern::ExclusionPattern(std::string_view pattern)
    : components_(SplitName(pattern)),
      lastComponentOnly_(cp932::FindFirstChar(pattern, '\\') == std::string_view::npos) {}

bool ExclusionPattern::Selects(std::string_view relativeName) const {
  if (components_.empty()) return false;
  const std::vector<std::string> name = SplitName(relativeName);
  if (name.empty()) return false;
  if (lastComponentOnly_) return WildcardMatches(components_.front(), name.back());
  if (name.size() != components_.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (!WildcardMatches(components_[i], name[i])) return false;
  }
  return true;
}

void ExclusionList::Add(std::string_view pattern) { patterns_.emplace_back(pattern); }

bool ExclusionList::SelectsItself(std::string_view relativeName) const {
  for (const ExclusionPattern& pattern : patterns_) {
    if (pattern.Selects(relativeName)) return true;
  }
  return false;
}

bool ExclusionList::Excludes(std::string_view relativeName) const {
  if (patterns_.empty()) return false;
  // The name itself, then each folder above it.
  std::string_view name = relativeName;
  for (;;) {
    if (SelectsItself(name)) return true;
    const std::size_t slash = cp932::FindLastBackslash(name);
    if (slash == std::string_view::npos) return false;
    name = name.substr(0, slash);
  }
}

}  // namespace pelko::lzh
