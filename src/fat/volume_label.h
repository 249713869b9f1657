// The rules Windows applies to a new volume label on a FAT disk.
#pragma once

#include <string>
#include <string_view>

#include "fat/fat_result.h"

namespace pelko::fat {

// Upper-cases `label` (CP932) as Windows does, then checks it: more than 11
// bytes is ERROR_LABEL_TOO_LONG (154); a lone lead byte, a control character
// or one of " * + , . / : ; < = > ? [ \ ] | outside a double-byte character
// is ERROR_INVALID_NAME (123). Trailing blanks are cut; an empty result means
// "remove the label".
Result<std::string> MakeVolumeLabel(std::string_view label);

}  // namespace pelko::fat
