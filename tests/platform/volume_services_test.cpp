#include "platform/volume_services.h"

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <algorithm>

#include "support/test_program_folder.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

using test::TestProgramFolder;

TEST(VolumeServices, HostDriveHasNoLabelNoSerialAndAFileSystemName) {
  TestProgramFolder home;
  VolumeInformation info{"junk", 7, "junk"};
  ASSERT_TRUE(GetVolumeInformation("c:\\", info));
  EXPECT_EQ(info.label, "");
  EXPECT_EQ(info.serial, 0u);
  EXPECT_EQ(info.fileSystem, "HOSTFS");
}

TEST(VolumeServices, HostFreeSpaceIsCountedIn4KiBClustersThatNeverWrap) {
  TestProgramFolder home;
  DiskFreeSpace space;
  ASSERT_TRUE(GetDiskFreeSpace("C:\\", space));
  EXPECT_EQ(space.bytesPerSector, 512u);
  EXPECT_EQ(space.sectorsPerCluster, 8u);
  EXPECT_LE(space.freeClusters, space.totalClusters);
  struct statvfs fs {};
  ASSERT_EQ(::statvfs(home.CDriveHostPath().c_str(), &fs), 0);
  unsigned long long total = static_cast<unsigned long long>(fs.f_blocks) * fs.f_frsize / 4096;
  EXPECT_EQ(space.totalClusters, std::min<unsigned long long>(total, 0xFFFFFFFFULL));
}

TEST(VolumeServices, OnlyADriveRootNamesAVolume) {
  TestProgramFolder home;
  VolumeInformation info;
  for (const char* bad : {"C:", "C:\\PELKO", "C:\\PELKO\\", "", "\\"}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(GetVolumeInformation(bad, info)) << bad;
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME) << bad;
  }
}

TEST(VolumeServices, EmptyFloppyDriveIsNotReady) {
  TestProgramFolder home;  // no A.img in the program folder
  VolumeInformation info;
  DiskFreeSpace space;
  EXPECT_FALSE(GetVolumeInformation("a:\\", info));
  EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
  EXPECT_FALSE(GetDiskFreeSpace("a:\\", space));
  EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
  EXPECT_FALSE(SetVolumeLabel("A:\\", "BACKUP"));
  EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
}

TEST(VolumeServices, UnmappedDriveIsPathNotFound) {
  TestProgramFolder home;
  VolumeInformation info;
  EXPECT_FALSE(GetVolumeInformation("B:\\", info));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(GetVolumeInformation("M:\\", info));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(VolumeServices, HostDriveCannotBeLabelled) {
  TestProgramFolder home;
  EXPECT_FALSE(SetVolumeLabel("C:\\", "DATA"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

}  // namespace
}  // namespace pelko::win
