// pelko-script plays each script against a labelled 1.44 MB image (label
// PELKO, serial 12345678) in drive A: of a fresh program folder; the
// transcript on stdout and the exit code must be exactly the expected ones.
// A script may move the image in its run steps: $PELKO_DRIVE_A names it and
// $PELKO_HOME the program folder. Every scripts/NAME.script is played; one
// that must fail says so in a comment line "# exit N" (else it must exit 0).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace pelko {
namespace {

using test::RunCommand;
using test::ShellQuote;

struct Case {
  std::string name;
  int exitCode;
};

std::string ScriptPath(const std::string& name, const char* extension) {
  return std::string(PELKO_SCRIPTS_DIR) + "/" + name + extension;
}

class PelkoScript : public ::testing::TestWithParam<Case> {};

TEST_P(PelkoScript, TranscriptAndExitCodeAreTheExpectedOnes) {
  const Case& c = GetParam();
  test::TempFolder home("pelko-acceptance");
  std::string image = home.Sub("A.img");
  test::ScopedEnv programFolder("PELKO_HOME", home.Path());
  test::ScopedEnv driveA("PELKO_DRIVE_A", image);
  ASSERT_EQ(RunCommand("mformat -C -f 1440 -i " + ShellQuote(image) + " -v PELKO -N 12345678 ::")
                .exitCode,
            0);

  std::string stdoutFile = home.Sub("stdout.txt");
  std::string stderrFile = home.Sub("stderr.txt");
  test::CommandResult run =
      RunCommand(ShellQuote(PELKO_SCRIPT) + " " + ShellQuote(ScriptPath(c.name, ".script")) + " >" +
                 ShellQuote(stdoutFile) + " 2>" + ShellQuote(stderrFile));
  std::string transcript = test::ReadHostFile(stdoutFile);
  std::string errors = test::ReadHostFile(stderrFile);
  EXPECT_EQ(run.exitCode, c.exitCode) << errors;
  EXPECT_EQ(transcript, test::ReadHostFile(ScriptPath(c.name, ".expected"))) << errors;
  if (c.exitCode == 0) {
    EXPECT_EQ(errors, "");
  } else {
    EXPECT_NE(errors.find("pelko-script: "), std::string::npos);
  }
}

std::vector<Case> Scripts() {
  std::vector<Case> cases;
  for (const auto& entry : std::filesystem::directory_iterator(PELKO_SCRIPTS_DIR)) {
    if (entry.path().extension() != ".script") continue;
    Case c{entry.path().stem().string(), 0};
    std::istringstream lines(test::ReadHostFile(entry.path().string()));
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("# exit ", 0) == 0) c.exitCode = std::stoi(line.substr(7));
    }
    cases.push_back(c);
  }
  std::sort(cases.begin(), cases.end(),
            [](const Case& a, const Case& b) { return a.name < b.name; });
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Scripts, PelkoScript, ::testing::ValuesIn(Scripts()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace pelko
