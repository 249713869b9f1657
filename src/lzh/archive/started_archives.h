// The archives one sequence of Add commands started from nothing (a
// backup's working copy, built by one Add command per list entry): only
// these may take new entries in place, at their end, instead of being
// rebuilt beside and renamed for every command. An interrupted append
// damages only such an archive, which nobody had before; an archive that was
// already there is never recorded, and one changed by anyone else since is
// forgotten.
//
// Whoever runs the sequence owns the record, and uses it from its own thread
// only: the commands run one after another, so nothing here is locked.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_services.h"

namespace pelko::lzh {

class StartedArchives {
 public:
  StartedArchives() = default;
  StartedArchives(const StartedArchives&) = delete;
  StartedArchives& operator=(const StartedArchives&) = delete;

  // Where new entries go in `archivePath` (the offset of its end mark): when
  // this sequence started it, it is exactly as the sequence left it, and it
  // holds none of `nameKeys`. Otherwise nothing, and the archive is forgotten.
  std::optional<std::uint64_t> EndOf(const std::string& archivePath,
                                     const std::vector<std::string>& nameKeys);
  // After a completed add: the archive as it is now on disk, with the name
  // keys just added (a new archive, when `started`, begins a new record).
  void Remember(const std::string& archivePath, bool started, std::set<std::string> addedKeys,
                std::uint64_t end);
  // After a failed add: the next one rebuilds the archive.
  void Forget(const std::string& archivePath);

 private:
  struct Record {
    std::set<std::string> names;  // name keys of every entry it holds
    std::uint64_t end = 0;
    win::FileInformation file;  // size, time and identity when last left
  };
  std::map<std::string, Record> records_;
};

}  // namespace pelko::lzh
