// Any bytes as a floppy image: mount, read the label and free space, list
// every folder (each entered once) and read every file. Then, on a writable
// copy: create, write, rename, replace, delete, make a folder and relabel, and judge
// the result with the volume check: a floppy the check refused must come out
// byte for byte unchanged, and a sound one must stay sound. Last, a repair
// must leave a floppy that is safe to write. And the formatter, given the
// image's own layout and label, must make a volume that checks sound.
//
// An input shorter than the size its boot sector gives is also tried padded
// with zeros to that size, so that small inputs reach FAT16 volumes (which
// need some 2 MB) and the far clusters of a floppy.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <span>
#include <string_view>
#include <vector>

#include "fat/block_device.h"
#include "fat/fat_check.h"
#include "fat/fat_volume.h"
#include "fat/format.h"
#include "fat/volume_label.h"

namespace {

using namespace pelko::fat;

constexpr std::size_t kMaxImage = 4 * 1024 * 1024;

void Walk(FatVolume& volume) {
  std::set<std::uint32_t> entered{0};
  std::vector<Path> folders{{}};
  while (!folders.empty()) {
    Path folder = std::move(folders.back());
    folders.pop_back();
    auto items = volume.List(folder);
    if (!items) continue;
    for (const DirectoryItem& item : *items) {
      Path path = folder;
      path.push_back(item.name);
      if (!item.entry.IsDirectory()) {
        (void)volume.ReadFile(path);
      } else if (entered.insert(item.entry.firstCluster).second) {
        folders.push_back(std::move(path));
      }
    }
  }
}

void Require(bool condition) {
  if (!condition) std::abort();
}

void Change(FatVolume& volume, std::size_t seed) {
  if (volume.CreateFile({"NEW.BIN"}, false)) {
    std::vector<std::uint8_t> bytes(seed % 5000, 0x5A);
    (void)volume.WriteFile({"NEW.BIN"}, bytes);
    (void)volume.Rename({"NEW.BIN"}, {"MOVED.BIN"});
    (void)volume.PutFile({"TMP.BIN"}, bytes, true);
    (void)volume.Replace({"TMP.BIN"}, {"MOVED.BIN"});
    (void)volume.Delete({"MOVED.BIN"});
  }
  (void)volume.MakeDirectory({"DIR"});
  (void)volume.CreateFile({"DIR", "IN.TXT"}, true);
  (void)volume.SetLabel("FUZZ");
}

void FormatLike(const std::vector<std::uint8_t>& image) {
  const std::size_t head = std::min(image.size(), kBootSectorBytes);
  auto bpb = ParseBootSector(std::span(image.data(), head), image.size());
  if (!bpb) return;
  BootSector wanted = *bpb;
  if (image[0] & 1) wanted.sectorsPerFat = 0;  // the planner's own choice
  auto plan = PlanVolume(wanted);
  if (!plan) return;
  auto label = MakeVolumeLabel(
      std::string_view(reinterpret_cast<const char*>(image.data()) + kBootLabelOffset, 11));
  MemoryDevice blank(std::vector<std::uint8_t>(image.size(), 0xF6));
  if (!FormatVolume(blank, *plan, label ? *label : "", plan->serial)) return;
  auto volume = FatVolume::Mount(blank);
  Require(volume.ok());
  auto report = CheckVolume(blank);
  Require(report && report->Sound());
}

void Exercise(const std::vector<std::uint8_t>& image) {
  FormatLike(image);
  MemoryDevice device(image);
  auto volume = FatVolume::Mount(device);
  if (!volume) return;
  (void)volume->Label();
  (void)volume->FreeClusters();
  Walk(*volume);

  auto before = CheckVolume(device);
  Change(*volume, image.size());
  auto after = CheckVolume(device);
  if (before && !before->SafeToWrite()) Require(device.Bytes() == image);
  if (before && before->Sound()) Require(after && after->Sound());
  if (auto again = FatVolume::Mount(device)) Walk(*again);

  MemoryDevice repaired(image);
  if (RepairVolume(repaired)) {
    auto report = CheckVolume(repaired);
    Require(report && report->SafeToWrite());
    for (const Problem& p : report->problems) {
      Require(p.kind != ProblemKind::LostClusters && p.kind != ProblemKind::FatCopiesDiffer);
    }
  }
}

// The size the boot sector gives, or 0 when it gives none worth trying.
std::size_t DeclaredSize(const std::uint8_t* data, std::size_t size) {
  if (size < 36) return 0;
  const std::size_t sector = data[11] | (data[12] << 8);
  std::size_t sectors = data[19] | (data[20] << 8);
  if (sectors == 0) {
    sectors = data[32] | (data[33] << 8) | (data[34] << 16) | (std::size_t{data[35]} << 24);
  }
  const std::size_t total = sector * sectors;
  return total > size && total <= kMaxImage ? total : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxImage) return 0;
  std::vector<std::uint8_t> image(data, data + size);
  Exercise(image);
  if (std::size_t padded = DeclaredSize(data, size)) {
    image.resize(padded, 0);
    Exercise(image);
  }
  return 0;
}
