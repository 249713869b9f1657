#include "text/cp932_path.h"

#include "text/code_page.h"

namespace pelko::cp932 {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool EndsInBackslash(std::string_view text) {
  return !text.empty() && FindLastBackslash(text) == text.size() - 1;
}

}  // namespace

std::string_view Path::LastComponent() const {
  const std::size_t slash = FindLastBackslash(text_);
  const std::string_view text = text_;
  return slash == std::string_view::npos ? text : text.substr(slash + 1);
}

Path Path::Parent() const {
  const std::size_t slash = FindLastBackslash(text_);
  return slash == std::string_view::npos ? Path() : Path(std::string_view(text_).substr(0, slash));
}

std::vector<Path> Path::Ancestors() const {
  std::vector<Path> ancestors;
  for (std::size_t slash = FindFirstChar(text_, '\\'); slash != std::string_view::npos;
       slash = FindFirstChar(text_, '\\', slash + 1)) {
    ancestors.emplace_back(std::string_view(text_).substr(0, slash));
  }
  return ancestors;
}

Path Path::Child(std::string_view name) const {
  if (text_.empty()) return Path(name);
  Path child(*this);
  child.text_ += '\\';
  child.text_ += name;
  return child;
}

std::vector<std::string> Path::Components() const {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < text_.size();) {
    const std::size_t length = CharacterLength(text_, i);
    if (length == 1 && text_[i] == '\\') {
      parts.emplace_back();
    } else {
      parts.back().append(text_, i, length);
    }
    i += length;
  }
  return parts;
}

Path Path::WithTrailingBackslash() const {
  if (EndsInBackslash(text_)) return *this;
  Path with(*this);
  with.text_ += '\\';
  return with;
}

Path Path::WithoutTrailingBackslashes() const {
  Path without(*this);
  while (EndsInBackslash(without.text_)) without.text_.pop_back();
  return without;
}

bool Path::ReachesOutside() const {
  if (!text_.empty() && text_[0] == '\\') return true;
  if (FindFirstChar(text_, ':') != std::string_view::npos) return true;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text_.size(); ++i) {
    if (i < text_.size() && IsLeadByte(static_cast<unsigned char>(text_[i]))) {
      ++i;  // the trail byte belongs to this character, whatever it is
      continue;
    }
    if (i < text_.size() && !IsSeparator(text_[i])) continue;
    const std::string_view part = std::string_view(text_).substr(start, i - start);
    if (part == "." || part == "..") return true;
    start = i + 1;
  }
  return false;
}

}  // namespace pelko::cp932
