// One body of file tests, run on FAT12 floppies and on a FAT16 volume; after
// every change fsck.fat must find nothing, and mtools must read what we wrote.
#include <gtest/gtest.h>

#include <algorithm>

#include "fat/fat_volume.h"
#include "oracle.h"
#include "test_images.h"
#include "text/code_page.h"

namespace pelko::fat::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

template <class Kind>
class VolumeFiles : public ::testing::Test {
 protected:
  VolumeFiles() : image_(&Kind::Make) {}

  FatVolume& Mount() { return image_.Mount(); }
  const std::string& Image() const { return image_.Path(); }
  std::string Host(const std::string& name) const { return image_.Host(name); }
  std::uint32_t ClusterBytes() { return Mount().Boot().ClusterBytes(); }

  void ExpectClean(const char* after) { EXPECT_EQ(FsckProblems(Image()), "") << "after " << after; }

  // Creates NAME and gives it `content`, through a fresh mount.
  void Put(const Path& path, const Bytes& content) {
    FatVolume& v = Mount();
    ASSERT_TRUE(v.CreateFile(path, false).ok());
    ASSERT_TRUE(v.WriteFile(path, content).ok());
  }

  ImageFixture image_;
};

struct KindNames {
  template <class T>
  static std::string GetName(int) {
    return T::kName;
  }
};
using Kinds = ::testing::Types<Floppy1440, Floppy720, Fat16Volume>;
TYPED_TEST_SUITE(VolumeFiles, Kinds, KindNames);

TYPED_TEST(VolumeFiles, TypeAndFreeClustersAgreeWithMdir) {
  FatVolume& v = this->Mount();
  EXPECT_EQ(v.Boot().type, TypeParam::kType);
  EXPECT_EQ(v.FreeClusters(), v.TotalClusters());
  EXPECT_EQ(v.FreeClusters(), MdirFreeClusters(this->Image(), v.Boot().ClusterBytes()));
}

TYPED_TEST(VolumeFiles, FilesWeWriteAreByteIdenticalWhenMcopyReadsThem) {
  const std::uint32_t c = this->ClusterBytes();
  const std::size_t sizes[] = {0, 1, 511, 512, 513, c - 1, c, c + 1, 3 * c + 7, 200000};
  int n = 0;
  for (std::size_t size : sizes) {
    std::string name = "F" + std::to_string(n) + ".BIN";
    Bytes content = RandomBytes(size, static_cast<unsigned>(size));
    this->Put({name}, content);
    this->ExpectClean(name.c_str());
    McopyOut(this->Image(), name, this->Host("out.bin"));
    EXPECT_EQ(ReadBytes(this->Host("out.bin")), content) << name;
    auto again = this->Mount().ReadFile({name});
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(*again, content);
    ++n;
  }
}

TYPED_TEST(VolumeFiles, FilesMcopyWroteAreReadByteIdentical) {
  Bytes content = RandomBytes(300000, 7);
  WriteBytes(this->Host("src.bin"), content);
  McopyIn(this->Image(), this->Host("src.bin"), "DATA.LZH");
  auto read = this->Mount().ReadFile({"data.lzh"});
  ASSERT_TRUE(read.ok()) << read.error();
  EXPECT_EQ(*read, content);
}

TYPED_TEST(VolumeFiles, FreeClustersFollowWritesAndDeletesAsMdirCountsThem) {
  const std::uint32_t c = this->ClusterBytes();
  const std::uint32_t total = this->Mount().TotalClusters();
  this->Put({"BIG.BIN"}, RandomBytes(10 * c + 1, 1));
  EXPECT_EQ(this->Mount().FreeClusters(), total - 11);
  EXPECT_EQ(MdirFreeClusters(this->Image(), c), total - 11);
  ASSERT_TRUE(this->Mount().Delete({"big.bin"}).ok());
  EXPECT_EQ(this->Mount().FreeClusters(), total);
  EXPECT_EQ(MdirFreeClusters(this->Image(), c), total);
  this->ExpectClean("delete");
}

