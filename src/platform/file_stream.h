// Byte streams on files of any drive: the stand-in for CreateFile/ReadFile/
// WriteFile and for the class library's file streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace pelko::win {

enum class OpenMode {
  Read,          // existing file, read only
  ReadWrite,     // existing file, read and write, not truncated
  CreateAlways,  // create or truncate, write (and read)
  CreateNew,     // create, fail with ERROR_FILE_EXISTS if it exists
};

class FileStream {
 public:
  virtual ~FileStream() = default;
  // Bytes read (0 at the end); nullopt-like failure is reported as false.
  virtual bool Read(std::span<std::byte> buffer, std::size_t& bytesRead) = 0;
  // All bytes or failure (ERROR_DISK_FULL, ERROR_WRITE_PROTECT, ...).
  virtual bool Write(std::span<const std::byte> bytes) = 0;
  virtual bool Seek(std::uint64_t offset) = 0;
  virtual std::uint64_t Size() const = 0;
  // Flushes; a failure here (e.g. the disk filled up) is reported.
  virtual bool Close() = 0;
};

// Opens a file of any drive (host folder or the floppy). Null and the
// last-error code set on failure.
std::unique_ptr<FileStream> OpenFile(std::string_view windowsPath, OpenMode mode);

// Convenience: whole-file read / create-and-write.
bool ReadWholeFile(std::string_view windowsPath, std::string& bytes);
bool WriteWholeFile(std::string_view windowsPath, std::string_view bytes);

}  // namespace pelko::win
