// "展開": bring the floppy's archive back into the working copy, extract every
// associated path to where it came from and, when the options ask for it,
// the rest into the destination folder.
#include <optional>
#include <string>

#include "archive/archive_commands.h"
#include "archive/backup_restore.h"
#include "archive/extract_and_associate.h"
#include "archive/span_piece.h"
#include "lzh/command/archiver_command.h"
#include "platform/file_services.h"
#include "platform/program_folder.h"
#include "platform/user_interface.h"
#include "res/texts_backup_restore.h"
#include "shell/floppy_drive.h"
#include "store/association_list.h"
#include "store/extract_settings.h"
#include "text/code_page.h"

namespace pelko::archive {
namespace {

void ShowMessage(std::string_view utf8Text) {
  win::MessageBox(cp932::FromUtf8Literal(utf8Text), win::MessageBoxButtons::Ok,
                  win::MessageBoxIcon::Warning);
}

// What belongs to no association: dropped from the working copy, the rest
// extracted into the destination folder, the library's report shown.
void ExtractUnassociated(const std::string& workingCopy, const store::AssociationList& lines,
                         const store::ExtractSettings& settings) {
  std::optional<std::string> destination = UsableDestinationFolder(settings.destinationFolder);
  if (!destination) {
    ShowMessage(res::kNoDestinationFolder);
    return;
  }
  const std::string deleteCommand =
      DeleteCommand(workingCopy, settings.extractSwitches, NameList(lines));
  int deleted = lzh::kArchiverOk;
  const std::string deleteReport = RunReportingCommand(deleteCommand, &deleted);
  if (CommandFailed(deleted)) {
    // The associated entries are still in the copy: the rest cannot be told
    // apart from them, and extracting it would bring them back twice.
    ShowReport(deleteReport);
    return;
  }
  ShowReport(RunReportingCommand(
      ExtractToDestinationCommand(workingCopy, settings.extractSwitches, *destination)));
}

}  // namespace

void OnExpand(shell::MainWindow& mainWindow) {
  std::optional<std::string> label = shell::WaitForDisk();
  if (!label) return;
  if (label->empty()) {
    ShowMessage(res::kEmptyVolumeLabel);
    return;
  }

  std::optional<store::AssociationList> lines = store::ReadAssociationList(*label);
  if (!lines) {
    if (win::MessageBox(cp932::FromUtf8Literal(res::kOfferExtractAndAssociate),
                        win::MessageBoxButtons::YesNo,
                        win::MessageBoxIcon::Question) == win::DialogResult::Yes) {
      ExtractAndAssociate(mainWindow, *label);
    }
    return;
  }

  const std::string workingCopy = win::ProgramFolderPath(kWorkingCopyName);
  // Off from the copy of the archive to the end of the command.
  const shell::BusySwitch busy(mainWindow);
  if (!BringArchiveToWorkingCopy(workingCopy)) {
    ShowMessage(res::kArchiveCopyFailed);
    return;
  }

  const std::string targetPairs = TargetPairs(*lines);
  const store::ExtractSettings settings = store::ReadExtractSettings();
  const std::string toOrigin =
      ExtractToOriginCommand(workingCopy, settings.extractSwitches, targetPairs);
  int restored = lzh::kArchiverOk;
  const std::string originReport = RunReportingCommand(toOrigin, &restored);
  // Entries that could not be restored are named, never left unsaid.
  if (CommandFailed(restored)) ShowReport(originReport);

  if (settings.extractUnassociated) ExtractUnassociated(workingCopy, *lines, settings);

  win::DeleteFile(workingCopy);
}

}  // namespace pelko::archive
