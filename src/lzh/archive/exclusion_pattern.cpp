#include "lzh/archive/exclusion_pattern.h"

#include "text/code_page.h"
#include "text/cp932_path.h"
#include "text/wildcard.h"

namespace pelko::lzh {
namespace {

// Splits at backslashes that are not trail bytes; empty components (a
// leading, doubled or trailing backslash) are dropped.
std::vector<std::string> SplitName(std::string_view name) {
  std::vector<std::string> parts = cp932::Path(name).Components();
  std::erase_if(parts, [](const std::string& part) { return part.empty(); });
  return parts;
}

}  // namespace

ExclusionPattern::ExclusionPattern(std::string_view pattern)
    : components_(SplitName(pattern)),
      lastComponentOnly_(cp932::FindFirstChar(pattern, '\\') == std::string_view::npos) {}

bool ExclusionPattern::Selects(std::string_view relativeName) const {
  if (components_.empty()) return false;
  const std::vector<std::string> name = SplitName(relativeName);
  if (name.empty()) return false;
  if (lastComponentOnly_) return cp932::WildcardMatches(components_.front(), name.back());
  if (name.size() != components_.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (!cp932::WildcardMatches(components_[i], name[i])) return false;
  }
  return true;
}

void ExclusionList::Add(std::string_view pattern) { patterns_.emplace_back(pattern); }

bool ExclusionList::SelectsItself(std::string_view relativeName) const {
  for (const ExclusionPattern& pattern : patterns_) {
    if (pattern.Selects(relativeName)) return true;
  }
  return false;
}

bool ExclusionList::Excludes(std::string_view relativeName) const {
  if (patterns_.empty()) return false;
  // The name itself, then each folder above it.
  std::string_view name = relativeName;
  for (;;) {
    if (SelectsItself(name)) return true;
    const std::size_t slash = cp932::FindLastBackslash(name);
    if (slash == std::string_view::npos) return false;
    name = name.substr(0, slash);
  }
}

}  // namespace pelko::lzh
