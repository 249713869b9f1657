#include "fat/block_device.h"

#include <fcntl.h>
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

Result<std::unique_ptr<FileDevice>> FileDevice::Open(const std::string& hostPath) {
  bool writeProtected = false;
  int fd = ::open(hostPath.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    writeProtected = true;
  }
  if (fd < 0) return Failed(win::ERROR_NOT_READY);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISBLK(st.st_mode))) {
    ::close(fd);
    return Failed(win::ERROR_NOT_READY);
  }
  // An image nobody may write is a disk with its write-protect tab set, even
  // for a user (root) whom the permission bits would not stop.
  if (!writeProtected && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    int readOnly = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    ::close(fd);
    if (readOnly < 0) return Failed(win::ERROR_NOT_READY);
    fd = readOnly;
    writeProtected = true;
  }
  return std::unique_ptr<FileDevice>(new FileDevice(fd, SizeOf(fd), writeProtected));
}

Result<std::unique_ptr<FileDevice>> FileDevice::CreateForFormat(const std::string& hostPath,
                                                                std::uint64_t size) {
  int fd = ::open(hostPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    return Failed(errno == EACCES || errno == EROFS ? win::ERROR_WRITE_PROTECT
                                                    : win::ERROR_NOT_READY);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return Failed(win::ERROR_NOT_READY);
  }
  if (S_ISREG(st.st_mode)) {
    // Emptied first so that the whole image reads as zeros afterwards.
    if (::ftruncate(fd, 0) != 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
      ::close(fd);
      return Failed(win::ERROR_WRITE_FAULT);
    }
  } else if (!S_ISBLK(st.st_mode) || SizeOf(fd) < size) {
    ::close(fd);
    return Failed(win::ERROR_NOT_READY);
  }
  return std::unique_ptr<FileDevice>(new FileDevice(fd, SizeOf(fd), false));
}

FileDevice::~FileDevice() { ::close(fd_); }

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
