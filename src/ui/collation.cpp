#include "ui/collation.h"

#include "text/ascii_case.h"
#include "text/code_page.h"

namespace pelko::ui {
namespace {

unsigned char FoldAscii(unsigned char byte) {
  return static_cast<unsigned char>(text::AsciiLower(static_cast<char>(byte)));
}

// Byte order with single-byte ASCII letters folded; a double-byte
// character's bytes are compared as they are.
int CompareFolded(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  bool inDoubleByte = false;
  while (i < a.size() && i < b.size()) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (!inDoubleByte) {
      // Same bytes so far, so a lead byte in one is a lead byte in the other.
      bool lead = cp932::IsLeadByte(x);
      if (!lead) {
        x = FoldAscii(x);
        y = FoldAscii(y);
      }
      inDoubleByte = lead && x == y;
    } else {
      inDoubleByte = false;
    }
    if (x != y) return x < y ? -1 : 1;
    ++i;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

int CompareListItems(std::string_view a, std::string_view b) {
  int folded = CompareFolded(a, b);
  if (folded != 0) return folded;
  int raw = a.compare(b);
  return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
}

}  // namespace pelko::ui