TYPED_TEST(VolumeFiles, RewritingShorterFreesTheTailAndLongerTakesMore) {
  const std::uint32_t c = this->ClusterBytes();
  const std::uint32_t total = this->Mount().TotalClusters();
  this->Put({"F.BIN"}, RandomBytes(20 * c, 2));
  Bytes shorter = RandomBytes(2 * c + 3, 3);
  ASSERT_TRUE(this->Mount().WriteFile({"F.BIN"}, shorter).ok());
  this->ExpectClean("shrinking");
  EXPECT_EQ(this->Mount().FreeClusters(), total - 3);
  Bytes longer = RandomBytes(9 * c, 4);
  ASSERT_TRUE(this->Mount().WriteFile({"F.BIN"}, longer).ok());
  this->ExpectClean("growing");
  EXPECT_EQ(this->Mount().FreeClusters(), total - 9);
  McopyOut(this->Image(), "F.BIN", this->Host("out.bin"));
  EXPECT_EQ(ReadBytes(this->Host("out.bin")), longer);
  ASSERT_TRUE(this->Mount().WriteFile({"F.BIN"}, {}).ok());
  this->ExpectClean("truncating to nothing");
  EXPECT_EQ(this->Mount().FreeClusters(), total);
}

TYPED_TEST(VolumeFiles, CreateAlwaysEmptiesAndCreateNewRefusesAnExistingFile) {
  this->Put({"F.BIN"}, RandomBytes(5000, 5));
  FatVolume& v = this->Mount();
  EXPECT_EQ(v.CreateFile({"f.bin"}, true).code, win::ERROR_FILE_EXISTS);
  ASSERT_TRUE(v.CreateFile({"f.bin"}, false).ok());
  EXPECT_EQ(this->Mount().Stat({"F.BIN"})->entry.size, 0u);
  EXPECT_EQ(this->Mount().FreeClusters(), this->Mount().TotalClusters());
  this->ExpectClean("emptying");
}

TYPED_TEST(VolumeFiles, DeletingAFileWithALongNameRemovesItsPiecesToo) {
  WriteBytes(this->Host("a.bin"), RandomBytes(3000, 8));
  McopyIn(this->Image(), this->Host("a.bin"), "Long File Name.txt");
  auto items = this->Mount().List({});
  ASSERT_TRUE(items.ok());
  ASSERT_EQ(items->size(), 1u);
  EXPECT_EQ((*items)[0].name, "Long File Name.txt");
  ASSERT_TRUE(this->Mount().Delete({"LONG FILE NAME.TXT"}).ok());
  EXPECT_TRUE(MdirNames(this->Image()).empty());
  this->ExpectClean("deleting a long-named file");
}

TYPED_TEST(VolumeFiles, LongNamesOfNeighboursSurviveOurChanges) {
  WriteBytes(this->Host("a.bin"), RandomBytes(3000, 9));
  McopyIn(this->Image(), this->Host("a.bin"), "Long File Name.txt");
  this->Put({"ONE.BIN"}, RandomBytes(100, 10));
  McopyIn(this->Image(), this->Host("a.bin"), "another long one.lzh");
  this->Put({"TWO.BIN"}, RandomBytes(100, 11));
  ASSERT_TRUE(this->Mount().Delete({"ONE.BIN"}).ok());
  this->Put({"THREE.BIN"}, RandomBytes(100, 12));
  ASSERT_TRUE(this->Mount().WriteFile({"TWO.BIN"}, RandomBytes(7000, 13)).ok());
  std::vector<std::string> names = MdirNames(this->Image());
  EXPECT_NE(std::find(names.begin(), names.end(), "Long File Name.txt"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "another long one.lzh"), names.end());
  this->ExpectClean("changing neighbours of long names");
  auto read = this->Mount().ReadFile({"another long one.lzh"});
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(*read, ReadBytes(this->Host("a.bin")));
}

