// Drive A: as Windows shows a FAT floppy, over the FAT driver of fat/. Every
// operation mounts the image afresh, so a swapped image is seen at once and a
// stream's data is committed against the disk as it is when it closes.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "fat/block_device.h"
#include "fat/fat_volume.h"
#include "fat/volume_label.h"
#include "platform/volume.h"
#include "text/dos_time.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

constexpr std::uint8_t kReportedAttributes = 0x37;  // r/o, hidden, system, folder, archive

struct Mounted {
  std::unique_ptr<fat::FileDevice> device;
  std::optional<fat::FatVolume> volume;

  fat::FatVolume* operator->() { return &*volume; }
};

// Anything that is not a readable FAT volume is an empty drive. A floppy
// that is mounted (held exclusively) may be read, but a change to it fails
// as a file another process has open fails on Windows.
std::optional<Mounted> Mount(const std::string& imagePath, fat::Access access) {
  auto device = fat::FileDevice::Open(imagePath, access);
  if (!device) {
    SetLastError(device.error() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION
                                                           : ERROR_NOT_READY);
    return std::nullopt;
  }
  auto volume = fat::FatVolume::Mount(**device);
  if (!volume) {
    SetLastError(ERROR_NOT_READY);
    return std::nullopt;
  }
  Mounted m;
  m.device = std::move(*device);
  m.volume.emplace(std::move(*volume));
  return m;
}

bool Report(fat::Status status) { return status ? true : Fail(status.code); }

// How a stream's bytes reach the disk when it closes.
enum class Commit { Nothing, Existing, Create, CreateNew };

// The file's bytes live in memory while it is open (a floppy holds at most a
// few MB) and go to the disk on Close, committed last: data, then FAT, then
// the entry. A created file appears on the disk only then, whole; a stream
// dropped unclosed after a failed write leaves nothing on the disk.
class FloppyFileStream final : public FileStream {
 public:
  FloppyFileStream(std::string imagePath, fat::Path path, std::vector<std::uint8_t> data,
                   Commit commit, std::uint64_t room)
      : imagePath_(std::move(imagePath)),
        path_(std::move(path)),
        data_(std::move(data)),
        commit_(commit),
        room_(room),
        dirty_(commit == Commit::Create || commit == Commit::CreateNew) {}
  ~FloppyFileStream() override {
    if (!closed_ && !failedWrite_) Close();
  }

  bool Read(std::span<std::byte> buffer, std::size_t& bytesRead) override {
    bytesRead = 0;
    if (position_ >= data_.size()) return true;
    bytesRead = std::min(buffer.size(), data_.size() - static_cast<std::size_t>(position_));
    std::memcpy(buffer.data(), data_.data() + position_, bytesRead);
    position_ += bytesRead;
    return true;
  }

  bool Write(std::span<const std::byte> bytes) override {
    if (commit_ == Commit::Nothing) return Fail(ERROR_ACCESS_DENIED);
    std::uint64_t end = position_ + bytes.size();
    // The disk is full as soon as the data cannot fit, not only at Close.
    if (end > room_) {
      failedWrite_ = true;
      return Fail(ERROR_DISK_FULL);
    }
    if (end > data_.size()) data_.resize(static_cast<std::size_t>(end), 0);
    std::memcpy(data_.data() + position_, bytes.data(), bytes.size());
    position_ = end;
    dirty_ = true;
    return true;
  }

  bool Seek(std::uint64_t offset) override {
    position_ = offset;
    return true;
  }

  std::uint64_t Size() const override { return data_.size(); }

  bool Close() override {
    if (closed_) return true;
    closed_ = true;
    if (!dirty_) return true;
    auto mounted = Mount(imagePath_, fat::Access::Write);
    if (!mounted) return false;
    return Report((*mounted)->PutFile(path_, data_, commit_ == Commit::CreateNew));
  }

 private:
  std::string imagePath_;
  fat::Path path_;
  std::vector<std::uint8_t> data_;
  Commit commit_;
  std::uint64_t room_;  // the most bytes the file may hold on this disk
  std::uint64_t position_ = 0;
  bool dirty_;
  bool failedWrite_ = false;
  bool closed_ = false;
};

class FloppyVolume final : public Volume {
 public:
  explicit FloppyVolume(std::string imagePath) : imagePath_(std::move(imagePath)) {}

  bool GetInformation(VolumeInformation& info) override {
    auto m = Mount(imagePath_, fat::Access::Read);
    if (!m) return false;
    auto label = (*m)->Label();
    if (!label) return Fail(ERROR_NOT_READY);
    info.label = *label;
    info.serial = (*m)->Boot().serial;
    info.fileSystem = "FAT";
    return true;
  }

  bool SetLabel(std::string_view label) override {
    auto m = Mount(imagePath_, fat::Access::Write);
    if (!m) return false;
    auto checked = fat::MakeVolumeLabel(label);
    if (!checked) return Fail(checked.error());
    return Report((*m)->SetLabel(*checked));
  }

  bool GetFreeSpace(DiskFreeSpace& space) override {
    auto m = Mount(imagePath_, fat::Access::Read);
    if (!m) return false;
    space.sectorsPerCluster = (*m)->Boot().sectorsPerCluster;
    space.bytesPerSector = (*m)->Boot().bytesPerSector;
    space.freeClusters = (*m)->FreeClusters();
    space.totalClusters = (*m)->TotalClusters();
    return true;
  }

