// Any bytes as a floppy image: mount, read the label and free space, list
// every folder and read every file. Then the same on a writable copy: create,
// write, rename and delete, which must keep to the image's bounds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fat/block_device.h"
#include "fat/fat_volume.h"

namespace {

using namespace pelko::fat;

void Walk(FatVolume& volume, Path& folder, int depth) {
  auto items = volume.List(folder);
  if (!items) return;
  for (const DirectoryItem& item : *items) {
    folder.push_back(item.name);
    if (item.entry.IsDirectory()) {
      // A damaged disk may hold a folder inside itself.
      if (depth < 8) Walk(volume, folder, depth + 1);
    } else {
      (void)volume.ReadFile(folder);
    }
    folder.pop_back();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Past 3 MB the image is no floppy; keep the runs fast.
  if (size > 3 * 1024 * 1024) return 0;
  MemoryDevice device(std::vector<std::uint8_t>(data, data + size));
  auto volume = FatVolume::Mount(device);
  if (!volume) return 0;
  (void)volume->Label();
  (void)volume->FreeClusters();
  Path root;
  Walk(*volume, root, 0);

  if (volume->CreateFile({"NEW.BIN"}, false)) {
    std::vector<std::uint8_t> bytes(size % 5000, 0x5A);
    (void)volume->WriteFile({"NEW.BIN"}, bytes);
    (void)volume->Rename({"NEW.BIN"}, {"MOVED.BIN"});
    (void)volume->PutFile({"TMP.BIN"}, bytes, true);
    (void)volume->Replace({"TMP.BIN"}, {"MOVED.BIN"});
    (void)volume->Delete({"MOVED.BIN"});
  }
  (void)volume->MakeDirectory({"DIR"});
  (void)volume->SetLabel("FUZZ");
  auto again = FatVolume::Mount(device);
  if (again) {
    Path top;
    Walk(*again, top, 0);
  }
  return 0;
}
