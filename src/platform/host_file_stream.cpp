#include "platform/host_file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "text/win_error.h"

namespace pelko::win {
namespace {

class HostFileStream : public FileStream {
 public:
  HostFileStream(int fd, bool writable) : fd_(fd), writable_(writable) {}
  ~HostFileStream() override {
    if (fd_ >= 0) ::close(fd_);
  }

  bool Read(std::span<std::byte> buffer, std::size_t& bytesRead) override {
    bytesRead = 0;
    if (fd_ < 0) return Fail(ERROR_INVALID_HANDLE);
    while (bytesRead < buffer.size()) {
      ssize_t n = ::read(fd_, buffer.data() + bytesRead, buffer.size() - bytesRead);
      if (n < 0) {
        if (errno == EINTR) continue;
        return Fail(errno == EIO ? ERROR_READ_FAULT : ErrnoToWin32(errno));
      }
      if (n == 0) break;
      bytesRead += static_cast<std::size_t>(n);
    }
    return true;
  }

  bool Write(std::span<const std::byte> bytes) override {
    if (fd_ < 0) return Fail(ERROR_INVALID_HANDLE);
    if (!writable_) return Fail(ERROR_ACCESS_DENIED);
    std::size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return Fail(errno == EIO ? ERROR_WRITE_FAULT : ErrnoToWin32(errno));
      }
      done += static_cast<std::size_t>(n);
    }
    return true;
  }

  bool Seek(std::uint64_t offset) override {
    if (fd_ < 0) return Fail(ERROR_INVALID_HANDLE);
    if (offset > static_cast<std::uint64_t>(INT64_MAX)) return Fail(ERROR_SEEK);
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) return FailFromErrno(errno);
    return true;
  }

  std::uint64_t Size() const override {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
    return static_cast<std::uint64_t>(st.st_size);
  }

  bool Close() override {
    if (fd_ < 0) return Fail(ERROR_INVALID_HANDLE);
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) return FailFromErrno(errno);
    return true;
  }

 private:
  int fd_;
  bool writable_;
};

int OpenFlags(OpenMode mode) {
  // Non-blocking only for the open itself: a FIFO must not hang the tool.
  int flags = O_CLOEXEC | O_NONBLOCK;
  switch (mode) {
    case OpenMode::Read:
      return flags | O_RDONLY;
    case OpenMode::ReadWrite:
      return flags | O_RDWR;
    case OpenMode::CreateAlways:
      return flags | O_RDWR | O_CREAT;
    case OpenMode::CreateNew:
      return flags | O_RDWR | O_CREAT | O_EXCL;
  }
  return flags | O_RDONLY;
}

}  // namespace

bool FailMissing(const std::string& hostPath) {
  std::size_t slash = hostPath.find_last_of('/');
  std::string parent = slash == std::string::npos ? "."
                       : slash == 0               ? "/"
                                                  : hostPath.substr(0, slash);
  struct stat st {};
  if (::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Fail(ERROR_FILE_NOT_FOUND);
  return Fail(ERROR_PATH_NOT_FOUND);
}

std::unique_ptr<FileStream> OpenHostFile(const std::string& hostPath, OpenMode mode) {
  int fd = ::open(hostPath.c_str(), OpenFlags(mode), 0666);
  if (fd < 0) {
    int error = errno;
    if (error == ENOENT || error == ENOTDIR) {
      FailMissing(hostPath);
    } else if (error == EEXIST) {
      SetLastError(ERROR_FILE_EXISTS);
    } else if (error == ENXIO) {
      SetLastError(ERROR_ACCESS_DENIED);  // a FIFO without a reader: not a file
    } else {
      FailFromErrno(error);
    }
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  // Truncate only once the name is known to be a regular file.
  if (mode == OpenMode::CreateAlways && st.st_size != 0 && ::ftruncate(fd, 0) != 0) {
    int error = errno;
    ::close(fd);
    FailFromErrno(error);
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return std::make_unique<HostFileStream>(fd, mode != OpenMode::Read);
}

}  // namespace pelko::win
