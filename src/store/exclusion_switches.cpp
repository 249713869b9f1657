#include "store/exclusion_switches.h"

#include <algorithm>

namespace pelko::store {
namespace {

// A quote would end the switch early and let the rest of the entry read as
// more of the command; no Windows name holds one, so such a pattern could
// never match anything anyway. An empty entry (a damaged list) would be a
// switch without a pattern, which refuses the whole command.
void AppendPattern(std::string& switches, std::string_view pattern) {
  if (pattern.empty() || pattern.find('"') != std::string_view::npos) return;
  switches += " -jx\"";
  switches += pattern;
  switches += '"';
}

}  // namespace

std::string BuildExclusionSwitches(const std::optional<ExcludedFilesList>& files,
                                   const std::optional<ExcludedFoldersList>& folders) {
  std::string switches;
  if (!files || files->excludeEnabled == 0) return switches;
  // An empty entry would refuse every add (-jx"") or exclude everything (-jx"*\").
  for (const std::string& entry : files->entries) {
    if (!entry.empty()) AppendPattern(switches, entry);
  }
  if (!folders) return switches;
  int depth = std::clamp<int>(folders->searchDepth, kMinSearchDepth, kMaxSearchDepth);
  for (const std::string& entry : folders->entries) {
    if (entry.empty()) continue;
    std::string prefix;
    for (int level = 0; level < depth; ++level) {
      prefix += "*\\";
      AppendPattern(switches, prefix + entry);
    }
  }
  return switches;
}

std::string BuildExclusionSwitches() {
  auto files = ReadExcludedFilesList();
  if (!files || files->excludeEnabled == 0) return {};
  return BuildExclusionSwitches(files, ReadExcludedFoldersList());
}

}  // namespace pelko::store
