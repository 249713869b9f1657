#include "archive/working_copy_check.h"

#include <algorithm>

#include "lzh/archive/extractor.h"
#include "text/win_error.h"

namespace pelko::archive {

WorkingCopyState TestWorkingCopy(std::string_view workingCopy) {
  lzh::ExtractOptions options;
  options.testOnly = true;
  const lzh::ExtractReport report = lzh::ExtractArchive(workingCopy, options);
  if (report.openError != win::ERROR_SUCCESS) return WorkingCopyState::Unreadable;
  const auto sound =
      std::count_if(report.entries.begin(), report.entries.end(), [](const lzh::EntryReport& e) {
        return e.outcome == lzh::EntryOutcome::Extracted ||
               e.outcome == lzh::EntryOutcome::FolderCreated;
      });
  if (sound == 0) return WorkingCopyState::Unreadable;
  const bool whole =
      static_cast<std::size_t>(sound) == report.entries.size() && report.brokenHeaders.empty();
  return whole ? WorkingCopyState::Whole : WorkingCopyState::PartlyDamaged;
}

}  // namespace pelko::archive