TYPED_TEST(VolumeFiles, RenameKeepsTheContentAndDropsTheOldLongName) {
  Bytes content = RandomBytes(4000, 14);
  WriteBytes(this->Host("a.bin"), content);
  McopyIn(this->Image(), this->Host("a.bin"), "Long File Name.txt");
  ASSERT_TRUE(this->Mount().Rename({"long file name.txt"}, {"SHORT.TXT"}).ok());
  this->ExpectClean("rename");
  EXPECT_EQ(MdirNames(this->Image()), std::vector<std::string>{"SHORT.TXT"});
  McopyOut(this->Image(), "SHORT.TXT", this->Host("out.bin"));
  EXPECT_EQ(ReadBytes(this->Host("out.bin")), content);
}

TYPED_TEST(VolumeFiles, RenameNeverReplacesAnExistingFile) {
  this->Put({"A.BIN"}, RandomBytes(10, 15));
  this->Put({"B.BIN"}, RandomBytes(10, 16));
  EXPECT_EQ(this->Mount().Rename({"A.BIN"}, {"b.bin"}).code, win::ERROR_ALREADY_EXISTS);
  EXPECT_EQ(this->Mount().Rename({"NONE.BIN"}, {"C.BIN"}).code, win::ERROR_FILE_NOT_FOUND);
  // A new spelling of the same name is not another file.
  ASSERT_TRUE(this->Mount().Rename({"A.BIN"}, {"a.bin"}).ok());
  EXPECT_EQ(this->Mount().Stat({"A.BIN"})->name, "a.bin");
}

TYPED_TEST(VolumeFiles, FoldersNestMoveAndAreRemovedOnlyWhenEmpty) {
  FatVolume& v = this->Mount();
  ASSERT_TRUE(v.MakeDirectory({"SUB"}).ok());
  ASSERT_TRUE(this->Mount().MakeDirectory({"SUB", "INNER"}).ok());
  EXPECT_EQ(this->Mount().MakeDirectory({"sub"}).code, win::ERROR_ALREADY_EXISTS);
  Bytes content = RandomBytes(1500, 17);
  this->Put({"SUB", "INNER", "F.BIN"}, content);
  this->ExpectClean("nested folders");
  McopyOut(this->Image(), "SUB/INNER/F.BIN", this->Host("out.bin"));
  EXPECT_EQ(ReadBytes(this->Host("out.bin")), content);

  EXPECT_EQ(this->Mount().RemoveDirectory({"SUB"}).code, win::ERROR_DIR_NOT_EMPTY);
  EXPECT_EQ(this->Mount().Rename({"SUB"}, {"SUB", "INNER", "LOOP"}).code, win::ERROR_ACCESS_DENIED);
  ASSERT_TRUE(this->Mount().Rename({"SUB", "INNER"}, {"MOVED"}).ok());
  this->ExpectClean("moving a folder to the root");  // fsck checks its ".."
  ASSERT_TRUE(this->Mount().Rename({"MOVED", "F.BIN"}, {"SUB", "G.BIN"}).ok());
  this->ExpectClean("moving a file between folders");
  McopyOut(this->Image(), "SUB/G.BIN", this->Host("out2.bin"));
  EXPECT_EQ(ReadBytes(this->Host("out2.bin")), content);
  ASSERT_TRUE(this->Mount().RemoveDirectory({"MOVED"}).ok());
  EXPECT_EQ(this->Mount().RemoveDirectory({"SUB", "G.BIN"}).code, win::ERROR_DIRECTORY);
  const std::uint32_t c = this->ClusterBytes();
  EXPECT_EQ(this->Mount().FreeClusters(), this->Mount().TotalClusters() - 1 - (1500 + c - 1) / c);
  this->ExpectClean("removing a folder");
}

TYPED_TEST(VolumeFiles, AFolderGrowsPastItsFirstCluster) {
  ASSERT_TRUE(this->Mount().MakeDirectory({"SUB"}).ok());
  const std::uint32_t perCluster = this->ClusterBytes() / 32;
  for (std::uint32_t i = 0; i < perCluster * 2 + 3; ++i) {
    ASSERT_TRUE(this->Mount().CreateFile({"SUB", "F" + std::to_string(i)}, true).ok()) << i;
  }
  this->ExpectClean("growing a folder");
  auto items = this->Mount().List({"SUB"});
  ASSERT_TRUE(items.ok());
  EXPECT_EQ(items->size(), perCluster * 2 + 3);
  EXPECT_EQ(this->Mount().FreeClusters(), this->Mount().TotalClusters() - 3);
}

