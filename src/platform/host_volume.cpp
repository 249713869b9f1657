#include "platform/host_volume.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/host_file_stream.h"
#include "platform/windows_path.h"
#include "text/code_page.h"
#include "text/name_rules.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

// Kernel views rather than stored files: never worth backing up, and some of
// them never end when read.
bool IsPseudoFileSystemFolder(const std::string& hostPath) {
  struct statfs fs {};
  if (::statfs(hostPath.c_str(), &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case PSTOREFS_MAGIC:
    case BPF_FS_MAGIC:
    case BINFMTFS_MAGIC:
    case EFIVARFS_MAGIC:
    case SELINUX_MAGIC:
    case SMACK_MAGIC:
    case NSFS_MAGIC:
    case 0x62656570UL:  // configfs
    case 0x65735543UL:  // fusectl
    case 0x19800202UL:  // mqueue
      return true;
    case TMPFS_MAGIC: {
      // devtmpfs carries tmpfs' number; tell it by being the file system of /dev.
      struct stat here {
      }, dev{};
      return ::stat(hostPath.c_str(), &here) == 0 && ::stat("/dev", &dev) == 0 &&
             here.st_dev == dev.st_dev;
    }
    default:
      return false;
  }
}

void FillInformation(const struct stat& st, FileInformation& info) {
  info = FileInformation{};
  if (S_ISLNK(st.st_mode)) {
    info.kind = EntryKind::Other;
    info.isSymlink = true;
  } else if (S_ISDIR(st.st_mode)) {
    info.kind = EntryKind::Directory;
    info.attributes = FILE_ATTRIBUTE_DIRECTORY;
  } else if (S_ISREG(st.st_mode)) {
    info.kind = EntryKind::File;
    info.size = static_cast<std::uint64_t>(st.st_size);
    info.attributes = FILE_ATTRIBUTE_ARCHIVE;
  } else {
    info.kind = EntryKind::Other;
  }
  if ((st.st_mode & 0222) == 0 && !S_ISLNK(st.st_mode)) info.attributes |= FILE_ATTRIBUTE_READONLY;
  info.lastWriteTime = static_cast<std::int64_t>(st.st_mtim.tv_sec);
  info.volumeSerial = static_cast<std::uint64_t>(st.st_dev);
  info.fileIndex = static_cast<std::uint64_t>(st.st_ino);
}

bool FailFromHostErrno(int error, const std::string& hostPath) {
  if (error == ENOENT || error == ENOTDIR) return FailMissing(hostPath);
  return FailFromErrno(error);
}

std::uint32_t ClampToCount(unsigned long long value) {
  return static_cast<std::uint32_t>(std::min<unsigned long long>(value, 0xFFFFFFFFULL));
}

}  // namespace

