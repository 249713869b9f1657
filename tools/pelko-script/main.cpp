// pelko-script SCRIPT: runs the main window in the headless host and plays a
// file of user actions; the transcript goes to stdout (see README.md).
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "app/archiver_app.h"
#include "platform/drive_a_access.h"
#include "platform/program_folder.h"
#include "script_parser.h"
#include "templates/templates.h"
#include "ui/headless/headless_host.h"

namespace {

using pelko::ui::headless::ScriptStep;

constexpr int kExitMismatch = 1;
constexpr int kExitUnusableScript = 2;

// Runs a shell command with its output on stderr, so stdout holds only the
// transcript; the exit status, or -1 when it did not exit normally.
int RunShellCommand(const std::string& command) {
  std::fflush(stdout);
  pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    dup2(STDERR_FILENO, STDOUT_FILENO);
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pelko-script SCRIPT\n");
    return kExitUnusableScript;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "pelko-script: cannot read %s\n", argv[1]);
    return kExitUnusableScript;
  }
  std::stringstream contents;
  contents << file.rdbuf();
  pelko::script::ParsedScript script = pelko::script::ParseScript(contents.str());
  if (!script.error.empty()) {
    std::fprintf(stderr, "pelko-script: %s: %s\n", argv[1], script.error.c_str());
    return kExitUnusableScript;
  }

  pelko::ui::headless::ScriptedUser user;
  for (ScriptStep& step : script.steps) {
    if (step.kind == ScriptStep::Kind::Run) {
      step.run = [&user, command = step.text](std::string& why) {
        int status = RunShellCommand(command);
        user.Record("run " + command + " -> exit " + std::to_string(status));
        if (status == 0) return true;
        why = "the command exited with " + std::to_string(status);
        return false;
      };
    }
    user.Add(std::move(step));
  }
  user.SetMainWindow(pelko::templates::IDD_MAIN);
  user.SetTranscriptSink([](const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  });
  // A mismatch ends the run where it happened, as if the user walked away.
  user.SetFailureHandler([](const std::string& reason) {
    std::fflush(stdout);
    std::fprintf(stderr, "pelko-script: %s\n", reason.c_str());
    std::exit(kExitMismatch);
  });

  // An installed copy's program folder is made on its first start.
  pelko::win::MakeProgramFolder();
  if (std::string problem; !pelko::win::CheckDriveAAccess(problem)) {
    std::fprintf(stderr, "pelko-script: warning: %s\n", problem.c_str());
  }
  pelko::ui::headless::HeadlessHost host(user);
  host.WatchText(pelko::templates::IDD_MAIN, 1003);
  pelko::app::CArchiverApp app;
  app.InitInstance();
  if (app.MainWindowResult() == -1) return kExitMismatch;  // start-up said why
  if (user.StepsLeft() > 0) {
    const ScriptStep* step = user.FirstStepLeft();
    user.Fail("the main window has closed, but steps are left from " + step->origin + ": " +
              pelko::ui::headless::DescribeStep(*step));
    return kExitMismatch;
  }
  return 0;
}
