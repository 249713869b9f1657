// File access and fixed-layout fields shared by the stored files of the
// program folder: little-endian integers and NUL-terminated text fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelko::store {

// Reads the file's first `maxBytes` bytes, all of a shorter file: a layout
// never uses more, and an oversized file must not cost its size in memory.
// False only when it cannot be opened (the caller's "missing"); a read that
// fails part way keeps what came before it.
bool ReadStoredFile(std::string_view path, std::string& bytes, std::size_t maxBytes);

// Creates or truncates the file and writes the bytes; false with the
// last-error code when creating, writing or closing fails.
bool WriteStoredFile(std::string_view path, std::string_view bytes);

// Fields read from a file that may be shorter than its layout: nullopt when
// the file does not hold the whole field.
std::optional<std::uint8_t> ByteAt(std::string_view bytes, std::size_t offset);
std::optional<std::int32_t> Int32At(std::string_view bytes, std::size_t offset);

// A text field of `fieldSize` bytes: the text up to its NUL. A field without
// a NUL is cut, without splitting a double-byte character, to the longest
// text a writer could have stored (fieldSize - 1). nullopt when the file ends
// before both the NUL and the end of the field.
std::optional<std::string> TextFieldAt(std::string_view bytes, std::size_t offset,
                                       std::size_t fieldSize);

void AppendInt32(std::string& out, std::int32_t value);
// The text, its NUL and zeros up to `fieldSize` bytes; the text must be
// shorter than the field (writers check this first).
void AppendTextField(std::string& out, std::string_view text, std::size_t fieldSize);

// True when a text fits a field of `fieldSize` bytes with its NUL and holds
// no NUL of its own.
bool FitsTextField(std::string_view text, std::size_t fieldSize);

}  // namespace pelko::store
