#include "fat/volume_label.h"

#include "text/code_page.h"
#include "text/name_rules.h"

namespace pelko::fat {

Result<std::string> MakeVolumeLabel(std::string_view label) {
  std::string upper = cp932::UpperCase(label);
  if (upper.size() > 11) return Failed(win::ERROR_LABEL_TOO_LONG);
  if (cp932::HoldsForbiddenCharacter(upper, cp932::NameRule::VolumeLabel)) {
    return Failed(win::ERROR_INVALID_NAME);
  }
  while (!upper.empty() && upper.back() == ' ') upper.pop_back();
  return upper;
}

}  // namespace pelko::fat
