// Fresh images for the tests: FAT12 floppies and a small FAT16 volume, each
// made by a different tool so that the driver meets more than its own output.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fat/block_device.h"
#include "fat/fat_volume.h"
#include "support/temp_folder.h"

namespace pelko::fat::test {

// 1.44 MB floppy by mformat (FAT12, one sector per cluster).
struct Floppy1440 {
  static constexpr const char* kName = "Floppy1440";
  static constexpr FatType kType = FatType::Fat12;
  static void Make(const std::string& path);
};
// 720 KB floppy by our own formatter (FAT12, two sectors per cluster).
struct Floppy720 {
  static constexpr const char* kName = "Floppy720";
  static constexpr FatType kType = FatType::Fat12;
  static void Make(const std::string& path);
};
// 4 MB volume by mkfs.fat (FAT16, 512 root entries).
struct Fat16Volume {
  static constexpr const char* kName = "Fat16Volume";
  static constexpr FatType kType = FatType::Fat16;
  static void Make(const std::string& path);
};

// The images of tests/fixtures/fat (README there): every name, and one
// written to `hostPath` padded back to the size its boot sector gives.
std::vector<std::string> FixtureImageNames();
void CopyFixtureImage(const std::string& name, const std::string& hostPath);

// An image file in a temporary folder, and the driver mounted on it.
class ImageFixture {
 public:
  explicit ImageFixture(void (*make)(const std::string&));
  const std::string& Path() const { return path_; }
  std::string Host(const std::string& name) const { return folder_.Sub(name); }
  // Mounts afresh (after the tools or another mount changed the image).
  FatVolume& Mount();

 private:
  pelko::test::TempFolder folder_;
  std::string path_;
  std::unique_ptr<FileDevice> device_;
  std::unique_ptr<FatVolume> volume_;
};

}  // namespace pelko::fat::test
