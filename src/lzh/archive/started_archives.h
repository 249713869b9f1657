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

namespace pelko::lzh {

struct StartedArchive {
  std::set<std::string> names;  // name keys of every entry it holds
  std::uint64_t end = 0;        // offset of its end mark
};

// The record of `archivePath` when the file is still exactly as this
// process left it.
std::optional<StartedArchive> FindStartedArchive(const std::string& archivePath);
// Records the archive as it is now on disk (after a completed command).
void RememberStartedArchive(const std::string& archivePath, StartedArchive archive);
void ForgetStartedArchive(const std::string& archivePath);

}  // namespace pelko::lzh
