// Files put on the floppy so that nothing is lost when the work is cut off:
// each file is committed whole (the floppy driver writes its entry last) and
// read back from the disk before it counts as written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace pelko::archive {

// The archive on the floppy, in the two spellings the commands have always
// used (the file system does not tell them apart): the backup probes its
// size with the upper-case one.
inline constexpr char kArchiveOnFloppy[] = "a:\\archive.lzh";
inline constexpr char kArchiveOnFloppyUpper[] = "A:\\archive.lzh";

// Where a new archive waits beside the old one until it takes its place.
inline constexpr char kArchiveScratchOnFloppy[] = "a:\\archive.tmp";

// Tells one file's bytes from another's: size and FNV-1a hash.
struct FileDigest {
  std::uint64_t size = 0;
  std::uint64_t hash = 0xcbf29ce484222325ULL;

  void Add(std::span<const std::byte> bytes);
  bool operator==(const FileDigest&) const = default;
};

// The digest of a whole file; nullopt (last-error code set) when it cannot
// be read.
std::optional<FileDigest> DigestOfFile(std::string_view path);

// The serial number of the disk in drive A:; nullopt when none can be read.
std::optional<std::uint32_t> FloppySerial();

// Deletes a file; one that is not there is no failure.
bool DeleteIfThere(std::string_view path);

// Copies `source` to the new file `target` and reads it back: false, with
// the target deleted and the last-error code set, when the copy failed,
// when it cannot be read back (ERROR_WRITE_FAULT) or reads back other bytes
// (ERROR_CRC).
bool CopyAndVerify(std::string_view source, std::string_view target);

// Puts the working copy on the floppy as "a:\archive.lzh" in place of the
// previous archive and deletes "A:\arch.div". With room beside the previous
// archive, the new one is written under a scratch name first and then
// renamed over it in one step; without room, the previous archive is deleted
// first. False with the last-error code set; the working copy is kept.
bool PutArchiveOnFloppy(std::string_view workingCopy);

}  // namespace pelko::archive
