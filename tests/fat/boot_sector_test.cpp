// The boot sector is read field by field, and formatting writes exactly the
// BPB that mformat writes for every standard floppy.
#include "fat/boot_sector.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <ostream>
#include <vector>

#include "fat/fat_volume.h"
#include "fat/format.h"
#include "oracle.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace pelko::fat::test {
namespace {

using pelko::test::ShellQuote;
using pelko::test::TempFolder;

struct Expected {
  std::uint32_t sizeKiB;
  std::uint32_t clusters;
};
constexpr Expected kFloppies[] = {{160, 313}, {180, 351},   {320, 315},   {360, 354},
                                  {720, 713}, {1200, 2371}, {1440, 2847}, {2880, 2863}};

std::vector<std::uint8_t> Bpb(const std::vector<std::uint8_t>& image) {
  return std::vector<std::uint8_t>(image.begin() + 11, image.begin() + 36);
}

void FormatImage(const std::string& path, std::uint32_t sizeKiB, std::string_view label,
                 std::uint32_t serial) {
  auto plan = PlanVolume(*StandardFloppy(sizeKiB));
  ASSERT_TRUE(plan.ok());
  auto device = FileDevice::CreateForFormat(path, std::uint64_t{sizeKiB} * 1024);
  ASSERT_TRUE(device.ok());
  ASSERT_TRUE(FormatVolume(**device, *plan, label, serial).ok());
}

TEST(BootSector, EveryStandardFloppyMformatMakesIsReadWithItsClusterCountAndSerial) {
  TempFolder folder;
  for (const Expected& f : kFloppies) {
    std::string img = folder.Sub(std::to_string(f.sizeKiB) + ".img");
    ToolRun r = RunTool("mformat -C -i " + ShellQuote(img) + " -f " + std::to_string(f.sizeKiB) +
                        " -N 1234ABCD -v DISK ::");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    MemoryDevice device(ReadBytes(img));
    auto v = FatVolume::Mount(device);
    ASSERT_TRUE(v.ok()) << f.sizeKiB;
    EXPECT_EQ(v->Boot().type, FatType::Fat12);
    EXPECT_EQ(v->TotalClusters(), f.clusters) << f.sizeKiB;
    EXPECT_EQ(v->FreeClusters(), f.clusters) << f.sizeKiB;
    EXPECT_EQ(v->Boot().serial, 0x1234ABCDu);
    EXPECT_EQ(*v->Label(), "DISK");
  }
}

TEST(BootSector, OurFormatWritesTheBpbMformatWritesForEveryStandardSize) {
  TempFolder folder;
  for (const Expected& f : kFloppies) {
    std::string ours = folder.Sub("ours.img");
    std::string theirs = folder.Sub("theirs.img");
    FormatImage(ours, f.sizeKiB, "DISK1", 0x1234ABCD);
    ToolRun r =
        RunTool("mformat -C -i " + ShellQuote(theirs) + " -f " + std::to_string(f.sizeKiB) + " ::");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    std::vector<std::uint8_t> image = ReadBytes(ours);
    EXPECT_EQ(image.size(), std::size_t{f.sizeKiB} * 1024);
    EXPECT_EQ(Bpb(image), Bpb(ReadBytes(theirs))) << f.sizeKiB;
    EXPECT_EQ(FsckProblems(ours), "") << f.sizeKiB;
    EXPECT_EQ(BlkidLabel(ours), "DISK1") << f.sizeKiB;
    EXPECT_EQ(BlkidSerial(ours), "1234-ABCD") << f.sizeKiB;
    EXPECT_EQ(MdirFreeClusters(ours, image[13] * 512u), f.clusters) << f.sizeKiB;
    EXPECT_EQ(std::string(image.begin() + 54, image.begin() + 62), "FAT12   ");
  }
}

TEST(BootSector, AnUnlabelledFormatSaysNoNameInTheBootSector) {
  TempFolder folder;
  std::string img = folder.Sub("x.img");
  FormatImage(img, 1440, "", 0x0BADF00D);
  std::vector<std::uint8_t> image = ReadBytes(img);
  EXPECT_EQ(std::string(image.begin() + 43, image.begin() + 54), "NO NAME    ");
  EXPECT_EQ(FsckProblems(img), "");
  MemoryDevice device(image);
  EXPECT_EQ(*FatVolume::Mount(device)->Label(), "");
}

TEST(BootSector, AFormattedFat16VolumeIsCleanAndTypedByItsClusterCount) {
  TempFolder folder;
  std::string img = folder.Sub("x.img");
  BootSector b = *StandardFloppy(1440);
  b.totalSectors = 16384;  // 8 MB, one sector per cluster
  b.rootEntries = 512;
  b.sectorsPerFat = 0;
  b.media = 0xF8;
  auto plan = PlanVolume(b);
  ASSERT_TRUE(plan.ok());
  EXPECT_EQ(plan->type, FatType::Fat16);
  auto device = FileDevice::CreateForFormat(img, 16384 * 512);
  ASSERT_TRUE(device.ok());
  ASSERT_TRUE(FormatVolume(**device, *plan, "BIG", 1).ok());
  EXPECT_EQ(FsckProblems(img), "");
  EXPECT_EQ(BlkidLabel(img), "BIG");
  EXPECT_EQ(MdirFreeClusters(img, 512), plan->clusterCount);
}

// Each BPB field that a layout depends on is checked on its own, and the
// refusal says which check failed.
struct BadField {
  const char* name;
  std::size_t at;
  std::vector<std::uint8_t> bytes;
  BootSectorRefusal refusal;
};

void PrintTo(const BadField& c, std::ostream* os) { *os << c.name; }

const BadField kBadFields[] = {
    {"NoJump", 0, {0, 0, 0}, BootSectorRefusal::NoJump},
    {"ShortJumpWithoutNop", 2, {0}, BootSectorRefusal::NoJump},
    {"NoSignature", 510, {0, 0}, BootSectorRefusal::NoSignature},
    {"ZeroBytesPerSector", 11, {0, 0}, BootSectorRefusal::BytesPerSector},
    {"BytesPerSectorNotAPowerOfTwo", 11, {0xE8, 0x03}, BootSectorRefusal::BytesPerSector},
    {"BytesPerSectorAbove4096", 11, {0x00, 0x20}, BootSectorRefusal::BytesPerSector},
    {"ZeroSectorsPerCluster", 13, {0}, BootSectorRefusal::SectorsPerCluster},
    {"SectorsPerClusterNotAPowerOfTwo", 13, {3}, BootSectorRefusal::SectorsPerCluster},
    {"ClusterOf128KiB", 11, {0x00, 0x10, 32}, BootSectorRefusal::ClusterTooLarge},
    {"ZeroReservedSectors", 14, {0, 0}, BootSectorRefusal::NoReservedSectors},
    {"ZeroFats", 16, {0}, BootSectorRefusal::FatCount},
    {"FiveFats", 16, {5}, BootSectorRefusal::FatCount},
    {"ZeroRootEntries", 17, {0, 0}, BootSectorRefusal::NoRootEntries},
    {"ZeroTotalSectors", 19, {0, 0}, BootSectorRefusal::NoTotalSectors},
    {"BadMediaByte", 21, {0}, BootSectorRefusal::MediaDescriptor},
    {"ZeroSectorsPerFat", 22, {0, 0}, BootSectorRefusal::NoSectorsPerFat},
    {"RootEntriesReachingPastTheVolume", 17, {0xFF, 0xFF}, BootSectorRefusal::NoDataArea},
    {"VolumeLargerThanTheImage", 19, {0x80, 0x0B + 1}, BootSectorRefusal::LargerThanDevice},
    // Two sectors a cluster and one data sector: not one whole cluster.
    {"NoWholeCluster", 13, {2, 1, 0, 2, 0xE0, 0x00, 34, 0}, BootSectorRefusal::ClusterCount},
    {"FatTooSmallForItsClusters", 22, {1, 0}, BootSectorRefusal::FatTooSmall},
};

class BootSectorField : public ::testing::TestWithParam<BadField> {
 protected:
  BootSectorField() {
    auto plan = PlanVolume(*StandardFloppy(1440));
    image_.assign(1440 * 1024, 0);
    MemoryDevice device(image_);
    EXPECT_TRUE(FormatVolume(device, *plan, "", 1).ok());
    image_ = device.Bytes();
  }
  // Why the image is refused, after checking that mounting refuses it the
  // way Windows reports an unrecognised disk.
  std::optional<BootSectorRefusal> Refusal() const {
    MemoryDevice device(image_);
    auto v = FatVolume::Mount(device);
    std::optional<BootSectorRefusal> why = WhyNotFat(device);
    EXPECT_EQ(v.ok(), !why);
    if (!v) {
      EXPECT_EQ(v.error(), win::ERROR_NOT_READY);
    }
    return why;
  }
  void Set(std::size_t at, const std::vector<std::uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), image_.begin() + static_cast<std::ptrdiff_t>(at));
  }
  std::vector<std::uint8_t> image_;
};

