// Writes an archive that does not fit on one floppy as span pieces, one
// `arch.div` per floppy, asking the user for each further floppy.
#pragma once

#include <string_view>

namespace pelko::archive {

enum class SpanWriteResult {
  Spanned,       // every piece is on its floppy, the last one marked last
  WrittenWhole,  // it fitted on the floppy in the drive: "a:\archive.lzh"
  Cancelled,     // the user answered No; earlier pieces stay, none marked last
  Failed,        // an error has been shown to the user
};

// Cuts the file at `sourcePath` (the working copy) into pieces, starting with
// the floppy in drive A:. Shows its own prompts and errors; the caller only
// switches the main window's buttons around it, whatever the result.
SpanWriteResult WriteSpannedArchive(std::string_view sourcePath);

}  // namespace pelko::archive
