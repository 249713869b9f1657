// The window and a USB floppy drive that the desktop has mounted (a loop
// device the test holds exclusively, as the kernel holds a mounted one): the
// floppy is read, the backup's write fails with the system's text for error
// 32 through the ordinary failure path, and the floppy is left as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "support/loop_device.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace pelko {
namespace {

using test::ReadHostFile;
using test::RunCommand;
using test::ShellQuote;

TEST(MountedFloppy, ABackupOntoItFailsWithTheInUseTextAndLeavesItAlone) {
  test::TempFolder home("pelko-mounted");
  std::string image = home.Sub("usb.img");
  ASSERT_EQ(RunCommand("mformat -C -f 1440 -i " + ShellQuote(image) + " -v PELKO -N 12345678 ::")
                .exitCode,
            0);
  test::LoopDevice loop(image);
  if (loop.Path().empty()) GTEST_SKIP() << loop.Why();
  test::ScopedEnv programFolder("PELKO_HOME", home.Path());
  test::ScopedEnv driveA("PELKO_DRIVE_A", loop.Path());
  test::WriteHostFile(home.Sub("memo.txt"), "memo\r\n");
  std::string memo = "C:" + home.Sub("memo.txt");
  for (char& c : memo) c = c == '/' ? '\\' : c;
  test::WriteHostFile(home.Sub("PELKO.txt"), memo + "\r\n");
  test::WriteHostFile(home.Sub("backup.script"),
                      "press 1001\n"
                      "answer YES\n"
                      "answer OK プロセスはファイルにアクセスできません。"
                      "別のプロセスが使用中です。\\r\\n\n");
  const std::string before = ReadHostFile(image);

  int mounted = ::open(loop.Path().c_str(), O_RDONLY | O_EXCL | O_CLOEXEC);
  ASSERT_GE(mounted, 0);
  test::CommandResult run =
      RunCommand(ShellQuote(PELKO_SCRIPT) + " " + ShellQuote(home.Sub("backup.script")));
  ::close(mounted);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("ボリュームラベル： PELKO\\n"), std::string::npos) << run.output;
  EXPECT_EQ(ReadHostFile(image), before);
  EXPECT_TRUE(test::HostPathExists(home.Sub("archive.lzh"))) << "the working copy is kept";
}

}  // namespace
}  // namespace pelko
