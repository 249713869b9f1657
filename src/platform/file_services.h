// Windows file services on drive-letter paths: CopyFile, MoveFile, DeleteFile,
// attributes, folders and listings. Each returns success and sets the
// thread's last-error code (Win32 numbering) on failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::win {

// MS-DOS attribute bits, as FAT and LZH headers keep them.
inline constexpr std::uint8_t FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr std::uint8_t FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr std::uint8_t FILE_ATTRIBUTE_SYSTEM = 0x04;
inline constexpr std::uint8_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr std::uint8_t FILE_ATTRIBUTE_ARCHIVE = 0x20;

enum class EntryKind { File, Directory, Other /* link, device, FIFO, socket */ };

struct FileInformation {
  EntryKind kind = EntryKind::File;
  std::uint64_t size = 0;
  std::int64_t lastWriteTime = 0;   // seconds since 1970-01-01 UTC
  std::uint8_t attributes = 0;      // FILE_ATTRIBUTE_*
  bool isSymlink = false;           // host only: the name itself is a link
  bool isPseudoFileSystem = false;  // host only: a folder on proc, sysfs, ...
  // Together, a folder's identity for a walk that must enter each folder
  // once (Windows' volume serial and file index): device and inode on the
  // host, serial and first cluster on a FAT floppy.
  std::uint64_t volumeSerial = 0;
  std::uint64_t fileIndex = 0;
};

struct FindData {
  std::string name;  // CP932
  FileInformation info;
};

// Copies a file; with failIfExists an existing target fails with 80.
bool CopyFile(std::string_view source, std::string_view target, bool failIfExists);
// Never replaces an existing target (183); across volumes copies, then deletes
// the source only after the copy is complete.
bool MoveFile(std::string_view source, std::string_view target);
inline constexpr std::uint32_t MOVEFILE_REPLACE_EXISTING = 0x1;
// MoveFile, and with MOVEFILE_REPLACE_EXISTING a rename over an existing file
// of the same folder in one step: the target's name never goes missing.
// Across volumes (no copy is allowed) ERROR_NOT_SAME_DEVICE.
bool MoveFileEx(std::string_view source, std::string_view target, std::uint32_t flags);
bool DeleteFile(std::string_view path);
bool CreateDirectory(std::string_view path);
bool RemoveDirectory(std::string_view path);

// Information on the name itself (a symlink is reported as such, not followed).
bool GetFileInformation(std::string_view path, FileInformation& info);
bool SetFileLastWriteTime(std::string_view path, std::int64_t unixTime);

// The size probe: low 32 bits of the size, or 0xFFFFFFFF when the file cannot
// be opened (last-error code set).
std::uint32_t ProbeFileSize(std::string_view path);

// Entries of a folder (not "." or ".."), in no particular order. Host names
// that have no Windows form (no CP932 form, or a character Windows forbids)
// are left out and counted in `leftOut`.
bool ListFolder(std::string_view folderPath, std::vector<FindData>& entries, std::size_t& leftOut);

// The drive letters in use, in order ('A', 'C', ...). A: is always listed.
std::vector<char> ListDrives();

}  // namespace pelko::win
