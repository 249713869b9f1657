#include "fat/volume_label.h"

#include <cstring>

#include "text/code_page.h"

namespace pelko::fat {

Result<std::string> MakeVolumeLabel(std::string_view label) {
  std::string upper = cp932::UpperCaseLabel(label);
  if (upper.size() > 11) return Failed(win::ERROR_LABEL_TOO_LONG);
  for (std::size_t i = 0; i < upper.size(); ++i) {
    auto c = static_cast<unsigned char>(upper[i]);
    if (cp932::IsLeadByte(c)) {
      if (i + 1 >= upper.size()) return Failed(win::ERROR_INVALID_NAME);
      ++i;  // a trail byte may be anything, 0x5C and 0x7C included
      continue;
    }
    if (c < 0x20 || std::strchr("\"*+,./:;<=>?[\\]|", c) != nullptr)
      return Failed(win::ERROR_INVALID_NAME);
  }
  while (!upper.empty() && upper.back() == ' ') upper.pop_back();
  return upper;
}

}  // namespace pelko::fat
