// ASCII letters and their case: drive letters, switches, method names, and
// the single-byte letters of CP932 names (a trail byte is never a letter:
// callers that walk CP932 text skip trail bytes first).
#pragma once

#include <string>
#include <string_view>

namespace pelko::text {

constexpr bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool IsAsciiLetter(char c) { return IsAsciiUpper(c) || IsAsciiLower(c); }

constexpr char AsciiLower(char c) { return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return IsAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }

// Every byte lowered; for texts that are ASCII by nature (switches, method
// names), not for CP932 names.
inline std::string ToAsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

}  // namespace pelko::text
