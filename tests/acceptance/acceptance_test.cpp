// pelko-script plays each script against a labelled 1.44 MB image (label
// PELKO, serial 12345678) in drive A: of a fresh program folder; the
// transcript on stdout and the exit code must be exactly the expected ones.
// A script may move the image in its run steps: $PELKO_DRIVE_A names it and
// $PELKO_HOME the program folder.
#include <gtest/gtest.h>

#include <string>

#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace pelko {
namespace {

using test::RunCommand;
using test::ShellQuote;

struct Case {
  const char* name;
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
  ASSERT_EQ(RunCommand("mformat -C -f 1440 -i " + ShellQuote(image) + " -v PELKO -N 12345678 ::").exitCode, 0);

  std::string stdoutFile = home.Sub("stdout.txt");
  std::string stderrFile = home.Sub("stderr.txt");
  test::CommandResult run = RunCommand(ShellQuote(PELKO_SCRIPT) + " " + ShellQuote(ScriptPath(c.name, ".script")) +
                                       " >" + ShellQuote(stdoutFile) + " 2>" + ShellQuote(stderrFile));
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

INSTANTIATE_TEST_SUITE_P(Scripts, PelkoScript,
                         ::testing::Values(Case{"refresh_follows_the_floppy", 0},
                                           Case{"missing_image_then_inserted", 0},
                                           Case{"buttons_without_commands_do_nothing", 0},
                                           Case{"unexpected_dialog_fails", 1},
                                           Case{"wrong_panel_text_fails", 1},
                                           Case{"steps_after_quit_fail", 1},
                                           Case{"failing_run_step_fails", 1},
                                           Case{"unknown_step_is_refused", 2}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pelko
