// Add: files and folders on drive-letter paths into an archive, under names
// relative to a base folder. An entry of the same name is replaced where it
// stands; everything else is appended, folders before what they hold.
//
// What the host holds that an archive cannot (links, devices, FIFOs and
// sockets, pseudo file systems, unreadable files, names with no Windows
// form, files of 4 GiB or more) is left out and named with its reason, never
// dropped silently. Symbolic links are never followed, and no folder is
// entered twice, so a folder that holds itself ends the walk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lzh/archive/archive_writer.h"
#include "lzh/archive/exclusion_pattern.h"
#include "lzh/archive/started_archives.h"
#include "lzh/codec/encoder_method.h"
#include "lzh/codec/lzh_error.h"
#include "text/win_error.h"

namespace pelko::lzh {

struct AddOptions {
  PackMethod method = PackMethod::Lh7;
  bool recurse = true;              // -r2: folders with all they hold, folders as entries
  bool keepPaths = true;            // -x1: names relative to the base folder, not bare names
  bool includeHiddenSystem = true;  // -a2: hidden and system files (and dot-names) too
  ExclusionList exclusions;         // -jx patterns
  // Threads packing files side by side (0: one per available core). The
  // archive's bytes do not depend on it.
  unsigned threads = 0;
};

struct AddRequest {
  std::string archivePath;  // drive-letter path, created if missing
  std::string baseFolder;   // drive-letter path of the folder the names start from
  // Names relative to the base folder; the last component may hold '*' and
  // '?'. An empty name stands for everything in the base folder.
  std::vector<std::string> names;
  AddOptions options;
};

enum class LeftOutReason {
  Symlink,
  SpecialFile,       // device, FIFO, socket
  PseudoFileSystem,  // proc, sysfs and the like: not descended into
  Unreadable,        // see win32
  NoWindowsName,     // `count` names in the folder `path` have no Windows form
  TooLarge,          // 4 GiB or more
  Changed,           // changed size while being read
  NameTooLong,
  NotFound,    // a name given to add that does not exist below the base
               // folder (one with "..", a drive or a leading '\' included)
  FolderLoop,  // a folder entered before in this add (a damaged floppy,
               // a bind mount): entered once only
};

struct LeftOutItem {
  std::string path;  // drive-letter path (CP932)
  LeftOutReason reason = LeftOutReason::Unreadable;
  win::DWORD win32 = win::ERROR_SUCCESS;
  std::size_t count = 1;
};

struct AddedItem {
  std::string storedName;
  std::string method;  // "-lh7-", "-lh0-", "-lhd-", ...
  std::uint64_t originalSize = 0;
  std::uint64_t packedSize = 0;
  bool replaced = false;  // took the place of an entry of the same name
};

struct AddReport {
  std::vector<AddedItem> added;
  std::vector<LeftOutItem> leftOut;
  // The archive could not be read (damaged) or rebuilt; it is then as it was.
  LzhError archiveError = LzhError::None;
  win::DWORD win32 = win::ERROR_SUCCESS;

  bool Succeeded() const { return archiveError == LzhError::None && win32 == win::ERROR_SUCCESS; }
};

// `started` is the record of the archives the caller's run of adds started:
// such an archive takes the new entries at its end. Without it, the add
// keeps a record of its own, so an archive it starts is rebuilt by any later
// add like every other.
AddReport AddToArchive(const AddRequest& request, StartedArchives& started);
AddReport AddToArchive(const AddRequest& request);

// What an add would take: the entries in the order they are written, and
// what is left out. Exposed for tests and for a dry run.
struct AddPlan {
  std::vector<NewEntry> entries;
  std::vector<LeftOutItem> leftOut;
};
AddPlan PlanAdd(const AddRequest& request);

// The warning text naming everything left out (CP932), and the one message
// box that shows it (nothing when nothing was left out).
std::string LeftOutWarningText(const std::vector<LeftOutItem>& leftOut);
void ShowLeftOutWarning(const std::vector<LeftOutItem>& leftOut);

}  // namespace pelko::lzh
