// The archive library's one entry, as the tool calls it: one command line per
// call, in CP932. Stands in for the Windows archive DLL's command interpreter.
#pragma once

#include <cstddef>

#include "lzh/command/archiver_session.h"

namespace pelko::lzh {

// Result codes of our own; the tool never reads them, pelko-lha and tests do.
inline constexpr int kArchiverOk = 0;
inline constexpr int kArchiverWarning = 1;         // something was skipped or left out
inline constexpr int kArchiverError = 2;           // an entry or the archive failed
inline constexpr int kArchiverCancelled = 3;       // the user answered Cancel
inline constexpr int kArchiverBadCommandLine = 4;  // unknown command or switch, malformed line

// `owner` is an opaque window handle (always null here); `commandLine` is
// NUL-terminated CP932; `output` is null with `outputSize` 0, or a buffer that
// receives the report, NUL-terminated, cut without splitting a double-byte
// character. Runs synchronously; questions and progress go through the
// platform's user-interface seam.
int ArchiverCommand(const void* owner, const char* commandLine, char* output,
                    std::size_t outputSize);
// The same, as one of a run of commands (a backup's adds): an archive an
// earlier command of `session` started takes later adds in place. The call
// above is a session of its own.
int ArchiverCommand(ArchiverSession& session, const void* owner, const char* commandLine,
                    char* output, std::size_t outputSize);

}  // namespace pelko::lzh
