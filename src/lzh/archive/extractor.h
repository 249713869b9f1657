// Extraction of an archive into a folder on a drive-letter path.
//
// Each file is decoded into a temporary file beside its target and renamed
// into place only when its sizes and CRC matched, so a damaged entry never
// replaces a good file. Names that would reach outside the target folder,
// entries that are links and targets that are links are refused. Questions
// (overwrite, create the folder) go through the platform's message box.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lzh/archive/entry_path.h"
#include "lzh/codec/lzh_error.h"
#include "platform/file_stream.h"
#include "text/win_error.h"

namespace pelko::lzh {

enum class Policy { Always, Never, Ask };

struct ExtractOptions {
  std::string targetFolder;  // drive-letter path, CP932 ("C:\out" or "C:\out\")
  // CP932 names as stored ('\', '/' or 0xFF between components); a name
  // selects its entry and everything below it. Empty: every entry.
  std::vector<std::string> selection;
  bool keepPaths = true;                 // false: every file straight into the target folder
  Policy overwrite = Policy::Ask;        // an existing file
  Policy createFolder = Policy::Always;  // a missing target folder
  bool keepNewer = false;                // an existing file newer than the entry stays
  bool resumeAfterBrokenHeader = false;  // scan on for the next valid header
  bool testOnly = false;                 // decode and check, write nothing
};

enum class EntryOutcome {
  Extracted,          // file written (or, testing, decoded with its CRC matching)
  FolderCreated,      // a folder entry, created or already there
  KeptExisting,       // overwrite declined (policy Never, or answered No)
  KeptNewer,          // the existing file is newer than the entry
  RefusedUnsafeName,  // see `pathVerdict`
  RefusedLink,        // the entry is a symbolic link, or the target is one
  DecodeFailed,       // see `error`: sizes, CRC, unknown method, broken data
  WriteFailed,        // see `win32`: the file system refused
};

struct EntryReport {
  std::string path;    // the stored name, CP932 ('\' between components)
  std::string target;  // the drive-letter path it went (or would go) to
  EntryOutcome outcome = EntryOutcome::Extracted;
  PathVerdict pathVerdict = PathVerdict::Safe;
  LzhError error = LzhError::None;
  win::DWORD win32 = win::ERROR_SUCCESS;
  std::uint64_t originalSize = 0;
};

struct BrokenHeader {
  std::uint64_t offset = 0;
  LzhError error = LzhError::None;
};

struct ExtractReport {
  std::vector<EntryReport> entries;         // in archive order, selected entries only
  std::vector<BrokenHeader> brokenHeaders;  // where reading the archive failed
  std::vector<std::string> unmatched;       // selected names no entry matched
  bool cancelled = false;                   // the user answered Cancel
  // The archive or the target folder could not be opened or made at all.
  win::DWORD openError = win::ERROR_SUCCESS;

  // True when every selected entry was extracted (or kept by choice), the
  // archive read to its end and nothing was cancelled.
  bool Succeeded() const;
};

// Opens the archive (a drive-letter path) and extracts it.
ExtractReport ExtractArchive(std::string_view archivePath, const ExtractOptions& options);
// The same from an open stream.
ExtractReport ExtractArchive(win::FileStream& archive, const ExtractOptions& options);

// A selected name matches a stored path when its components are a prefix of
// the path's (ASCII letters compared without case).
bool SelectionMatches(std::string_view selected, std::string_view storedPath);

}  // namespace pelko::lzh
