// CP932 (Shift-JIS as Windows has it): the code page of every string the tool
// handles. Conversions to UTF-8 happen only at the host file system and at Qt.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pelko::cp932 {

// First byte of a double-byte character: 0x81-0x9F, 0xE0-0xFC.
bool IsLeadByte(unsigned char byte);

// Bytes of the character at `at`: 2 for a lead byte with a byte after it,
// else 1 (a lead byte cut off at the end stands alone).
std::size_t CharacterLength(std::string_view text, std::size_t at);

// Position of the last backslash, each double-byte character taken as one
// character (the trail byte of 表, 0x95 0x5C, is not a backslash); npos if none.
std::size_t FindLastBackslash(std::string_view text);

// Position of the first occurrence of `c` (an ASCII byte) that is not a trail byte.
std::size_t FindFirstChar(std::string_view text, char c, std::size_t from = 0);

// Byte length of the longest prefix of at most `maxBytes` bytes that does not
// split a double-byte character.
std::size_t PrefixWithoutSplit(std::string_view text, std::size_t maxBytes);

// nullopt when the text is not valid CP932 / has no CP932 form: never a '?'.
std::optional<std::string> ToUtf8(std::string_view cp932);
std::optional<std::string> FromUtf8(std::string_view utf8);

// For literals known to convert (the tool's own texts): aborts if they do not.
std::string FromUtf8Literal(std::string_view utf8);

// Upper-casing as Windows' FAT driver does it for volume labels and for the
// names it compares: ASCII a-z and the double-byte full-width Latin, Greek
// and Cyrillic small letters; a trail byte is never taken for a letter.
std::string UpperCase(std::string_view text);

// Two file names, paths or labels as Windows compares them: equal but for
// exactly the case that UpperCase changes.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace pelko::cp932
