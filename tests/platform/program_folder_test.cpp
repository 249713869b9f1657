#include "platform/program_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/drive_table.h"
#include "platform/file_stream.h"
#include "support/scoped_env.h"
#include "support/test_program_folder.h"
#include "text/code_page.h"

namespace pelko::win {
namespace {

using test::ScopedEnv;
using test::TestProgramFolder;

std::string ExecutableHostPath() {
  return std::filesystem::read_symlink("/proc/self/exe").string();
}

TEST(ProgramFolder, PelkoHomeNamesTheFolder) {
  TestProgramFolder home;
  EXPECT_EQ(ProgramFolder(), "C:\\PELKO\\");
  EXPECT_EQ(ProgramFolderHostPath(), home.HostPath());
  EXPECT_EQ(ProgramFolderPath("PELKO.opt"), "C:\\PELKO\\PELKO.opt");
}

TEST(ProgramFolder, WithoutPelkoHomeItIsTheExecutablesFolder) {
  ScopedEnv home("PELKO_HOME", std::nullopt);
  ScopedEnv c("PELKO_DRIVE_C", std::nullopt);
  std::string exe = ExecutableHostPath();
  std::string folder = exe.substr(0, exe.find_last_of('/'));
  EXPECT_EQ(ProgramFolderHostPath(), folder);
  auto windows = ProgramFolder();
  ASSERT_TRUE(windows) << "the build folder should have a Windows form";
  EXPECT_EQ(*windows, *ToWindowsPath(folder) + "\\");
  EXPECT_EQ(GetModuleFileName(), *ToWindowsPath(folder) + "\\platform_tests");
}

TEST(ProgramFolder, JapaneseFolderNameIsCp932) {
  TestProgramFolder base;
  std::filesystem::create_directories(base.HostPathOf("表計算"));
  ScopedEnv home("PELKO_HOME", base.HostPathOf("表計算"));
  EXPECT_EQ(ProgramFolderPath("ExtFiles.exc"),
            cp932::FromUtf8Literal("C:\\PELKO\\表計算\\ExtFiles.exc"));
}

TEST(ProgramFolder, RootOfADriveGetsOneBackslash) {
  TestProgramFolder base;
  ScopedEnv home("PELKO_HOME", base.CDriveHostPath());
  EXPECT_EQ(ProgramFolder(), "C:\\");
  EXPECT_EQ(ProgramFolderPath("PELKO.opt"), "C:\\PELKO.opt");
}

TEST(ProgramFolder, PathsLongerThanTheOldBuffersWork) {
  TestProgramFolder base;
  std::string deep = base.HostPath();
  std::string windows = "C:\\PELKO";
  for (int i = 0; i < 12; ++i) {
    std::string name = "folder-with-a-rather-long-name-number-" + std::to_string(i);
    deep += "/" + name;
    windows += "\\" + name;
  }
  std::filesystem::create_directories(deep);
  ScopedEnv home("PELKO_HOME", deep);
  std::string path = ProgramFolderPath("archive.lzh");
  EXPECT_GT(path.size(), 500u);
  EXPECT_EQ(path, windows + "\\archive.lzh");
  ASSERT_TRUE(WriteWholeFile(path, "lzh bytes"));
  std::string back;
  ASSERT_TRUE(ReadWholeFile(path, back));
  EXPECT_EQ(back, "lzh bytes");
}

TEST(ProgramFolder, FolderWithoutWindowsFormStopsStartUpWithOneLine) {
  TestProgramFolder base;
  std::string odd = base.HostPathOf("what?");
  std::filesystem::create_directories(odd);
  ScopedEnv home("PELKO_HOME", odd);
  EXPECT_EQ(ProgramFolder(), std::nullopt);
  EXPECT_EQ(ProgramFolderPath("PELKO.opt"), "");
  std::string line;
  EXPECT_FALSE(CheckProgramFolder(line));
  EXPECT_NE(line.find(odd), std::string::npos) << line;
  EXPECT_EQ(line.find('\n'), std::string::npos) << line;
}

TEST(ProgramFolder, FolderOutsideEveryDriveStopsStartUp) {
  TestProgramFolder base;
  test::TempFolder elsewhere;
  ScopedEnv home("PELKO_HOME", elsewhere.Path());
  std::string line;
  EXPECT_FALSE(CheckProgramFolder(line));
  EXPECT_NE(line.find(elsewhere.Path()), std::string::npos) << line;
}

TEST(ProgramFolder, MissingFolderStopsStartUp) {
  TestProgramFolder base;
  ScopedEnv home("PELKO_HOME", base.HostPathOf("missing"));
  std::string line;
  EXPECT_FALSE(CheckProgramFolder(line));
  EXPECT_NE(line.find("missing"), std::string::npos) << line;
}

TEST(ProgramFolder, UsableFolderPassesTheCheck) {
  TestProgramFolder base;
  std::string line;
  EXPECT_TRUE(CheckProgramFolder(line)) << line;
}

// How a copy tells it is installed: from its own layout alone.
TEST(ProgramFolder, AnInstalledCopyIsKnownByItsLayoutAndKeepsItsFolderInXdgDataHome) {
  test::TempFolder base;
  const std::string prefix = base.Sub("usr");
  std::filesystem::create_directories(prefix + "/bin");
  std::filesystem::create_directories(prefix + "/share/pelko");
  std::filesystem::create_directories(base.Sub("build/bin"));
  std::filesystem::create_directories(base.Sub("build/share/pelko"));  // no marker file
  test::WriteHostFile(prefix + "/share/pelko/installed", "installed\n");
  std::filesystem::create_directories(base.Sub("opt/libexec"));
  std::filesystem::create_directories(base.Sub("opt/share/pelko"));
  test::WriteHostFile(base.Sub("opt/share/pelko/installed"), "installed\n");
  ScopedEnv home("HOME", base.Sub("me"));
  {
    ScopedEnv xdg("XDG_DATA_HOME", base.Sub("data"));
    EXPECT_EQ(InstalledProgramFolder(prefix + "/bin"), base.Sub("data/pelko"));
    EXPECT_EQ(InstalledProgramFolder(prefix + "/bin/"), base.Sub("data/pelko"));
    EXPECT_EQ(InstalledProgramFolder(base.Sub("build/bin")), std::nullopt);
    EXPECT_EQ(InstalledProgramFolder(base.Sub("opt/libexec")), std::nullopt);
    EXPECT_EQ(InstalledProgramFolder(prefix), std::nullopt);
  }
  for (std::optional<std::string> unusable :
       {std::optional<std::string>(), std::optional<std::string>(""),
        std::optional<std::string>("relative/data")}) {
    ScopedEnv xdg("XDG_DATA_HOME", unusable);
    EXPECT_EQ(InstalledProgramFolder(prefix + "/bin"), base.Sub("me/.local/share/pelko"));
  }
}

TEST(ProgramFolder, ABuildTreeCopyMakesNoFolderOfItsOwn) {
  TestProgramFolder base;
  std::string missing = base.HostPathOf("not-yet");
  ScopedEnv home("PELKO_HOME", missing);
  EXPECT_FALSE(MakeProgramFolder());
  EXPECT_FALSE(test::HostPathExists(missing)) << "a folder PELKO_HOME names is never made";
  ScopedEnv unset("PELKO_HOME", std::nullopt);
  EXPECT_TRUE(MakeProgramFolder()) << "the build folder exists";
}

TEST(ProgramFolder, ApplicationTitleIsTheExecutableNameWithoutExtension) {
  EXPECT_EQ(ApplicationTitle(), "platform_tests");
}

}  // namespace
}  // namespace pelko::win
