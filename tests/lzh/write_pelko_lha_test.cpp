// pelko-lha a and d, run as a program, checked by lhasa.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_command.h"
#include "support/temp_folder.h"

namespace pelko::lzh {
namespace {

namespace fs = std::filesystem;
using test::RunCommand;
using test::ShellQuote;

class PelkoLhaWrite : public ::testing::Test {
 protected:
  test::CommandResult Lha(const std::string& words) {
    return RunCommand("cd " + ShellQuote(folder_.Path()) +
                      " && PELKO_DRIVE_C=" + ShellQuote(folder_.Path()) + " " +
                      ShellQuote(std::string(PELKO_BIN_DIR) + "/pelko-lha") + " " + words);
  }
  test::TempFolder folder_{"pelko-lzhw"};
};

TEST_F(PelkoLhaWrite, AddsFoldersWithTheChosenMethodAndDeletesEntries) {
  fs::create_directories(folder_.Sub("docs/sub"));
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "backup line " + std::to_string(i % 50) + "\n";
  test::WriteHostFile(folder_.Sub("docs/sub/notes.txt"), text);
  test::WriteHostFile(folder_.Sub("docs/a.txt"), text);
  const test::CommandResult add = Lha("a out.lzh -lh6 docs");
  ASSERT_EQ(add.exitCode, 0) << add.output;
  EXPECT_NE(add.output.find("docs\\sub\\notes.txt - -lh6-"), std::string::npos) << add.output;

  const test::CommandResult listed = RunCommand("lhasa v " + ShellQuote(folder_.Sub("out.lzh")));
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_NE(listed.output.find("docs/sub/notes.txt"), std::string::npos) << listed.output;
  EXPECT_EQ(RunCommand("lhasa t " + ShellQuote(folder_.Sub("out.lzh"))).exitCode, 0);

  const test::CommandResult deleted = Lha("d out.lzh 'docs\\sub'");
  ASSERT_EQ(deleted.exitCode, 0) << deleted.output;
  const test::CommandResult after = RunCommand("lhasa l " + ShellQuote(folder_.Sub("out.lzh")));
  EXPECT_EQ(after.output.find("notes.txt"), std::string::npos) << after.output;
  EXPECT_NE(after.output.find("docs/a.txt"), std::string::npos) << after.output;
}

TEST_F(PelkoLhaWrite, LeftOutItemsAreNamedAndTheExitCodeSaysSo) {
  fs::create_directories(folder_.Sub("docs"));
  test::WriteHostFile(folder_.Sub("docs/a.txt"), "a");
  fs::create_symlink("/etc/passwd", folder_.Sub("docs/link"));
  const test::CommandResult add = Lha("a out.lzh docs");
  EXPECT_EQ(add.exitCode, 1);
  EXPECT_NE(add.output.find("C:\\docs\\link : シンボリックリンクはたどりません"), std::string::npos)
      << add.output;
}

TEST_F(PelkoLhaWrite, UnknownSwitchIsAUsageError) {
  EXPECT_EQ(Lha("a out.lzh -lh9 x").exitCode, 2);
  EXPECT_EQ(Lha("d out.lzh").exitCode, 2);
}

}  // namespace
}  // namespace pelko::lzh
