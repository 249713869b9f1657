// The exclusion switches of every backup add command, built from the two
// exclusion lists.
#pragma once

#include <string>

#include "store/exclusion_lists.h"

namespace pelko::store {

// One " -jx\"entry\"" per file entry, then for each folder entry one
// " -jx\"*\\...entry\"" per level of the search depth (clamped to 1 to 10),
// the prefix "*\" growing by one "*\" a level. Empty when the files list is
// missing or its switch is off (the folders list is then not used). An entry
// holding a double quote is left out.
std::string BuildExclusionSwitches(const std::optional<ExcludedFilesList>& files,
                                   const std::optional<ExcludedFoldersList>& folders);

// Reads `ExtFiles.exc` and `ExtFolder.exc` (the latter only when needed).
std::string BuildExclusionSwitches();

}  // namespace pelko::store
