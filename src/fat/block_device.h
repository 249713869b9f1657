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

// An image file or a block device, through one descriptor.
class FileDevice final : public BlockDevice {
 public:
  // Read-write when the file allows it, else read-only (write-protected).
  // A missing or unreadable file fails with ERROR_NOT_READY.
  static Result<std::unique_ptr<FileDevice>> Open(const std::string& hostPath);
  // For formatting: opens read-write, creating a regular file when missing and
  // giving a regular file exactly `size` bytes (zeros). A device must already
  // be at least that large.
  static Result<std::unique_ptr<FileDevice>> CreateForFormat(const std::string& hostPath,
                                                             std::uint64_t size);
  ~FileDevice() override;
  FileDevice(const FileDevice&) = delete;
  FileDevice& operator=(const FileDevice&) = delete;

  std::uint64_t Size() const override { return size_; }
  bool IsWriteProtected() const override { return writeProtected_; }
  Status Read(std::uint64_t offset, std::span<std::uint8_t> bytes) override;
  Status Write(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
  Status Flush() override;
  void DropCache() override;

 private:
  FileDevice(int fd, std::uint64_t size, bool writeProtected)
      : fd_(fd), size_(size), writeProtected_(writeProtected) {}

  int fd_;
  std::uint64_t size_;
  bool writeProtected_;
};

}  // namespace pelko::fat
