// One caller's run of archive commands, one after another (a backup's Add
// commands, one per list entry, into the working copy it started). What the
// commands learn is kept here, never in the process: only the archive a
// session's own commands started from nothing takes later adds of that
// session in place, at its end; any other archive is rebuilt beside and
// renamed, which an interrupted add cannot damage.
//
// A session is used from the thread that made it only, so nothing in it is
// locked.
#pragma once

#include "lzh/archive/started_archives.h"

namespace pelko::lzh {

class ArchiverSession {
 public:
  ArchiverSession() = default;
  ArchiverSession(const ArchiverSession&) = delete;
  ArchiverSession& operator=(const ArchiverSession&) = delete;

  StartedArchives& Started() { return started_; }

 private:
  StartedArchives started_;
};

}  // namespace pelko::lzh
