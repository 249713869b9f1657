#include "store/text_lines.h"

#include <array>
#include <span>

#include "platform/file_stream.h"

namespace pelko::store {
namespace {

// One line being read: its text so far, and whether a NUL or its length has
// already settled what it keeps.
class LineBuilder {
 public:
  void Append(std::string_view bytes) {
    if (ended_ || overlong_) return;
    std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) {
      bytes = bytes.substr(0, nul);
      ended_ = true;
    }
    if (bytes.size() > kMaxLineTextBytes - text_.size()) {
      overlong_ = true;
      text_.clear();
      text_.shrink_to_fit();
      return;
    }
    if (bytes.empty()) return;
    text_ += bytes;
    rawEndsInCr_ = !ended_ && bytes.back() == '\r';
  }

  // The line's end: its text goes to `lines` unless it was overlong.
  void End(std::vector<std::string>& lines) {
    if (!overlong_) {
      if (rawEndsInCr_) text_.pop_back();  // the CR of a CR LF
      lines.push_back(std::move(text_));
    }
    *this = LineBuilder();
  }

 private:
  std::string text_;
  bool ended_ = false;
  bool overlong_ = false;
  bool rawEndsInCr_ = false;
};

}  // namespace

bool ReadTextLines(std::string_view path, std::vector<std::string>& lines) {
  lines.clear();
  auto file = win::OpenFile(path, win::OpenMode::Read);
  if (!file) return false;
  std::array<std::byte, 65536> block;
  std::size_t got = 0;
  LineBuilder line;
  bool lineOpen = false;  // bytes of a line not ended yet have been read
  while (true) {
    if (!file->Read(block, got)) {
      lineOpen = false;  // a cut line might name another path
      break;
    }
    if (got == 0) break;
    std::string_view bytes(reinterpret_cast<const char*>(block.data()), got);
    while (!bytes.empty()) {
      std::size_t end = bytes.find('\n');
      line.Append(bytes.substr(0, end));
      lineOpen = end == std::string_view::npos;
      if (lineOpen) break;
      line.End(lines);
      bytes.remove_prefix(end + 1);
    }
  }
  file->Close();
  if (lineOpen) line.End(lines);
  return true;
}

}  // namespace pelko::store
