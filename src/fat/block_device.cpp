#include "fat/block_device.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace pelko::fat {
namespace {

bool Inside(std::uint64_t offset, std::size_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

std::uint64_t SizeOf(int fd) {
  off_t end = ::lseek(fd, 0, SEEK_END);
  return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

int OpenRetrying(const std::string& path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

ErrorCode OpenFailure(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return win::ERROR_ACCESS_DENIED;
    case EBUSY:
      return win::ERROR_SHARING_VIOLATION;
    default:  // no such file, no medium in the drive, ...
      return win::ERROR_NOT_READY;
  }
}

// Waits for the lock. Where the file system cannot lock at all the device
// is used unlocked, as it was before locking existed.
void Lock(int fd, int operation) {
  while (::flock(fd, operation) != 0 && errno == EINTR) {
  }
}

bool SameFile(int a, int b) {
  struct stat sa {
  }, sb{};
  return ::fstat(a, &sa) == 0 && ::fstat(b, &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

}  // namespace

MemoryDevice::MemoryDevice(std::vector<std::uint8_t> bytes, bool writeProtected)
    : bytes_(std::move(bytes)), writeProtected_(writeProtected) {}

Status MemoryDevice::Read(std::uint64_t offset, std::span<std::uint8_t> bytes) {
  if (!Inside(offset, bytes.size(), bytes_.size())) return Failed(win::ERROR_READ_FAULT);
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), bytes.size(), bytes.begin());
  return Ok();
}

Status MemoryDevice::Write(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  if (writeProtected_) return Failed(win::ERROR_WRITE_PROTECT);
  if (!Inside(offset, bytes.size(), bytes_.size())) return Failed(win::ERROR_WRITE_FAULT);
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
  return Ok();
}

Result<std::unique_ptr<FileDevice>> FileDevice::Open(const std::string& hostPath, Access access) {
  // The first descriptor is read-only and carries the lock: a writer waiting
  // for another PELKO process must not hold the device exclusively meanwhile.
  int lockFd = OpenRetrying(hostPath, O_RDONLY);
  if (lockFd < 0) return Failed(OpenFailure(errno));
  struct stat st {};
  if (::fstat(lockFd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISBLK(st.st_mode))) {
    ::close(lockFd);
    return Failed(win::ERROR_NOT_READY);
  }
  Lock(lockFd, access == Access::Read ? LOCK_SH : LOCK_EX);
  const std::uint64_t size = SizeOf(lockFd);
  if (S_ISBLK(st.st_mode) && size > kLargestFloppyBytes) {
    ::close(lockFd);
    return Failed(win::ERROR_NOT_SUPPORTED);
  }
  if (access == Access::Read) {
    return std::unique_ptr<FileDevice>(new FileDevice(lockFd, lockFd, size, true));
  }
  // An image nobody may write is a disk with its write-protect tab set, even
  // for a user (root) whom the permission bits would not stop.
  if (S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return std::unique_ptr<FileDevice>(new FileDevice(lockFd, lockFd, size, true));
  }
  // O_EXCL on a block device fails with EBUSY while the kernel has it
  // mounted or another program holds it: nothing is written behind their back.
  int fd = OpenRetrying(hostPath, O_RDWR | (S_ISBLK(st.st_mode) ? O_EXCL : 0));
  if (fd < 0) {
    int error = errno;
    if (error == EACCES || error == EROFS || error == EPERM) {
      return std::unique_ptr<FileDevice>(new FileDevice(lockFd, lockFd, size, true));
    }
    ::close(lockFd);
    return Failed(OpenFailure(error));
  }
  if (!SameFile(lockFd, fd)) {  // the name was pointed elsewhere in between
    ::close(fd);
    ::close(lockFd);
    return Failed(win::ERROR_NOT_READY);
  }
  return std::unique_ptr<FileDevice>(new FileDevice(lockFd, fd, size, false));
}

Result<std::unique_ptr<FileDevice>> FileDevice::CreateForFormat(const std::string& hostPath,
                                                                std::uint64_t size) {
  struct stat st {};
  if (::stat(hostPath.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) {
    auto device = Open(hostPath, Access::Write);
    if (!device) return device.status();
    if ((*device)->IsWriteProtected()) return Failed(win::ERROR_WRITE_PROTECT);
    if ((*device)->Size() < size) return Failed(win::ERROR_NOT_READY);
    return device;
  }
  int fd = OpenRetrying(hostPath, O_RDWR | O_CREAT, 0644);
  if (fd < 0) {
    return Failed(errno == EACCES || errno == EROFS ? win::ERROR_WRITE_PROTECT
                                                    : win::ERROR_NOT_READY);
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return Failed(win::ERROR_NOT_READY);
  }
  Lock(fd, LOCK_EX);
  // Emptied first so that the whole image reads as zeros afterwards.
  if (::ftruncate(fd, 0) != 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
    ::close(fd);
    return Failed(win::ERROR_WRITE_FAULT);
  }
  return std::unique_ptr<FileDevice>(new FileDevice(fd, fd, SizeOf(fd), false));
}

FileDevice::~FileDevice() {
  // The data descriptor goes first: a waiting writer gets the lock only when
  // the exclusive open is over too.
  ::close(fd_);
  if (lockFd_ != fd_) ::close(lockFd_);
}

Status FileDevice::Read(std::uint64_t offset, std::span<std::uint8_t> bytes) {
  if (!Inside(offset, bytes.size(), size_)) return Failed(win::ERROR_READ_FAULT);
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n =
        ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Failed(win::ERROR_READ_FAULT);
    done += static_cast<std::size_t>(n);
  }
  return Ok();
}

Status FileDevice::Write(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  if (writeProtected_) return Failed(win::ERROR_WRITE_PROTECT);
  if (!Inside(offset, bytes.size(), size_)) return Failed(win::ERROR_WRITE_FAULT);
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n =
        ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == ENOSPC) return Failed(win::ERROR_DISK_FULL);
    if (n <= 0) return Failed(win::ERROR_WRITE_FAULT);
    done += static_cast<std::size_t>(n);
  }
  return Ok();
}

Status FileDevice::Flush() {
  if (writeProtected_) return Ok();
  return ::fdatasync(fd_) == 0 ? Ok() : Failed(win::ERROR_WRITE_FAULT);
}

void FileDevice::DropCache() {
  // Only clean pages are dropped; the writes were flushed before.
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_DONTNEED);
}

}  // namespace pelko::fat
