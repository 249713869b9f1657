// Rebuilds the working copy from the span pieces of a spanned archive,
// asking the user for the floppies in order.
#pragma once

namespace pelko::archive {

// Takes the floppy in drive A: as floppy 1. True when the working copy
// "archive.lzh" in the program folder holds every piece up to the one marked
// last; false when the user answers No or a copy or file fails (no message:
// the caller reports that the archive could not be brought back).
bool JoinSpannedArchive();

}  // namespace pelko::archive
