#include "store/record_bytes.h"

#include <algorithm>
#include <array>
#include <span>

#include "platform/file_stream.h"
#include "text/code_page.h"
#include "text/little_endian.h"

namespace pelko::store {

bool ReadStoredFile(std::string_view path, std::string& bytes, std::size_t maxBytes) {
  bytes.clear();
  auto file = win::OpenFile(path, win::OpenMode::Read);
  if (!file) return false;
  std::array<std::byte, 4096> block;
  std::size_t got = 0;
  while (bytes.size() < maxBytes) {
    std::span<std::byte> wanted(block.data(), std::min(block.size(), maxBytes - bytes.size()));
    if (!file->Read(wanted, got) || got == 0) break;
    bytes.append(reinterpret_cast<const char*>(block.data()), got);
  }
  file->Close();
  return true;
}

bool WriteStoredFile(std::string_view path, std::string_view bytes) {
  auto file = win::OpenFile(path, win::OpenMode::CreateAlways);
  if (!file) return false;
  bool written = file->Write(std::as_bytes(std::span(bytes.data(), bytes.size())));
  bool closed = file->Close();
  return written && closed;
}

std::optional<std::uint8_t> ByteAt(std::string_view bytes, std::size_t offset) {
  if (offset >= bytes.size()) return std::nullopt;
  return static_cast<std::uint8_t>(bytes[offset]);
}

std::optional<std::int32_t> Int32At(std::string_view bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return std::nullopt;
  return static_cast<std::int32_t>(text::LoadLe32(bytes, offset));
}

std::optional<std::string> TextFieldAt(std::string_view bytes, std::size_t offset,
                                       std::size_t fieldSize) {
  if (offset >= bytes.size()) return std::nullopt;
  std::string_view field = bytes.substr(offset, fieldSize);
  std::size_t end = field.find('\0');
  if (end != std::string_view::npos) return std::string(field.substr(0, end));
  if (field.size() < fieldSize) return std::nullopt;
  return std::string(field.substr(0, cp932::PrefixWithoutSplit(field, fieldSize - 1)));
}

void AppendInt32(std::string& out, std::int32_t value) {
  text::AppendLittleEndian(out, static_cast<std::uint32_t>(value), 4);
}

void AppendTextField(std::string& out, std::string_view text, std::size_t fieldSize) {
  out.append(text);
  out.append(fieldSize - text.size(), '\0');
}

bool FitsTextField(std::string_view text, std::size_t fieldSize) {
  return text.size() < fieldSize && text.find('\0') == std::string_view::npos;
}

}  // namespace pelko::store
