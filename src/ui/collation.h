// The one collation of every sorted list (list boxes and combo boxes with
// style::Sorted, in every host): CP932 byte order with the ASCII letters
// compared without case, ties broken by the bytes themselves. Double-byte
// characters compare by their two bytes, so a trail byte that looks like a
// letter is never folded. Display and stored order are therefore the same.
#pragma once

#include <string_view>

namespace pelko::ui {

// < 0, 0 or > 0; 0 only for identical byte strings.
int CompareListItems(std::string_view a, std::string_view b);

}  // namespace pelko::ui
