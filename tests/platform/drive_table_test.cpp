#include "platform/drive_table.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scoped_env.h"
#include "support/test_program_folder.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

using test::ScopedEnv;
using test::TempFolder;
using test::TestProgramFolder;

std::string Cp(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

TEST(DriveTable, DriveCIsTheHostRootUnlessMapped) {
  ScopedEnv c("PELKO_DRIVE_C", std::nullopt);
  EXPECT_EQ(HostFolderOfDrive('C'), "/");
  EXPECT_EQ(ToHostPath("C:\\etc\\hosts"), "/etc/hosts");
  EXPECT_EQ(ToWindowsPath("/usr/bin"), "C:\\usr\\bin");
  EXPECT_EQ(ToWindowsPath("/"), "C:\\");
}

TEST(DriveTable, DriveLettersIgnoreCaseHostNamesKeepIt) {
  TestProgramFolder home;
  EXPECT_EQ(ToHostPath("c:\\PELKO\\Memo.TXT"), home.HostPathOf("Memo.TXT"));
  EXPECT_EQ(ToHostPath("C:\\PELKO\\Memo.TXT"), home.HostPathOf("Memo.TXT"));
  EXPECT_EQ(HostFolderOfDrive('c'), home.CDriveHostPath());
}

TEST(DriveTable, MappedDriveTranslatesBothWays) {
  TestProgramFolder home;
  TempFolder data;
  ScopedEnv d("PELKO_DRIVE_D", data.Path() + "/");  // a trailing slash is tolerated
  EXPECT_EQ(ToHostPath(Cp("D:\\写真\\ﾒﾓ.txt")), data.Path() + "/写真/ﾒﾓ.txt");
  EXPECT_EQ(ToWindowsPath(data.Path() + "/写真/ﾒﾓ.txt"), Cp("D:\\写真\\ﾒﾓ.txt"));
  EXPECT_EQ(ToWindowsPath(data.Path()), "D:\\");
}

TEST(DriveTable, LongestMappedFolderWins) {
  TestProgramFolder home;
  ScopedEnv d("PELKO_DRIVE_D", home.HostPath());
  EXPECT_EQ(ToWindowsPath(home.HostPathOf("x.txt")), "D:\\x.txt");
  EXPECT_EQ(ToWindowsPath(home.CDriveHostPath() + "/other"), "C:\\other");
}

TEST(DriveTable, PrefixCountsOnlyWholeComponents) {
  TestProgramFolder home;
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(ToWindowsPath(home.CDriveHostPath() + "2/x"), std::nullopt);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(DriveTable, HostPathUnderNoDriveHasNoWindowsForm) {
  TestProgramFolder home;
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(ToWindowsPath("/etc/hosts"), std::nullopt);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(DriveTable, HostNamesWithoutWindowsFormDoNotConvert) {
  TestProgramFolder home;
  for (const char* name : {"photo-😀.jpg", "a:b", "why?", "a\\b", "pipe|d", "caf\xC3\xA9", "yen¥"}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(ToWindowsPath(home.HostPathOf(name)), std::nullopt) << name;
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME) << name;
  }
}

TEST(DriveTable, UnmappedLettersAndTheFloppyAreNoHostFolders) {
  TestProgramFolder home;
  for (const char* path : {"E:\\x", "B:\\x", "A:\\x", "z:\\"}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(ToHostPath(path), std::nullopt) << path;
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND) << path;
  }
  EXPECT_EQ(HostFolderOfDrive('A'), std::nullopt);
  EXPECT_EQ(HostFolderOfDrive('B'), std::nullopt);
}

TEST(DriveTable, WindowsNameThatIsNotCp932HasNoHostForm) {
  TestProgramFolder home;
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(ToHostPath("C:\\bad\x85\x40name"), std::nullopt);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

TEST(DriveTable, FloppyImageIsAImgInTheProgramFolderUnlessNamed) {
  TestProgramFolder home;
  EXPECT_EQ(FloppyImageHostPath(), home.FloppyImageHostPath());
  ScopedEnv a("PELKO_DRIVE_A", "/dev/fd0");
  EXPECT_EQ(FloppyImageHostPath(), "/dev/fd0");
}

TEST(DriveTable, RelativeMappingIsTakenFromTheCurrentFolder) {
  TestProgramFolder home;
  ScopedEnv d("PELKO_DRIVE_D", "relative/folder");
  auto folder = HostFolderOfDrive('D');
  ASSERT_TRUE(folder);
  EXPECT_EQ(*folder, (std::filesystem::current_path() / "relative/folder").string());
}

}  // namespace
}  // namespace pelko::win
