// d: named entries out of the archive; with -d everything stored below them too.
#include "lzh/archive/delete_entries.h"
#include "lzh/archive/path_names.h"
#include "lzh/command/command_runs.h"
#include "lzh/command/command_selection.h"
#include "res/texts_archiver.h"

namespace pelko::lzh {

void RunDeleteCommand(const ParsedCommand& command, CommandReport& report) {
  std::vector<std::string> names = NamesOfCommand(command);
  const bool everything = names.empty();  // a base folder with no names after it
  if (everything) names = {"*"};
  const DeleteReport result = command.switches.withEverythingBelow || everything
                                  ? DeleteFromArchive(command.archive, names)
                                  : DeleteFromArchive(command.archive, names, NamesExactly);
  for (const std::string& name : result.deleted) {
    report.Add(ReportLine::Done, res::kArchiverDeleted, {EscapeForDisplay(name)});
  }
  if (!everything) {
    for (const std::string& name : result.unmatched) {
      report.Add(ReportLine::Skipped, res::kArchiverSkippedNotInArchive, {EscapeForDisplay(name)});
    }
  }
  if (!result.Succeeded()) {
    report.Add(ReportLine::Error,
               result.archiveError != LzhError::None ? res::kArchiverArchiveDamaged
                                                     : res::kArchiverCannotOpenArchive,
               {EscapeForDisplay(command.archive)});
  }
}

}  // namespace pelko::lzh
