// The rewriting archive writer: a changed archive is built in a new file
// beside the old one and put in the old one's place only when it is
// complete, so a failure at any point leaves the old archive as it was.
// Only an archive the caller's run of adds started itself takes new entries
// in place at its end (BeginAppend; see started_archives.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lzh/archive/archive_reader.h"
#include "lzh/codec/encoder_method.h"
#include "platform/file_stream.h"
#include "text/win_error.h"

namespace pelko::lzh {

// An entry to be written from a file or folder on disk.
struct NewEntry {
  std::string storedName;  // CP932, '\' between components
  std::string sourcePath;  // drive-letter path of the file (unused for a folder)
  bool isFolder = false;
  std::int64_t lastWriteTime = 0;  // seconds since 1970 UTC
  std::uint8_t attributes = 0x20;  // MS-DOS attributes
  std::uint64_t size = 0;          // as listed; the file may differ when read
};

enum class WriteOutcome {
  Written,
  SourceUnreadable,  // the file could not be opened or read (see win32); nothing written
  SourceChanged,     // the file changed size between two readings; nothing written
  TooLarge,          // 4 GiB or more: a level-2 header cannot hold it
  NameTooLong,       // the header would exceed 64 KiB
  ArchiveFailed,     // the new archive could not be written (see win32): give up
};

struct WriteResult {
  WriteOutcome outcome = WriteOutcome::Written;
  win::DWORD win32 = win::ERROR_SUCCESS;
  std::string method;  // "-lh7-", "-lh0-", "-lhd-" when written
  std::uint64_t originalSize = 0;
  std::uint64_t packedSize = 0;
};

class ArchiveWriter {
 public:
  // `archivePath` is the drive-letter path of the archive to be (re)built.
  explicit ArchiveWriter(std::string archivePath);
  ~ArchiveWriter();  // removes the new file unless committed
  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;

  // Creates the new file beside the archive. False with the last-error code.
  bool Begin();
  // Instead: new entries go into the archive itself, over its end mark at
  // `end` (only for an archive nobody else has: see started_archives.h).
  // Unless committed, the archive is given its end mark back at `end`.
  bool BeginAppend(std::uint64_t end);

  // Carries an entry of the old archive over unchanged.
  bool CopyEntry(ArchiveReader& reader, const Entry& entry);
  // A folder entry ("-lhd-").
  WriteResult WriteFolder(const NewEntry& entry);
  // A file, packed with `method` or stored as -lh0- when packing does not
  // make it smaller. `progress` gets the bytes of the file read so far.
  WriteResult WriteFile(const NewEntry& entry, PackMethod method,
                        const std::function<void(std::uint64_t)>& progress = {});
  // The same, for a file packed on another thread (parallel_packer.h): the
  // archive gets the very bytes WriteFile would have written.
  WriteResult WritePacked(const NewEntry& entry, PackMethod method, class PackedStream& stream,
                          const std::function<void(std::uint64_t)>& progress = {});

  // Ends the archive and puts it in place of the old one (if any). The old
  // archive must no longer be open. False with the last-error code; the old
  // archive is then untouched.
  bool Commit();

  const std::string& NewPath() const { return newPath_; }
  // Where the end mark goes: the length of the entries written so far.
  std::uint64_t End() const { return end_; }

 private:
  bool WriteAt(std::uint64_t offset, std::string_view bytes);
  WriteResult Rewind(WriteResult result, std::uint64_t headerOffset);
  WriteResult StoreFile(win::FileStream& source, std::optional<std::span<const std::byte>> whole,
                        std::uint64_t headerOffset, std::uint64_t expectedSize, std::string& header,
                        struct Header& fields);
  WriteResult EndPacked(std::uint64_t headerOffset, std::string& header, struct Header& fields,
                        std::uint64_t packedSize, std::uint64_t read, std::uint16_t crc);

  std::string archivePath_;
  std::string newPath_;
  std::unique_ptr<win::FileStream> out_;
  std::uint64_t end_ = 0;        // where the next entry goes
  std::uint64_t highWater_ = 0;  // furthest byte ever written
  bool committed_ = false;
  bool appending_ = false;
  std::uint64_t appendFrom_ = 0;
  // Made once and restarted for every file: many small files must not cost
  // a dictionary's worth of allocation and clearing each.
  std::unique_ptr<class LhEncoder> encoder_;
  PackMethod encoderMethod_ = PackMethod::Lh7;
  std::vector<std::byte> buffer_;
};

// A name beside `path` in the same folder that does not exist yet, for
// scratch files: "~LZ00001.TMP" style (valid as a short name on FAT).
std::string ScratchPathBeside(std::string_view path, std::string_view extension);

// Deletes the scratch files ("~LZ*.TMP") that writers cut off midway left in
// `folder` (a drive-letter path). No writer may be working there meanwhile.
void RemoveScratchFilesIn(std::string_view folder);

}  // namespace pelko::lzh