TEST_F(BootSectorField, TheUntouchedImageMounts) { EXPECT_EQ(Refusal(), std::nullopt); }

TEST_P(BootSectorField, IsRefusedWithItsReason) {
  Set(GetParam().at, GetParam().bytes);
  EXPECT_EQ(Refusal(), GetParam().refusal);
  EXPECT_STRNE(BootSectorRefusalText(GetParam().refusal), "unknown");
}

INSTANTIATE_TEST_SUITE_P(Refusals, BootSectorField, ::testing::ValuesIn(kBadFields),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BootSectorField, ATruncatedImageIsRefused) {
  for (std::size_t size : {std::size_t{1000000}, std::size_t{4096}}) {
    image_.resize(size);
    EXPECT_EQ(Refusal(), BootSectorRefusal::LargerThanDevice) << size;
  }
  for (std::size_t size : {std::size_t{100}, std::size_t{0}}) {
    image_.resize(size);
    EXPECT_EQ(Refusal(), BootSectorRefusal::TooShort) << size;
  }
}

TEST(BootSector, GarbageIsRefused) {
  MemoryDevice device(RandomBytes(1440 * 1024, 99));
  EXPECT_EQ(FatVolume::Mount(device).error(), win::ERROR_NOT_READY);
}

}  // namespace
}  // namespace pelko::fat::test
