#include "platform/file_services.h"

#include <vector>

#include "platform/drive_table.h"
#include "platform/host_volume.h"
#include "platform/resolved_path.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

constexpr std::size_t kCopyChunk = std::size_t{64} * 1024;

// Writes the rest of `source` into a new file; whatever goes wrong, no
// half-written target stays behind.
bool CopyContents(FileStream& source, Volume& volume, const RelativePath& target, OpenMode mode,
                  std::optional<std::int64_t> lastWriteTime) {
  auto out = volume.Open(target, mode);
  if (!out) return false;
  std::vector<std::byte> buffer(kCopyChunk);
  bool ok = true;
  for (;;) {
    std::size_t got = 0;
    if (!source.Read(buffer, got)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    if (!out->Write(std::span<const std::byte>(buffer.data(), got))) {
      ok = false;
      break;
    }
  }
  if (ok) ok = out->Close();
  out.reset();
  if (!ok) {
    DWORD error = GetLastError();
    volume.Delete(target);
    return Fail(error);
  }
  if (lastWriteTime) volume.SetLastWriteTime(target, *lastWriteTime);
  return true;
}

// The last-write time to give a copy: the source's own, unless the name is a
// link (whose time is not the content's).
std::optional<std::int64_t> ContentTime(Volume& volume, const RelativePath& path) {
  FileInformation info;
  if (!volume.GetInformation(path, info) || info.isSymlink) return std::nullopt;
  return info.lastWriteTime;
}

bool ComponentsEqualIgnoringCase(const RelativePath& a, const RelativePath& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!cp932::EqualIgnoringCase(a[i], b[i])) return false;
  }
  return true;
}

// A copy of a file onto itself would truncate its only copy.
bool IsSameFile(const ResolvedPath& a, const ResolvedPath& b) {
  if (a.volume->Identity() != b.volume->Identity()) return false;
  if (auto* host = dynamic_cast<HostVolume*>(a.volume.get())) return host->SameFile(a.path, b.path);
  return ComponentsEqualIgnoringCase(a.path, b.path);  // FAT names ignore case
}

bool MoveAcrossVolumes(ResolvedPath& from, ResolvedPath& to) {
  FileInformation info;
  if (!from.volume->GetInformation(from.path, info)) return false;
  if (info.kind == EntryKind::Directory) return Fail(ERROR_NOT_SAME_DEVICE);
  FileInformation existing;
  if (to.volume->GetInformation(to.path, existing)) return Fail(ERROR_ALREADY_EXISTS);
  auto source = from.volume->Open(from.path, OpenMode::Read);
  if (!source) return false;
  if (!CopyContents(*source, *to.volume, to.path, OpenMode::CreateNew,
                    ContentTime(*from.volume, from.path))) {
    if (GetLastError() == ERROR_FILE_EXISTS) SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  source.reset();
  // As MoveFile does: once the copy is complete the move has succeeded, even
  // if the source cannot be deleted (then both copies stay).
  from.volume->Delete(from.path);
  SetLastError(ERROR_SUCCESS);
  return true;
}

}  // namespace

bool CopyFile(std::string_view source, std::string_view target, bool failIfExists) {
  auto from = ResolvePath(source);
  if (!from) return false;
  auto to = ResolvePath(target);
  if (!to) return false;
  auto in = from->volume->Open(from->path, OpenMode::Read);
  if (!in) return false;
  if (IsSameFile(*from, *to))
    return Fail(failIfExists ? ERROR_FILE_EXISTS : ERROR_SHARING_VIOLATION);
  return CopyContents(*in, *to->volume, to->path,
                      failIfExists ? OpenMode::CreateNew : OpenMode::CreateAlways,
                      ContentTime(*from->volume, from->path));
}

bool MoveFile(std::string_view source, std::string_view target) {
  auto from = ResolvePath(source);
  if (!from) return false;
  auto to = ResolvePath(target);
  if (!to) return false;
  if (from->path.empty() || to->path.empty()) return Fail(ERROR_ACCESS_DENIED);
  if (from->volume->Identity() == to->volume->Identity()) {
    if (from->volume->Rename(from->path, to->path)) return true;
    // One host drive may span several file systems; then it is a copy.
    if (GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
  }
  return MoveAcrossVolumes(*from, *to);
}

bool MoveFileEx(std::string_view source, std::string_view target, std::uint32_t flags) {
  if ((flags & MOVEFILE_REPLACE_EXISTING) == 0) return MoveFile(source, target);
  auto from = ResolvePath(source);
  if (!from) return false;
  auto to = ResolvePath(target);
  if (!to) return false;
  if (from->path.empty() || to->path.empty()) return Fail(ERROR_ACCESS_DENIED);
  if (from->volume->Identity() != to->volume->Identity()) return Fail(ERROR_NOT_SAME_DEVICE);
  return from->volume->Replace(from->path, to->path);
}

bool DeleteFile(std::string_view path) {
  auto resolved = ResolvePath(path);
  if (!resolved) return false;
  if (resolved->path.empty()) return Fail(ERROR_ACCESS_DENIED);
  return resolved->volume->Delete(resolved->path);
}

bool CreateDirectory(std::string_view path) {
  auto resolved = ResolvePath(path);
  if (!resolved) return false;
  if (resolved->path.empty()) return Fail(ERROR_ALREADY_EXISTS);
  return resolved->volume->CreateDirectory(resolved->path);
}

bool RemoveDirectory(std::string_view path) {
  auto resolved = ResolvePath(path);
  if (!resolved) return false;
  if (resolved->path.empty()) return Fail(ERROR_ACCESS_DENIED);
  return resolved->volume->RemoveDirectory(resolved->path);
}

bool GetFileInformation(std::string_view path, FileInformation& info) {
  auto resolved = ResolvePath(path);
  if (!resolved) return false;
  return resolved->volume->GetInformation(resolved->path, info);
}

bool SetFileLastWriteTime(std::string_view path, std::int64_t unixTime) {
  auto resolved = ResolvePath(path);
  if (!resolved) return false;
  return resolved->volume->SetLastWriteTime(resolved->path, unixTime);
}

std::uint32_t ProbeFileSize(std::string_view path) {
  constexpr std::uint32_t kMissing = 0xFFFFFFFF;
  auto resolved = ResolvePath(path);
  if (!resolved) return kMissing;
  std::uint64_t size = 0;
  if (auto stream = resolved->volume->Open(resolved->path, OpenMode::Read)) {
    size = stream->Size();
  } else {
    // The probe asks for no access rights: a file the user may not read still
    // has a size.
    FileInformation info;
    if (GetLastError() != ERROR_ACCESS_DENIED ||
        !resolved->volume->GetInformation(resolved->path, info) || info.kind != EntryKind::File) {
      return kMissing;
    }
    size = info.size;
  }
  // A size whose low half is all ones is told apart by the cleared code, as
  // GetFileSize does.
  SetLastError(ERROR_SUCCESS);
  return static_cast<std::uint32_t>(size);
}

bool ListFolder(std::string_view folderPath, std::vector<FindData>& entries, std::size_t& leftOut) {
  entries.clear();
  leftOut = 0;
  auto resolved = ResolvePath(folderPath);
  if (!resolved) return false;
  return resolved->volume->List(resolved->path, entries, leftOut);
}

std::vector<char> ListDrives() {
  std::vector<char> drives{'A'};
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    if (HostFolderOfDrive(letter)) drives.push_back(letter);
  }
  return drives;
}

}  // namespace pelko::win
