// The bottom layer: a volume's bytes, in an image file, a floppy device or
// memory. A read-only image or device is a write-protected disk.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "fat/fat_result.h"

namespace pelko::fat {

class BlockDevice {
 public:
  virtual ~BlockDevice() = default;
  virtual std::uint64_t Size() const = 0;
  virtual bool IsWriteProtected() const = 0;
  // Reads or writes exactly the span; anything outside the device fails.
  virtual Status Read(std::uint64_t offset, std::span<std::uint8_t> bytes) = 0;
  virtual Status Write(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
  virtual Status Flush() = 0;
  // Forgets what the system keeps in memory of the device, so that the next
  // read comes from the medium itself.
  virtual void DropCache() {}
};

// An image held in memory: for tests and the fuzzer.
class MemoryDevice final : public BlockDevice {
 public:
  explicit MemoryDevice(std::vector<std::uint8_t> bytes, bool writeProtected = false);

  std::uint64_t Size() const override { return bytes_.size(); }
  bool IsWriteProtected() const override { return writeProtected_; }
  Status Read(std::uint64_t offset, std::span<std::uint8_t> bytes) override;
  Status Write(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
  Status Flush() override { return Ok(); }

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  bool writeProtected_;
};

// The largest standard floppy, 2880 KB. A block device larger than this is a
// USB stick or a hard disk, never a floppy, and is refused as drive A:.
inline constexpr std::uint64_t kLargestFloppyBytes = std::uint64_t{2880} * 1024;

// What a FileDevice is opened for.
enum class Access {
  Read,   // shared: other readers may come in; writing fails
  Write,  // exclusive: no other PELKO process, and on a block device no one
          // else (the kernel's mount included), uses it meanwhile
};

// An image file or a block device. While open it is locked with flock(2),
// shared for reading and exclusive for writing, so that a second PELKO
// process (or mtools, which locks the same way) waits for this one instead of
// changing the same FAT at once.
class FileDevice final : public BlockDevice {
 public:
  // For writing, read-write when the file allows it, else read-only
  // (write-protected); for reading, always read-only. Fails with
  // ERROR_NOT_READY when there is nothing readable (no file, no medium),
  // ERROR_ACCESS_DENIED when permissions forbid even reading,
  // ERROR_NOT_SUPPORTED for a block device larger than a floppy, and, for
  // writing, ERROR_SHARING_VIOLATION when a block device is held
  // exclusively elsewhere (mounted).
  static Result<std::unique_ptr<FileDevice>> Open(const std::string& hostPath,
                                                  Access access = Access::Write);
  // For formatting: opens for writing, creating a regular file when missing
  // and giving a regular file exactly `size` bytes (zeros). A device must
  // already be at least that large, and no larger than a floppy.
  static Result<std::unique_ptr<FileDevice>> CreateForFormat(const std::string& hostPath,
                                                             std::uint64_t size);
  ~FileDevice() override;
  FileDevice(const FileDevice&) = delete;
  FileDevice& operator=(const FileDevice&) = delete;

  std::uint64_t Size() const override { return size_; }
  // Also true for a device opened for reading: nothing can be written through it.
  bool IsWriteProtected() const override { return writeProtected_; }
  Status Read(std::uint64_t offset, std::span<std::uint8_t> bytes) override;
  Status Write(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
  Status Flush() override;
  void DropCache() override;

 private:
  FileDevice(int lockFd, int fd, std::uint64_t size, bool writeProtected)
      : lockFd_(lockFd), fd_(fd), size_(size), writeProtected_(writeProtected) {}

  int lockFd_;  // holds the flock; the same as fd_ unless a second open was needed
  int fd_;
  std::uint64_t size_;
  bool writeProtected_;
};

}  // namespace pelko::fat
