#include "app/disk_info_panel.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "res/texts_main.h"
#include "text/code_page.h"

namespace pelko::app {
namespace {

// The buffers the volume query fills: 500 bytes for the label, 50 for the
// file system, each with its terminating zero.
constexpr std::size_t kLabelBuffer = 500;
constexpr std::size_t kFileSystemBuffer = 50;

std::string Clipped(const std::string& text, std::size_t buffer) {
  return text.substr(0, cp932::PrefixWithoutSplit(text, buffer - 1));
}

}  // namespace

std::string FormatDiskInfo(const win::VolumeInformation& volume, const win::DiskFreeSpace& space) {
  // 32-bit products, printed as signed 32-bit numbers like the serial.
  std::uint32_t freeBytes = space.freeClusters * space.bytesPerSector * space.sectorsPerCluster;
  std::uint32_t totalBytes = space.totalClusters * space.bytesPerSector * space.sectorsPerCluster;
  std::string format = cp932::FromUtf8Literal(res::kDiskInfoFormat);
  std::string label = Clipped(volume.label, kLabelBuffer);
  std::string fileSystem = Clipped(volume.fileSystem, kFileSystemBuffer);
  auto print = [&](char* buffer, std::size_t size) {
    return std::snprintf(buffer, size, format.c_str(), label.c_str(),
                         static_cast<std::int32_t>(volume.serial),
                         static_cast<std::int32_t>(freeBytes),
                         static_cast<std::int32_t>(totalBytes), fileSystem.c_str());
  };
  int length = print(nullptr, 0);
  if (length < 0) return {};
  std::vector<char> text(static_cast<std::size_t>(length) + 1);
  print(text.data(), text.size());
  return std::string(text.data(), static_cast<std::size_t>(length));
}

std::string DiskInfoText() {
  win::VolumeInformation volume;
  if (!win::GetVolumeInformation("a:\\", volume)) return cp932::FromUtf8Literal(res::kNoDisk);
  // The free-space query is not tested; after a failure the figures read 0.
  win::DiskFreeSpace space;
  if (!win::GetDiskFreeSpace("a:\\", space)) space = {};
  return FormatDiskInfo(volume, space);
}

}  // namespace pelko::app
