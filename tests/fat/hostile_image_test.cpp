// Damaged images give errors: never a crash, a hang or data from outside a file.
#include <gtest/gtest.h>

#include "fat/fat_check.h"
#include "fat/fat_table.h"
#include "fat/fat_volume.h"
#include "fat/format.h"
#include "oracle.h"

namespace pelko::fat::test {
namespace {

class HostileImage : public ::testing::Test {
 protected:
  HostileImage() : device_(std::vector<std::uint8_t>(1440 * 1024, 0)) {
    EXPECT_TRUE(FormatVolume(device_, *PlanVolume(*StandardFloppy(1440)), "", 1).ok());
    auto v = FatVolume::Mount(device_);
    EXPECT_TRUE(v->CreateFile({"F.BIN"}, true).ok());
    EXPECT_TRUE(v->WriteFile({"F.BIN"}, RandomBytes(3 * 512, 1)).ok());  // clusters 2, 3, 4
    EXPECT_TRUE(v->MakeDirectory({"SUB"}).ok());                         // cluster 5
    boot_ = *ReadBootSector(device_);
  }

  void SetFat(std::uint32_t cluster, FatEntry entry) {
    FatTable fat = *FatTable::Load(device_, boot_);
    fat.Set(cluster, entry);
    ASSERT_TRUE(fat.Store(device_).ok());
  }
  // Rewrites the root entry of F.BIN.
  template <class Change>
  void ChangeEntry(Change change) {
    Directory root = *Directory::LoadRoot(device_, boot_);
    DirectoryItem item = *root.Find("F.BIN");
    change(item.entry);
    root.Put(item.slot, item.entry);
    ASSERT_TRUE(root.Store(device_).ok());
  }
  FatVolume Mount() { return *FatVolume::Mount(device_); }

  MemoryDevice device_;
  BootSector boot_;
};

TEST_F(HostileImage, AFatLoopIsAnErrorNotAHang) {
  SetFat(4, FatEntry::Link(2));
  ChangeEntry([](DirectoryEntry& e) { e.size = 100000; });
  EXPECT_EQ(Mount().ReadFile({"F.BIN"}).error(), win::ERROR_FILE_CORRUPT);
  EXPECT_EQ(Mount().WriteFile({"F.BIN"}, RandomBytes(10, 2)).code, win::ERROR_FILE_CORRUPT);
  // Nothing is written to a floppy whose chains loop, not even a delete;
  // once repaired, deleting ends and frees each cluster of the cut chain once.
  EXPECT_EQ(Mount().Delete({"F.BIN"}).code, win::ERROR_FILE_CORRUPT);
  ASSERT_TRUE(RepairVolume(device_).ok());
  std::uint32_t free = Mount().FreeClusters();
  ASSERT_TRUE(Mount().Delete({"F.BIN"}).ok());
  EXPECT_EQ(Mount().FreeClusters(), free + 3);
}

TEST_F(HostileImage, AFirstClusterBeyondTheVolumeIsAnError) {
  ChangeEntry([](DirectoryEntry& e) { e.firstCluster = 5000; });
  EXPECT_EQ(Mount().ReadFile({"F.BIN"}).error(), win::ERROR_FILE_CORRUPT);
  EXPECT_EQ(Mount().Delete({"F.BIN"}).code, win::ERROR_FILE_CORRUPT);
  ASSERT_TRUE(RepairVolume(device_).ok());
  ASSERT_TRUE(Mount().Delete({"F.BIN"}).ok());
}

TEST_F(HostileImage, AChainLeadingBeyondTheVolumeIsAnError) {
  SetFat(3, FatEntry::Link(4000));
  EXPECT_EQ(Mount().ReadFile({"F.BIN"}).error(), win::ERROR_FILE_CORRUPT);
}

TEST_F(HostileImage, AChainRunningIntoAFreeClusterIsAnError) {
  SetFat(3, FatEntry::Link(100));
  EXPECT_EQ(Mount().ReadFile({"F.BIN"}).error(), win::ERROR_FILE_CORRUPT);
}

TEST_F(HostileImage, AFileLargerThanItsChainIsAnError) {
  ChangeEntry([](DirectoryEntry& e) { e.size = 3 * 512 + 1; });
  EXPECT_EQ(Mount().ReadFile({"F.BIN"}).error(), win::ERROR_FILE_CORRUPT);
}

TEST_F(HostileImage, ASizeWithoutAnyClusterIsAnError) {
  ChangeEntry([](DirectoryEntry& e) { e.firstCluster = 0; });
  EXPECT_EQ(Mount().ReadFile({"F.BIN"}).error(), win::ERROR_FILE_CORRUPT);
}

TEST_F(HostileImage, AFolderWhoseChainLoopsIsAnError) {
  SetFat(5, FatEntry::Link(5));
  EXPECT_EQ(Mount().List({"SUB"}).error(), win::ERROR_FILE_CORRUPT);
  EXPECT_EQ(Mount().CreateFile({"SUB", "X"}, true).code, win::ERROR_FILE_CORRUPT);
}

TEST_F(HostileImage, AFolderEntryWithoutAClusterIsAnError) {
  Directory root = *Directory::LoadRoot(device_, boot_);
  DirectoryItem sub = *root.Find("SUB");
  sub.entry.firstCluster = 0;
  root.Put(sub.slot, sub.entry);
  ASSERT_TRUE(root.Store(device_).ok());
  EXPECT_FALSE(Mount().List({"SUB"}).ok());
}

TEST_F(HostileImage, AFolderHoldingItselfIsWalkedOnlyAsFarAsThePathGoes) {
  // SUB\SELF is SUB again: a path may name it any number of times, but each
  // lookup ends with the path.
  Directory sub = *Directory::Load(device_, boot_, *FatTable::Load(device_, boot_), 5);
  DirectoryEntry self = sub.EntryAt(0);
  self.name = {'S', 'E', 'L', 'F', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  sub.Put(*sub.FreeSlot(), self);
  ASSERT_TRUE(sub.Store(device_).ok());
  Path deep(50, "SELF");
  deep.insert(deep.begin(), "SUB");
  auto items = Mount().List(deep);
  ASSERT_TRUE(items.ok());
  EXPECT_EQ(items->size(), 1u);
}

}  // namespace
}  // namespace pelko::fat::test