  std::unique_ptr<FileStream> Open(const RelativePath& path, OpenMode mode) override {
    auto m = Mount(imagePath_, mode == OpenMode::Read ? fat::Access::Read : fat::Access::Write);
    if (!m) return nullptr;
    fat::FatVolume& volume = *m->volume;
    auto item = volume.Stat(path);
    if (mode == OpenMode::CreateAlways || mode == OpenMode::CreateNew) {
      // Nothing is written before Close: the checks CreateFile would make.
      const bool mustBeNew = mode == OpenMode::CreateNew;
      if (!Report(volume.CheckCreate(path, mustBeNew))) return nullptr;
      std::uint32_t held = item ? volume.ClustersFor(item->entry.size) : 0;
      return Stream(volume, path, {}, mustBeNew ? Commit::CreateNew : Commit::Create, held);
    }
    if (!item) return Null(item.error());
    if (item->entry.IsDirectory()) return Null(ERROR_ACCESS_DENIED);
    bool writable = mode == OpenMode::ReadWrite;
    if (writable && volume.IsWriteProtected()) return Null(ERROR_WRITE_PROTECT);
    if (writable && (item->entry.attributes & fat::kAttrReadOnly)) return Null(ERROR_ACCESS_DENIED);
    // What is read comes from the disk itself, not from what the system
    // remembers of it: a file read back after writing shows what the disk
    // really holds.
    m->device->DropCache();
    auto data = volume.ReadFile(path);
    if (!data) return Null(data.error());
    std::uint32_t held = volume.ClustersFor(item->entry.size);
    return Stream(volume, path, std::move(*data), writable ? Commit::Existing : Commit::Nothing,
                  held);
  }

  bool GetInformation(const RelativePath& path, FileInformation& info) override {
    auto m = Mount(imagePath_, fat::Access::Read);
    if (!m) return false;
    auto item = (*m)->Stat(path);
    if (!item) return Fail(item.error());
    info = FileInformation{};
    info.kind = item->entry.IsDirectory() ? EntryKind::Directory : EntryKind::File;
    info.size = item->entry.IsDirectory() ? 0 : item->entry.size;
    info.lastWriteTime = path.empty() ? 0 : text::FromDosTime(item->entry.written);
    info.attributes = item->entry.attributes & kReportedAttributes;
    info.volumeSerial = (*m)->Boot().serial;
    info.fileIndex = item->entry.firstCluster;
    return true;
  }

  bool SetLastWriteTime(const RelativePath& path, std::int64_t unixTime) override {
    auto m = Mount(imagePath_, fat::Access::Write);
    return m && Report((*m)->SetWriteTime(path, unixTime));
  }
  bool Delete(const RelativePath& path) override {
    auto m = Mount(imagePath_, fat::Access::Write);
    return m && Report((*m)->Delete(path));
  }
  bool Rename(const RelativePath& from, const RelativePath& to) override {
    auto m = Mount(imagePath_, fat::Access::Write);
    return m && Report((*m)->Rename(from, to));
  }
  bool Replace(const RelativePath& from, const RelativePath& to) override {
    auto m = Mount(imagePath_, fat::Access::Write);
    return m && Report((*m)->Replace(from, to));
  }
  bool CreateDirectory(const RelativePath& path) override {
    auto m = Mount(imagePath_, fat::Access::Write);
    return m && Report((*m)->MakeDirectory(path));
  }
  bool RemoveDirectory(const RelativePath& path) override {
    auto m = Mount(imagePath_, fat::Access::Write);
    return m && Report((*m)->RemoveDirectory(path));
  }

  bool List(const RelativePath& folder, std::vector<FindData>& entries,
            std::size_t& leftOut) override {
    leftOut = 0;
    auto m = Mount(imagePath_, fat::Access::Read);
    if (!m) return false;
    auto items = (*m)->List(folder);
    if (!items) return Fail(items.error());
    for (const fat::DirectoryItem& item : *items) {
      FindData found;
      found.name = item.name;
      found.info.kind = item.entry.IsDirectory() ? EntryKind::Directory : EntryKind::File;
      found.info.size = item.entry.IsDirectory() ? 0 : item.entry.size;
      found.info.lastWriteTime = text::FromDosTime(item.entry.written);
      found.info.attributes = item.entry.attributes & kReportedAttributes;
      found.info.volumeSerial = (*m)->Boot().serial;
      found.info.fileIndex = item.entry.firstCluster;
      entries.push_back(std::move(found));
    }
    return true;
  }

  std::string Identity() const override { return "fat:" + imagePath_; }

 private:
  static std::unique_ptr<FileStream> Null(DWORD code) {
    SetLastError(code);
    return nullptr;
  }

  std::unique_ptr<FileStream> Stream(fat::FatVolume& volume, const RelativePath& path,
                                     std::vector<std::uint8_t> data, Commit commit,
                                     std::uint32_t heldClusters) {
    std::uint64_t clusters = std::uint64_t{volume.FreeClusters()} + heldClusters;
    std::uint64_t room =
        std::min<std::uint64_t>(clusters * volume.Boot().ClusterBytes(), UINT32_MAX);
    return std::make_unique<FloppyFileStream>(imagePath_, path, std::move(data), commit, room);
  }

  std::string imagePath_;
};

}  // namespace

std::unique_ptr<Volume> OpenFloppyVolume(const std::string& imagePath) {
  // Symlinks are followed once here, so that every later call of this
  // volume sees the same image even if the link is changed meanwhile.
  std::string resolved = imagePath;
  if (char* real = ::realpath(imagePath.c_str(), nullptr)) {
    resolved = real;
    std::free(real);
  }
  if (!Mount(resolved, fat::Access::Read)) return nullptr;
  return std::make_unique<FloppyVolume>(resolved);
}

}  // namespace pelko::win
