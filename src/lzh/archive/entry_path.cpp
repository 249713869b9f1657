#include "lzh/archive/entry_path.h"

#include "lzh/archive/path_names.h"
#include "platform/windows_path.h"
#include "text/code_page.h"
#include "text/name_rules.h"

namespace pelko::lzh {
namespace {

PathVerdict CheckComponent(const std::string& part, bool first) {
  if (part.empty()) return first ? PathVerdict::Absolute : PathVerdict::EmptyComponent;
  if (cp932::FindFirstChar(part, ':') != std::string::npos) return PathVerdict::DriveLetter;
  if (part == "..") return PathVerdict::ParentReference;
  // Windows drops trailing dots and spaces: "..." or ". ." would name the
  // folder itself or its parent there.
  if (part.find_first_not_of(". ") == std::string::npos) return PathVerdict::DotName;
  if (cp932::IsForbiddenName(part)) return PathVerdict::ForbiddenCharacter;
  return PathVerdict::Safe;
}

}  // namespace

CheckedPath CheckEntryPath(std::string_view storedPath) {
  CheckedPath result;
  if (storedPath.empty()) return result;
  std::vector<std::string> parts = SplitStoredPath(storedPath);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const PathVerdict verdict = CheckComponent(parts[i], i == 0);
    if (verdict != PathVerdict::Safe) {
      result.verdict = verdict;
      return result;
    }
  }
  result.verdict = PathVerdict::Safe;
  result.components = std::move(parts);
  return result;
}

}  // namespace pelko::lzh