TYPED_TEST(VolumeFiles, AFileTooBigForTheDiskLeavesNoTraceAndOneThatFitsExactlyWorks) {
  const std::uint32_t c = this->ClusterBytes();
  const std::uint32_t free = this->Mount().FreeClusters();
  ASSERT_TRUE(this->Mount().CreateFile({"FULL.BIN"}, true).ok());
  EXPECT_EQ(this->Mount().WriteFile({"FULL.BIN"}, Bytes(std::size_t{free} * c + 1, 0x5A)).code,
            win::ERROR_DISK_FULL);
  EXPECT_EQ(this->Mount().FreeClusters(), free);
  EXPECT_EQ(this->Mount().Stat({"FULL.BIN"})->entry.size, 0u);
  this->ExpectClean("a refused write");
  Bytes exact(std::size_t{free} * c, 0xA5);
  ASSERT_TRUE(this->Mount().WriteFile({"FULL.BIN"}, exact).ok());
  EXPECT_EQ(this->Mount().FreeClusters(), 0u);
  EXPECT_EQ(MdirFreeClusters(this->Image(), c), 0u);
  EXPECT_EQ(this->Mount().MakeDirectory({"NOROOM"}).code, win::ERROR_DISK_FULL);
  this->ExpectClean("filling the disk");
}

