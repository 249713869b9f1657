// Runs a shell command line and collects what it printed (stderr included).
#pragma once

#include <string>

namespace pelko::test {

struct CommandResult {
  int exitCode = -1;   // the exit status, or -1 when it did not exit normally
  std::string output;  // stdout and stderr, interleaved
};

CommandResult RunCommand(const std::string& command);

// Quotes a host path or word for the shell.
std::string ShellQuote(const std::string& word);

}  // namespace pelko::test
