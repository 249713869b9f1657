// The five commands of the archive library's command line, each run on a
// parsed line and writing its lines into the report.
#pragma once

#include "lzh/archive/started_archives.h"
#include "lzh/command/command_line.h"
#include "lzh/command/command_report.h"

namespace pelko::lzh {

void RunAddCommand(const ParsedCommand& command, CommandReport& report, StartedArchives& started);
void RunExtractCommand(const ParsedCommand& command, CommandReport& report);
void RunDeleteCommand(const ParsedCommand& command, CommandReport& report);
void RunListCommand(const ParsedCommand& command, CommandReport& report);
void RunTestCommand(const ParsedCommand& command, CommandReport& report);

// A question the user would be asked is answered Yes by -y.
inline Policy AnsweredPolicy(Policy policy, bool answerYes) {
  return policy == Policy::Ask && answerYes ? Policy::Always : policy;
}

// "X:" as a folder is that drive's root.
std::string FolderOfBase(const std::string& baseFolder);

}  // namespace pelko::lzh
