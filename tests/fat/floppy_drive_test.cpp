// Real floppy drives: loop devices stand in for USB floppy drives (a mounted
// one is a device the test holds exclusively, as the kernel holds a mounted
// one), and two processes meet on one floppy's lock.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "fat/floppy_devices.h"
#include "oracle.h"
#include "platform/file_services.h"
#include "platform/volume_services.h"
#include "support/loop_device.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/test_program_folder.h"
#include "text/win_error.h"

namespace pelko::fat::test {
namespace {

using pelko::test::BackgroundRun;
using pelko::test::LoopDevice;
using pelko::test::ScopedEnv;
using pelko::test::ShellQuote;
using pelko::test::TestProgramFolder;

const std::string kFloppyTool = std::string(PELKO_BIN_DIR) + "/pelko-floppy";

ToolRun Floppy(const std::string& arguments) {
  return RunTool("env -u PELKO_DRIVE_A " + ShellQuote(kFloppyTool) + " " + arguments);
}

void MakeFloppy(const std::string& image, const std::string& label, int kilobytes = 1440) {
  ToolRun r = RunTool("mformat -C -i " + ShellQuote(image) + " -f " + std::to_string(kilobytes) +
                      " -v " + label + " ::");
  ASSERT_EQ(r.exitCode, 0) << r.output;
}

// Holds a file or device open with O_EXCL, as the kernel holds a mounted floppy.
class HeldExclusively {
 public:
  explicit HeldExclusively(const std::string& device)
      : fd_(::open(device.c_str(), O_RDONLY | O_EXCL | O_CLOEXEC)) {}
  ~HeldExclusively() { Release(); }
  bool Held() const { return fd_ >= 0; }
  void Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

#define PELKO_NEED_LOOP(loop) \
  if ((loop).Path().empty()) GTEST_SKIP() << (loop).Why()

TEST(FloppyDrive, AMountedFloppyIsReadButEveryChangeFailsAsInUse) {
  TestProgramFolder home;
  std::string image = home.HostPathOf("usb.img");
  MakeFloppy(image, "MOUNTED");
  LoopDevice loop(image);
  PELKO_NEED_LOOP(loop);
  ScopedEnv driveA("PELKO_DRIVE_A", loop.Path());
  pelko::test::WriteHostFile(home.HostPathOf("x.lzh"), "archive bytes");
  const std::vector<std::uint8_t> before = ReadBytes(image);

  HeldExclusively mounted(loop.Path());
  ASSERT_TRUE(mounted.Held());
  win::VolumeInformation info;
  ASSERT_TRUE(win::GetVolumeInformation("a:\\", info));
  EXPECT_EQ(info.label, "MOUNTED");
  EXPECT_FALSE(win::SetVolumeLabel("A:\\", "CHANGED"));
  EXPECT_EQ(win::GetLastError(), win::ERROR_SHARING_VIOLATION);
  EXPECT_FALSE(win::CopyFile(home.WindowsPathOf("x.lzh"), "a:\\archive.lzh", false));
  EXPECT_EQ(win::GetLastError(), win::ERROR_SHARING_VIOLATION);
  ToolRun label = Floppy("label " + ShellQuote(loop.Path()) + " CHANGED");
  EXPECT_EQ(label.exitCode, 1);
  EXPECT_NE(label.output.find("the floppy is mounted; unmount it first"), std::string::npos)
      << label.output;
  EXPECT_EQ(Floppy("info " + ShellQuote(loop.Path())).exitCode, 0);
  EXPECT_EQ(ReadBytes(image), before);

  mounted.Release();
  EXPECT_TRUE(win::SetVolumeLabel("A:\\", "CHANGED"));
  ASSERT_TRUE(win::GetVolumeInformation("a:\\", info));
  EXPECT_EQ(info.label, "CHANGED");
}

// A USB stick or a hard disk is never taken for a floppy, even one holding a
// FAT volume; image files of any size stay usable (the FAT16 test volumes).
TEST(FloppyDrive, ADeviceLargerThanAFloppyIsRefusedWhereverDriveAOpensIt) {
  TestProgramFolder home;
  std::string big = home.HostPathOf("stick.img");
  ASSERT_EQ(RunTool("mkfs.fat -C -n STICK " + ShellQuote(big) + " 2884").exitCode, 0);
  std::string largest = home.HostPathOf("ed.img");
  MakeFloppy(largest, "LARGEST", 2880);
  LoopDevice stick(big);
  PELKO_NEED_LOOP(stick);
  LoopDevice floppy(largest);
  PELKO_NEED_LOOP(floppy);
  const std::vector<std::uint8_t> before = ReadBytes(big);

  win::VolumeInformation info;
  {
    ScopedEnv driveA("PELKO_DRIVE_A", stick.Path());
    EXPECT_FALSE(win::GetVolumeInformation("a:\\", info));
    EXPECT_EQ(win::GetLastError(), win::ERROR_NOT_READY);
    EXPECT_FALSE(win::SetVolumeLabel("A:\\", "FLOPPY"));
  }
  for (std::string command : {"info", "label", "format", "check --repair"}) {
    ToolRun r = Floppy(command + " " + ShellQuote(stick.Path()));
    EXPECT_NE(r.exitCode, 0) << command;
    EXPECT_NE(r.output.find("larger than any floppy"), std::string::npos) << command << r.output;
  }
  ToolRun insert =
      Floppy("insert " + ShellQuote(stick.Path()) + " --home " + ShellQuote(home.HostPath()));
  EXPECT_EQ(insert.exitCode, 1) << insert.output;
  EXPECT_FALSE(pelko::test::HostPathExists(home.FloppyImageHostPath()));
  EXPECT_EQ(ReadBytes(big), before);

  ScopedEnv driveA("PELKO_DRIVE_A", floppy.Path());
  ASSERT_TRUE(win::GetVolumeInformation("a:\\", info));
  EXPECT_EQ(info.label, "LARGEST");
  ScopedEnv imageFile("PELKO_DRIVE_A", big);
  ASSERT_TRUE(win::GetVolumeInformation("a:\\", info));
  EXPECT_EQ(info.label, "STICK");
}

TEST(FloppyDrive, PermissionDeniedNamesTheGroupToJoin) {
  TestProgramFolder home;
  std::string image = home.HostPathOf("usb.img");
  MakeFloppy(image, "DENIED");
  LoopDevice loop(image);
  PELKO_NEED_LOOP(loop);
  ASSERT_EQ(RunTool("chgrp floppy " + ShellQuote(loop.Path()) + " && chmod 660 " +
                    ShellQuote(loop.Path()))
                .exitCode,
            0);
  const std::string asNobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
  ToolRun r = RunTool(asNobody + ShellQuote(kFloppyTool) + " info " + ShellQuote(loop.Path()));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("join the group 'floppy'"), std::string::npos) << r.output;