TYPED_TEST(VolumeFiles, ReplacingTakesTheOtherFilesContentInOneStepAndFreesTheOld) {
  const std::uint32_t c = this->ClusterBytes();
  const std::uint32_t total = this->Mount().TotalClusters();
  this->Put({"OLD.LZH"}, RandomBytes(3 * c, 21));
  const Bytes fresh = RandomBytes(5 * c + 9, 22);
  this->Put({"NEW.TMP"}, fresh);
  ASSERT_TRUE(this->Mount().MakeDirectory({"SUB"}).ok());
  EXPECT_EQ(this->Mount().Replace({"NEW.TMP"}, {"SUB"}).code, win::ERROR_ACCESS_DENIED);
  this->Put({"SUB", "X.BIN"}, RandomBytes(10, 23));
  EXPECT_EQ(this->Mount().Replace({"NEW.TMP"}, {"SUB", "X.BIN"}).code, win::ERROR_NOT_SAME_DEVICE);
  ASSERT_TRUE(this->Mount().Replace({"new.tmp"}, {"old.lzh"}).ok());
  EXPECT_EQ(this->Mount().Stat({"NEW.TMP"}).error(), win::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(*this->Mount().ReadFile({"OLD.LZH"}), fresh);
  EXPECT_EQ(this->Mount().FreeClusters(), total - 6 - 1 - 1);
  this->ExpectClean("replacing");
}

TYPED_TEST(VolumeFiles, RewritingWithNoRoomBesideTheOldContentDeletesItFirst) {
  const std::uint32_t c = this->ClusterBytes();
  const std::uint32_t free = this->Mount().FreeClusters();
  this->Put({"F.BIN"}, RandomBytes(std::size_t{free - 2} * c, 24));
  const Bytes larger = RandomBytes(std::size_t{free - 1} * c, 25);
  ASSERT_TRUE(this->Mount().WriteFile({"F.BIN"}, larger).ok());
  EXPECT_EQ(*this->Mount().ReadFile({"F.BIN"}), larger);
  EXPECT_EQ(this->Mount().FreeClusters(), 1u);
  this->ExpectClean("rewriting a nearly full disk");
}

TYPED_TEST(VolumeFiles, AFullRootDirectoryIsDiskFull) {
  const std::uint32_t slots = this->Mount().Boot().rootEntries;
  for (std::uint32_t i = 0; i < slots; ++i) {
    ASSERT_TRUE(this->Mount().CreateFile({"F" + std::to_string(i)}, true).ok()) << i;
  }
  EXPECT_EQ(this->Mount().CreateFile({"ONEMORE"}, true).code, win::ERROR_DISK_FULL);
  EXPECT_EQ(this->Mount().MakeDirectory({"NODIR"}).code, win::ERROR_DISK_FULL);
  EXPECT_EQ(this->Mount().Stat({"ONEMORE"}).error(), win::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(this->Mount().FreeClusters(), this->Mount().TotalClusters());
  this->ExpectClean("a full root");
}

TYPED_TEST(VolumeFiles, LowerCaseNamesAreStoredAsWindowsNtStoresThem) {
  this->Put({"archive.lzh"}, RandomBytes(10, 18));
  auto item = this->Mount().Stat({"ARCHIVE.LZH"});
  ASSERT_TRUE(item.ok());
  EXPECT_EQ(item->name, "archive.lzh");
  const ShortNameBytes stored = {'A', 'R', 'C', 'H', 'I', 'V', 'E', ' ', 'L', 'Z', 'H'};
  EXPECT_EQ(item->entry.name, stored);
  EXPECT_EQ(MdirNames(this->Image()), std::vector<std::string>{"archive.lzh"});
  this->ExpectClean("a lower-case name");
}

TYPED_TEST(VolumeFiles, NamesThatDoNotFitEightDotThreeAreRefused) {
  FatVolume& v = this->Mount();
  for (const char* name : {"toolongname.lzh", "a.b.c", "A+B", "NAME.LONG", ".LZH", "A B"}) {
    EXPECT_EQ(v.CreateFile({name}, true).code, win::ERROR_INVALID_NAME) << name;
  }
  EXPECT_EQ(v.CreateFile({"NOFOLDER", "A.BIN"}, true).code, win::ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(this->Mount().List({})->empty());
}

TYPED_TEST(VolumeFiles, ShiftJisNamesKeepTheirBytesAndTheE5Escape) {
  const std::string data = cp932::FromUtf8Literal("データ.LZH");
  const std::string table = cp932::FromUtf8Literal("予定表.LZH");  // trail bytes 0x5C
  const std::string e5 = cp932::FromUtf8Literal("蕁麻.DAT");       // lead byte 0xE5
  for (const std::string& name : {data, table, e5}) this->Put({name}, RandomBytes(600, 19));
  FatVolume& v = this->Mount();
  auto item = v.Stat({e5});
  ASSERT_TRUE(item.ok());
  EXPECT_EQ(item->entry.name[0], 0x05);
  EXPECT_EQ(item->name, e5);
  auto items = v.List({});
  ASSERT_TRUE(items.ok());
  ASSERT_EQ(items->size(), 3u);
  EXPECT_EQ((*items)[0].name, data);
  EXPECT_EQ((*items)[1].name, table);
  this->ExpectClean("Shift-JIS names");
  ASSERT_TRUE(this->Mount().Delete({e5}).ok());
  EXPECT_EQ(this->Mount().List({})->size(), 2u);
}

TYPED_TEST(VolumeFiles, AWriteProtectedDiskIsReadButNeverChanged) {
  this->Put({"F.BIN"}, RandomBytes(100, 20));
  Bytes before = ReadBytes(this->Image());
  MemoryDevice device(before, true);
  auto v = FatVolume::Mount(device);
  ASSERT_TRUE(v.ok());
  EXPECT_TRUE(v->ReadFile({"F.BIN"}).ok());
  EXPECT_EQ(v->CreateFile({"G.BIN"}, true).code, win::ERROR_WRITE_PROTECT);
  EXPECT_EQ(v->WriteFile({"F.BIN"}, {}).code, win::ERROR_WRITE_PROTECT);
  EXPECT_EQ(v->Delete({"F.BIN"}).code, win::ERROR_WRITE_PROTECT);
  EXPECT_EQ(v->SetLabel("X").code, win::ERROR_WRITE_PROTECT);
  EXPECT_EQ(device.Bytes(), before);
}

}  // namespace
}  // namespace pelko::fat::test
