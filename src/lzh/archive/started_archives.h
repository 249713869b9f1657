// The archives this process started from nothing (a backup's working copy,
// built by one Add command per list entry): only these may take new
// entries in place, at their end, instead of being rebuilt beside and
// renamed for every command. An interrupted append damages only such an
// archive, which nobody had before; an archive that was already there is
// never recorded, and one changed by anyone else since is forgotten.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pelko::lzh {

// Where new entries go in `archivePath` (the offset of its end mark): when
// this process started it, it is exactly as this process left it, and it
// holds none of `nameKeys`. Otherwise nothing, and the archive is forgotten.
std::optional<std::uint64_t> StartedArchiveEnd(const std::string& archivePath,
                                               const std::vector<std::string>& nameKeys);
// After a completed add: the archive as it is now on disk, with the name
// keys just added (a new archive, when `started`, begins a new record).
void RememberStartedArchive(const std::string& archivePath, bool started,
                            std::set<std::string> addedKeys, std::uint64_t end);

}  // namespace pelko::lzh
