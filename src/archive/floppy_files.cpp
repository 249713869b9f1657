#include "archive/floppy_files.h"

#include <array>

#include "archive/span_piece.h"
#include "platform/file_services.h"
#include "platform/file_stream.h"
#include "platform/volume_services.h"
#include "shell/floppy_drive.h"
#include "text/win_error.h"

namespace pelko::archive {
namespace {

// The copy has failed: the half-done target goes, the first error stays.
bool Abandon(std::string_view target, win::DWORD error) {
  win::DeleteFile(target);
  return win::Fail(error);
}

}  // namespace

void FileDigest::Add(std::span<const std::byte> bytes) {
  for (std::byte byte : bytes) hash = (hash ^ static_cast<std::uint64_t>(byte)) * 0x100000001b3ULL;
  size += bytes.size();
}

std::optional<FileDigest> DigestOfFile(std::string_view path) {
  auto file = win::OpenFile(path, win::OpenMode::Read);
  if (!file) return std::nullopt;
  FileDigest digest;
  std::array<std::byte, 4096> block;
  std::size_t got = 0;
  bool read = true;
  while ((read = file->Read(block, got)) && got > 0) digest.Add(std::span(block.data(), got));
  file->Close();
  if (!read) return std::nullopt;
  return digest;
}

std::optional<std::uint32_t> FloppySerial() {
  win::VolumeInformation info;
  if (!win::GetVolumeInformation(shell::kFloppyRootLower, info)) return std::nullopt;
  return info.serial;
}

bool DeleteIfThere(std::string_view path) {
  return win::DeleteFile(path) || win::GetLastError() == win::ERROR_FILE_NOT_FOUND;
}

bool CopyAndVerify(std::string_view source, std::string_view target) {
  std::optional<FileDigest> meant = DigestOfFile(source);
  if (!meant) return false;
  if (!win::CopyFile(source, target, true)) return false;
  std::optional<FileDigest> written = DigestOfFile(target);
  if (!written) return Abandon(target, win::ERROR_WRITE_FAULT);
  if (*written != *meant) return Abandon(target, win::ERROR_CRC);
  return true;
}

bool PutArchiveOnFloppy(std::string_view workingCopy) {
  DeleteIfThere(kArchiveScratchOnFloppy);  // left by an interrupted backup
  const std::uint32_t newSize = win::ProbeFileSize(workingCopy);
  if (shell::QueryFloppySpace().FreeBytes() >= newSize) {
    if (CopyAndVerify(workingCopy, kArchiveScratchOnFloppy)) {
      if (!win::MoveFileEx(kArchiveScratchOnFloppy, kArchiveOnFloppy,
                           win::MOVEFILE_REPLACE_EXISTING)) {
        return Abandon(kArchiveScratchOnFloppy, win::GetLastError());
      }
      win::DeleteFile(kPieceOnFloppy);
      return true;
    }
    // The directory may be full even where the clusters are free.
    if (win::GetLastError() != win::ERROR_DISK_FULL) return false;
  }
  if (!DeleteIfThere(kArchiveOnFloppy)) return false;
  win::DeleteFile(kPieceOnFloppy);
  return CopyAndVerify(workingCopy, kArchiveOnFloppy);
}

}  // namespace pelko::archive
