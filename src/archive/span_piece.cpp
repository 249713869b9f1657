#include "archive/span_piece.h"

#include "text/code_page.h"

namespace pelko::archive {

std::string FormatDiskPrompt(std::string_view utf8Pattern, int diskNumber) {
  std::string text = cp932::FromUtf8Literal(utf8Pattern);
  std::size_t slot = text.find("%d");
  if (slot != std::string::npos) text.replace(slot, 2, std::to_string(diskNumber));
  return text;
}

}  // namespace pelko::archive
