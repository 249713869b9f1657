// The characters Windows refuses in names, checked one CP932 character at a
// time: a trail byte (0x5C in 表, 0x7C in ポ) is never taken for one of them,
// and a lead byte without its trail byte makes no character at all.
#pragma once

#include <string_view>

namespace pelko::cp932 {

enum class NameRule {
  // Any file or folder name: control characters and \ / : * ? " < > |.
  FileName,
  // A FAT volume label: besides those, + , . ; = [ ] (FAT's own set).
  VolumeLabel,
};

// True when the text holds a character the rule refuses outside a
// double-byte character, or ends in a lead byte cut off from its trail byte.
// DEL (0x7F) is allowed by both rules, as Windows allows it.
bool HoldsForbiddenCharacter(std::string_view cp932Text, NameRule rule);

// A file or folder name Windows refuses: empty, or holding a character the
// file-name rule refuses.
bool IsForbiddenName(std::string_view cp932Name);

}  // namespace pelko::cp932
