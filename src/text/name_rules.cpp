#include "text/name_rules.h"

#include "text/code_page.h"

namespace pelko::cp932 {
namespace {

constexpr std::string_view kFileNameForbidden = "\\/:*?\"<>|";
constexpr std::string_view kVolumeLabelForbidden = "\\/:*?\"<>|+,.;=[]";

bool IsForbiddenByte(unsigned char byte, NameRule rule) {
  if (byte < 0x20) return true;
  const std::string_view forbidden =
      rule == NameRule::VolumeLabel ? kVolumeLabelForbidden : kFileNameForbidden;
  return forbidden.find(static_cast<char>(byte)) != std::string_view::npos;
}

}  // namespace

bool HoldsForbiddenCharacter(std::string_view text, NameRule rule) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(byte)) {
      if (i + 1 == text.size()) return true;
      ++i;
    } else if (IsForbiddenByte(byte, rule)) {
      return true;
    }
  }
  return false;
}

bool IsForbiddenName(std::string_view name) {
  return name.empty() || HoldsForbiddenCharacter(name, NameRule::FileName);
}

}  // namespace pelko::cp932
