#include "ui/message_text.h"

#include <vector>

#include "text/code_page.h"

namespace pelko::ui {

std::string FillMessage(std::string_view utf8Template,
                        std::initializer_list<std::string_view> arguments) {
  // '%' and the digits are never bytes of a double-byte character in CP932.
  std::string text = cp932::FromUtf8Literal(utf8Template);
  std::vector<std::string_view> values(arguments);
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      std::size_t index = static_cast<std::size_t>(text[i + 1] - '1');
      if (index < values.size()) {
        result += values[index];
        ++i;
        continue;
      }
    }
    result += text[i];
  }
  return result;
}

}  // namespace pelko::ui
