#include "lzh/command/archiver_command.h"

#include <string_view>

#include "lzh/archive/path_names.h"
#include "lzh/command/command_line.h"
#include "lzh/command/command_report.h"
#include "lzh/command/command_runs.h"
#include "res/texts_archiver.h"

namespace pelko::lzh {
namespace {

std::string_view CommandLineErrorText(CommandLineError error) {
  switch (error) {
    case CommandLineError::None:
    case CommandLineError::Empty:
      return res::kArchiverNoCommand;
    case CommandLineError::UnknownCommand:
      return res::kArchiverUnknownCommand;
    case CommandLineError::UnclosedQuote:
      return res::kArchiverUnclosedQuote;
    case CommandLineError::UnknownSwitch:
      return res::kArchiverUnknownSwitch;
    case CommandLineError::EmptyPattern:
      return res::kArchiverEmptyPattern;
    case CommandLineError::NoArchive:
      return res::kArchiverNoArchive;
    case CommandLineError::ArchiveNotAbsolute:
      return res::kArchiverArchiveNotAbsolute;
    case CommandLineError::ArchiveIsFolder:
      return res::kArchiverArchiveIsFolder;
    case CommandLineError::RelativeBaseFolder:
      return res::kArchiverRelativeBaseFolder;
    case CommandLineError::NameWithoutBase:
      return res::kArchiverNameWithoutBase;
    case CommandLineError::BadName:
      return res::kArchiverBadName;
  }
  return res::kArchiverNoCommand;
}

void Run(const ParsedCommand& command, CommandReport& report, ArchiverSession& session) {
  const bool needsNames = command.kind == CommandKind::Add ||
                          command.kind == CommandKind::Extract ||
                          command.kind == CommandKind::Delete;
  if (needsNames && command.NamesNothing()) {
    // Nothing named is nothing to do, never "everything".
    report.Add(ReportLine::Note, res::kArchiverNothingNamed);
    return;
  }
  switch (command.kind) {
    case CommandKind::Add:
      RunAddCommand(command, report, session.Started());
      break;
    case CommandKind::Extract:
      RunExtractCommand(command, report);
      break;
    case CommandKind::Delete:
      RunDeleteCommand(command, report);
      break;
    case CommandKind::List:
      RunListCommand(command, report);
      break;
    case CommandKind::Test:
      RunTestCommand(command, report);
      break;
  }
}

}  // namespace

int ArchiverCommand(const void* owner, const char* commandLine, char* output,
                    std::size_t outputSize) {
  ArchiverSession session;
  return ArchiverCommand(session, owner, commandLine, output, outputSize);
}

int ArchiverCommand(ArchiverSession& session, const void* /*owner*/, const char* commandLine,
                    char* output, std::size_t outputSize) {
  const CommandLineParse parse =
      ParseCommandLine(commandLine == nullptr ? std::string_view{} : commandLine);
  CommandReport report(parse.command.kind);
  if (parse.Ok()) {
    Run(parse.command, report, session);
  } else {
    report.Add(ReportLine::Error, CommandLineErrorText(parse.error),
               {EscapeForDisplay(parse.offending)});
    report.MarkNotRun();
  }
  CopyReport(report.Text(), output, outputSize);
  return report.Result();
}

}  // namespace pelko::lzh
