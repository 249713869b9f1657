// a: files and folders into the archive under names relative to their base folder.
#include "lzh/archive/add_files.h"
#include "lzh/archive/path_names.h"
#include "lzh/command/command_runs.h"
#include "res/texts_archiver.h"

namespace pelko::lzh {
namespace {

std::string ReasonText(const LeftOutItem& item) {
  switch (item.reason) {
    case LeftOutReason::Symlink:
      return FormatReportText(res::kArchiverReasonLink, {});
    case LeftOutReason::SpecialFile:
      return FormatReportText(res::kArchiverReasonSpecial, {});
    case LeftOutReason::PseudoFileSystem:
      return FormatReportText(res::kArchiverReasonSystemFolder, {});
    case LeftOutReason::Unreadable:
      return FormatReportText(res::kArchiverReasonUnreadable, {});
    case LeftOutReason::NoWindowsName:
      return FormatReportText(res::kArchiverReasonNoWindowsName, {std::to_string(item.count)});
    case LeftOutReason::TooLarge:
      return FormatReportText(res::kArchiverReasonTooLarge, {});
    case LeftOutReason::Changed:
      return FormatReportText(res::kArchiverReasonChanged, {});
    case LeftOutReason::NameTooLong:
      return FormatReportText(res::kArchiverReasonNameTooLong, {});
    case LeftOutReason::NotFound:
      return FormatReportText(res::kArchiverReasonNotFound, {});
    case LeftOutReason::FolderLoop:
      return FormatReportText(res::kArchiverReasonFolderLoop, {});
  }
  return FormatReportText(res::kArchiverReasonUnreadable, {});
}

AddOptions OptionsOf(const CommandSwitches& s) {
  AddOptions options;
  options.recurse = s.recurse;
  options.keepPaths = s.relativePaths;
  options.includeHiddenSystem = s.hiddenFiles;
  for (const std::string& pattern : s.excluded) options.exclusions.Add(pattern);
  return options;
}

}  // namespace

void RunAddCommand(const ParsedCommand& command, CommandReport& report, StartedArchives& started) {
  std::vector<LeftOutItem> leftOut;
  for (const TargetGroup& group : command.groups) {
    AddRequest request;
    request.archivePath = command.archive;
    request.baseFolder = FolderOfBase(group.baseFolder);
    request.names =
        group.names.empty() ? std::vector<std::string>{""} : group.names;  // "": the whole folder
    request.options = OptionsOf(command.switches);
    const AddReport result = AddToArchive(request, started);
    for (const AddedItem& item : result.added) {
      report.Add(ReportLine::Done, item.replaced ? res::kArchiverReplaced : res::kArchiverAdded,
                 {EscapeForDisplay(item.storedName)});
    }
    for (const LeftOutItem& item : result.leftOut) {
      report.Add(ReportLine::Skipped, res::kArchiverLeftOut,
                 {ReasonText(item), EscapeForDisplay(item.path)});
      leftOut.push_back(item);
    }
    if (!result.Succeeded()) {
      // The archive stays as it was; further adds would fail the same way.
      report.Add(ReportLine::Error,
                 result.archiveError != LzhError::None ? res::kArchiverArchiveDamaged
                                                       : res::kArchiverCannotWriteArchive,
                 {EscapeForDisplay(command.archive)});
      break;
    }
  }
  // A backup passes no buffer for the report: what was left out must still be seen.
  ShowLeftOutWarning(leftOut);
}

}  // namespace pelko::lzh
