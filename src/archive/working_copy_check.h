// Whether the working copy brought back from the floppy is an archive worth
// restoring from, tested before anything is extracted.
#pragma once

#include <string_view>

namespace pelko::archive {

enum class WorkingCopyState {
  Whole,          // every header parses, every entry's CRC checks, one entry at least
  PartlyDamaged,  // some entries are sound, others are not (or the archive breaks off)
  Unreadable,     // no sound entry: empty, not an archive, or damaged from the start
};

WorkingCopyState TestWorkingCopy(std::string_view workingCopy);

}  // namespace pelko::archive