  // The window's run sees no disk; its terminal hears why.
  pelko::test::TempFolder scripts;
  pelko::test::WriteHostFile(scripts.Sub("cancel.script"), "press 2\n");
  ASSERT_EQ(RunTool("chmod -R a+rX " + ShellQuote(scripts.Path())).exitCode, 0);
  ToolRun window = RunTool("PELKO_HOME=" + ShellQuote(home.HostPath()) +
                           " PELKO_DRIVE_A=" + ShellQuote(loop.Path()) + " " + asNobody +
                           ShellQuote(std::string(PELKO_BIN_DIR) + "/pelko-script") + " " +
                           ShellQuote(scripts.Sub("cancel.script")));
  EXPECT_NE(window.output.find("warning: drive A: (" + loop.Path() +
                               "): permission denied; join the group 'floppy'"),
            std::string::npos)
      << window.output;
}

// Each case: the lock another process holds on the image, the command run
// beside it, and whether that command must wait for the lock.
struct LockCase {
  const char* name;
  int held;  // LOCK_SH or LOCK_EX
  const char* command;
  bool waits;
};

void PrintTo(const LockCase& c, std::ostream* out) { *out << c.name; }

class FloppyLock : public ::testing::TestWithParam<LockCase> {};

TEST_P(FloppyLock, ASecondProcessWaitsOnlyWhereTheyWouldClash) {
  const LockCase& c = GetParam();
  pelko::test::TempFolder folder;
  std::string image = folder.Sub("shared.img");
  MakeFloppy(image, "BEFORE");
  int holder = ::open(image.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(holder, c.held), 0);

  std::vector<std::string> argv{kFloppyTool, c.command, image};
  if (std::string(c.command) == "label") argv.push_back("AFTER");
  BackgroundRun second(argv);
  EXPECT_EQ(second.WaitUntilBlockedOnLockOrDone(), c.waits) << second.Output();
  if (c.waits) {
    EXPECT_EQ(BlkidLabel(image), "BEFORE") << "changed while the lock was held";
  }
  ::close(holder);
  EXPECT_EQ(second.Wait(), 0) << second.Output();
  EXPECT_EQ(BlkidLabel(image), std::string(c.command) == "label" ? "AFTER" : "BEFORE");
  EXPECT_EQ(FsckProblems(image), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, FloppyLock,
                         ::testing::Values(LockCase{"ReadBesideRead", LOCK_SH, "info", false},
                                           LockCase{"ReadBesideWrite", LOCK_EX, "ls", true},
                                           LockCase{"WriteBesideRead", LOCK_SH, "label", true},
                                           LockCase{"WriteBesideWrite", LOCK_EX, "label", true}),
                         [](const ::testing::TestParamInfo<LockCase>& info) {
                           return std::string(info.param.name);
                         });

// A sysfs block folder and a mountinfo file as the kernel lays them out.
class FakeSystem {
 public:
  void Device(const std::string& name, int removable, std::uint64_t sectors, const std::string& dev,
              const std::string& vendor = "", const std::string& model = "") {
    std::string block = folder_.Sub("block/" + name);
    std::filesystem::create_directories(block + "/device");
    pelko::test::WriteHostFile(block + "/removable", std::to_string(removable) + "\n");
    pelko::test::WriteHostFile(block + "/size", std::to_string(sectors) + "\n");
    pelko::test::WriteHostFile(block + "/dev", dev + "\n");
    if (!vendor.empty()) pelko::test::WriteHostFile(block + "/device/vendor", vendor + "  \n");
    if (!model.empty()) pelko::test::WriteHostFile(block + "/device/model", model + "\n");
  }
  void Partition(const std::string& device, const std::string& name, const std::string& dev) {
    std::string folder = folder_.Sub("block/" + device + "/" + name);
    std::filesystem::create_directories(folder);
    pelko::test::WriteHostFile(folder + "/partition", "1\n");
    pelko::test::WriteHostFile(folder + "/dev", dev + "\n");
  }
  void Mount(const std::string& dev, const std::string& point) {
    mountInfo_ += "36 25 " + dev + " / " + point + " rw,nosuid - vfat /dev/x rw\n";
  }
  std::vector<FloppyDrive> List() {
    pelko::test::WriteHostFile(folder_.Sub("mountinfo"), mountInfo_);
    return ListFloppyDrives(folder_.Sub("block"), folder_.Sub("mountinfo"));
  }

 private:
  pelko::test::TempFolder folder_;
  std::string mountInfo_ = "22 27 0:21 / /proc rw,relatime - proc proc rw\n";
};

TEST(FloppyDevices, ListsRemovableDrivesUpToAFloppysSizeWithModelAndMount) {
  FakeSystem system;
  system.Device("sda", 0, 2880, "8:0");                                  // fixed: never
  system.Device("sdb", 1, 2880, "8:16", "TEAC", "FD-05PUB");             // 1440 KB
  system.Device("sdc", 1, 0, "8:32", "Y-E DATA", "USB-FDU");             // empty drive
  system.Device("sdd", 1, 31285248, "8:48", "SanDisk", "Cruzer Blade");  // a USB stick
  system.Device("sde", 1, 5761, "8:64");                                 // one sector too many
  system.Device("fd0", 1, 5760, "2:0");                                  // 2880 KB, no model
  system.Partition("sdb", "sdb1", "8:17");
  system.Mount("8:17", "/media/me/MY\\040DISK");
  system.Mount("8:48", "/media/me/STICK");

  std::vector<FloppyDrive> drives = system.List();
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[0].devicePath, "/dev/fd0");
  EXPECT_EQ(drives[0].bytes, 2949120u);
  EXPECT_EQ(drives[0].model, "");
  EXPECT_EQ(drives[0].mountPoint, "");
  EXPECT_EQ(drives[1].devicePath, "/dev/sdb");
  EXPECT_EQ(drives[1].bytes, 1474560u);
  EXPECT_EQ(drives[1].model, "TEAC FD-05PUB");
  EXPECT_EQ(drives[1].mountPoint, "/media/me/MY DISK");
  EXPECT_EQ(drives[2].devicePath, "/dev/sdc");
  EXPECT_EQ(drives[2].bytes, 0u);
  EXPECT_EQ(drives[2].model, "Y-E DATA USB-FDU");
}

}  // namespace
}  // namespace pelko::fat::test