std::unique_ptr<Volume> OpenHostVolume(const std::string& rootFolder) {
  struct stat st {};
  if (::stat(rootFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  return std::make_unique<HostVolume>(rootFolder);
}

std::optional<std::string> HostVolume::HostPathOf(const RelativePath& path) const {
  std::string host = root_;
  for (const std::string& component : path) {
    auto utf8 = cp932::ToUtf8(component);
    if (component == "." || component == ".." || cp932::IsForbiddenName(component) || !utf8) {
      SetLastError(ERROR_INVALID_NAME);
      return std::nullopt;
    }
    if (host.back() != '/') host += '/';
    host += *utf8;
  }
  return host;
}

bool HostVolume::SameFile(const RelativePath& a, const RelativePath& b) const {
  auto hostA = HostPathOf(a);
  auto hostB = HostPathOf(b);
  if (!hostA || !hostB) return false;
  struct stat stA {
  }, stB{};
  if (::stat(hostA->c_str(), &stA) != 0 || ::stat(hostB->c_str(), &stB) != 0) return false;
  return stA.st_dev == stB.st_dev && stA.st_ino == stB.st_ino;
}

bool HostVolume::GetInformation(VolumeInformation& info) {
  struct stat st {};
  if (::stat(root_.c_str(), &st) != 0) return Fail(ERROR_PATH_NOT_FOUND);
  info.label.clear();
  info.serial = 0;
  info.fileSystem = "HOSTFS";
  return true;
}

bool HostVolume::SetLabel(std::string_view /*label*/) {
  return Fail(ERROR_ACCESS_DENIED);  // a host folder has no label to set
}

bool HostVolume::GetFreeSpace(DiskFreeSpace& space) {
  struct statvfs fs {};
  if (::statvfs(root_.c_str(), &fs) != 0) return FailFromErrno(errno);
  // Fixed 4 KiB clusters; the counts saturate rather than wrap.
  constexpr unsigned long long kClusterBytes = 512ULL * 8;
  unsigned long long unit = fs.f_frsize != 0 ? fs.f_frsize : fs.f_bsize;
  space.bytesPerSector = 512;
  space.sectorsPerCluster = 8;
  space.freeClusters =
      ClampToCount(static_cast<unsigned long long>(fs.f_bavail) * unit / kClusterBytes);
  space.totalClusters =
      ClampToCount(static_cast<unsigned long long>(fs.f_blocks) * unit / kClusterBytes);
  return true;
}

std::unique_ptr<FileStream> HostVolume::Open(const RelativePath& path, OpenMode mode) {
  auto host = HostPathOf(path);
  if (!host) return nullptr;
  return OpenHostFile(*host, mode);
}

bool HostVolume::GetInformation(const RelativePath& path, FileInformation& info) {
  auto host = HostPathOf(path);
  if (!host) return false;
  struct stat st {};
  if (::lstat(host->c_str(), &st) != 0) return FailFromHostErrno(errno, *host);
  FillInformation(st, info);
  if (info.kind == EntryKind::Directory) info.isPseudoFileSystem = IsPseudoFileSystemFolder(*host);
  return true;
}

bool HostVolume::SetLastWriteTime(const RelativePath& path, std::int64_t unixTime) {
  auto host = HostPathOf(path);
  if (!host) return false;
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(unixTime);
  times[1].tv_nsec = 0;
  if (::utimensat(AT_FDCWD, host->c_str(), times, 0) != 0) return FailFromHostErrno(errno, *host);
  return true;
}

bool HostVolume::Delete(const RelativePath& path) {
  auto host = HostPathOf(path);
  if (!host) return false;
  struct stat st {};
  if (::lstat(host->c_str(), &st) != 0) return FailFromHostErrno(errno, *host);
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);  // DeleteFile never removes a folder
  if (::unlink(host->c_str()) != 0) return FailFromHostErrno(errno, *host);
  return true;
}

bool HostVolume::Rename(const RelativePath& from, const RelativePath& to) {
  auto hostFrom = HostPathOf(from);
  auto hostTo = HostPathOf(to);
  if (!hostFrom || !hostTo) return false;
  if (from.empty() || to.empty()) return Fail(ERROR_ACCESS_DENIED);
  if (::renameat2(AT_FDCWD, hostFrom->c_str(), AT_FDCWD, hostTo->c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  int error = errno;
  if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
    // A file system without no-replace renames: check, then rename.
    struct stat st {};
    if (::lstat(hostTo->c_str(), &st) == 0) return Fail(ERROR_ALREADY_EXISTS);
    if (::rename(hostFrom->c_str(), hostTo->c_str()) == 0) return true;
    error = errno;
  }
  if (error == EEXIST || error == ENOTEMPTY) return Fail(ERROR_ALREADY_EXISTS);
  if (error == ENOENT || error == ENOTDIR) {
    struct stat st {};
    if (::lstat(hostFrom->c_str(), &st) != 0) return FailMissing(*hostFrom);
    return Fail(ERROR_PATH_NOT_FOUND);  // the target's folder is missing
  }
  return FailFromErrno(error);
}

bool HostVolume::Replace(const RelativePath& from, const RelativePath& to) {
  auto hostFrom = HostPathOf(from);
  auto hostTo = HostPathOf(to);
  if (!hostFrom || !hostTo) return false;
  if (from.empty() || to.empty()) return Fail(ERROR_ACCESS_DENIED);
  struct stat st {};
  if (::lstat(hostFrom->c_str(), &st) != 0) return FailMissing(*hostFrom);
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (::lstat(hostTo->c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  // rename(2) puts the new file in the old one's place in one step.
  if (::rename(hostFrom->c_str(), hostTo->c_str()) == 0) return true;
  int error = errno;
  if (error == ENOENT || error == ENOTDIR) return Fail(ERROR_PATH_NOT_FOUND);
  return FailFromErrno(error);
}

bool HostVolume::CreateDirectory(const RelativePath& path) {
  auto host = HostPathOf(path);
  if (!host) return false;
  if (::mkdir(host->c_str(), 0777) != 0) {
    int error = errno;
    if (error == ENOENT || error == ENOTDIR) return Fail(ERROR_PATH_NOT_FOUND);
    return FailFromErrno(error);
  }
  return true;
}

bool HostVolume::RemoveDirectory(const RelativePath& path) {
  auto host = HostPathOf(path);
  if (!host) return false;
  if (path.empty()) return Fail(ERROR_ACCESS_DENIED);
  if (::rmdir(host->c_str()) != 0) {
    int error = errno;
    if (error == ENOTDIR) {
      struct stat st {};
      if (::lstat(host->c_str(), &st) == 0) return Fail(ERROR_DIRECTORY);  // a file
    }
    if (error == EEXIST) return Fail(ERROR_DIR_NOT_EMPTY);
    return FailFromHostErrno(error, *host);
  }
  return true;
}

bool HostVolume::List(const RelativePath& folder, std::vector<FindData>& entries,
                      std::size_t& leftOut) {
  entries.clear();
  leftOut = 0;
  auto host = HostPathOf(folder);
  if (!host) return false;
  int dirFd = ::open(host->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) {
    int error = errno;
    if (error == ENOENT) return Fail(ERROR_PATH_NOT_FOUND);
    if (error == ENOTDIR) {
      struct stat st {};
      return Fail(::stat(host->c_str(), &st) == 0 ? ERROR_DIRECTORY : ERROR_PATH_NOT_FOUND);
    }
    return FailFromErrno(error);
  }
  DIR* dir = ::fdopendir(dirFd);
  if (dir == nullptr) {
    int error = errno;
    ::close(dirFd);
    return FailFromErrno(error);
  }
  for (;;) {
    errno = 0;
    struct dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      int error = errno;
      ::closedir(dir);
      if (error != 0) return FailFromErrno(error);
      return true;
    }
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    auto windowsName = cp932::FromUtf8(name);
    if (!windowsName || cp932::IsForbiddenName(*windowsName)) {
      ++leftOut;
      continue;
    }
    struct stat st {};
    if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
    FindData found;
    found.name = std::move(*windowsName);
    FillInformation(st, found.info);
    if (found.info.kind == EntryKind::Directory) {
      std::string child = *host == "/" ? "/" + std::string(name) : *host + "/" + std::string(name);
      found.info.isPseudoFileSystem = IsPseudoFileSystemFolder(child);
    }
    entries.push_back(std::move(found));
  }
}

}  // namespace pelko::win
