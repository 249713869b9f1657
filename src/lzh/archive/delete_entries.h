// Delete: named entries out of an archive, each name selecting its entry and
// everything stored below it. The archive is rebuilt beside itself and put
// in place only when complete; when no name matches, it is not touched.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lzh/codec/lzh_error.h"
#include "text/win_error.h"

namespace pelko::lzh {

struct DeleteReport {
  std::vector<std::string> deleted;        // stored names, in archive order
  std::vector<std::string> unmatched;      // names that selected nothing
  LzhError archiveError = LzhError::None;  // the archive is damaged: nothing deleted
  win::DWORD win32 = win::ERROR_SUCCESS;   // could not be read or rebuilt: unchanged

  bool Succeeded() const { return archiveError == LzhError::None && win32 == win::ERROR_SUCCESS; }
};

// Whether a name picks a stored entry. The usual rule, NameSelectsEntry:
// the name's components match the stored path's first components, so a
// name takes its entry and everything stored below it.
using NameRule = bool (*)(std::string_view name, std::string_view storedPath);

bool NameSelectsEntry(std::string_view name, std::string_view storedPath);

// `names` are CP932, components divided by '\' or '/'; each component may
// hold '*' and '?' (matched as the exclusion patterns match).
DeleteReport DeleteFromArchive(std::string_view archivePath, const std::vector<std::string>& names,
                               NameRule selects = NameSelectsEntry);

}  // namespace pelko::lzh
