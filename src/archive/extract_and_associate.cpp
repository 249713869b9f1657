#include "archive/extract_and_associate.h"

#include <optional>
#include <vector>

#include "archive/archive_commands.h"
#include "archive/floppy_files.h"
#include "archive/output_dialog.h"
#include "archive/span_joiner.h"
#include "archive/span_piece.h"
#include "archive/working_copy_check.h"
#include "lzh/command/archiver_command.h"
#include "platform/file_services.h"
#include "platform/program_folder.h"
#include "platform/user_interface.h"
#include "res/texts_backup_restore.h"
#include "shell/error_texts.h"
#include "store/association_list.h"
#include "store/extract_settings.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::archive {
namespace {

// Room for the library's whole report: one cut short could hide which
// entries were not restored.
constexpr std::size_t kReportBufferSize = 1 << 20;

void ShowMessage(std::string_view utf8Text) {
  win::MessageBox(cp932::FromUtf8Literal(utf8Text), win::MessageBoxButtons::Ok,
                  win::MessageBoxIcon::Warning);
}

}  // namespace

bool BringArchiveToWorkingCopy(const std::string& workingCopy) {
  // A single archive with some damaged entries still gives back its sound
  // ones; a joined set that is not whole holds a piece of some other set.
  if (win::CopyFile(kArchiveOnFloppy, workingCopy, false)) {
    return TestWorkingCopy(workingCopy) != WorkingCopyState::Unreadable;
  }
  return JoinSpannedArchive() && TestWorkingCopy(workingCopy) == WorkingCopyState::Whole;
}

std::string RunReportingCommand(const std::string& commandLine, int* result) {
  std::vector<char> report(kReportBufferSize, '\0');
  const int code = lzh::ArchiverCommand(nullptr, commandLine.c_str(), report.data(), report.size());
  if (result != nullptr) *result = code;
  report.back() = '\0';
  return std::string(report.data());
}

bool CommandFailed(int result) {
  return result == lzh::kArchiverError || result == lzh::kArchiverBadCommandLine;
}

void ShowReport(const std::string& report) {
  COutputDialog window(report);
  window.DoModal();
}

void ExtractAndAssociate(shell::MainWindow& mainWindow, const std::string& label) {
  // A label is the last part of the target folder: one that cannot name a
  // folder ("..", "a\b") would put the files outside the destination.
  if (!store::IsUsableLabelName(label)) {
    win::SetLastError(win::ERROR_INVALID_NAME);
    shell::ShowSystemErrorText();
    return;
  }

  const std::string workingCopy = win::ProgramFolderPath(kWorkingCopyName);
  // Off from the copy of the archive to the end of the command.
  const shell::BusySwitch busy(mainWindow);
  if (!BringArchiveToWorkingCopy(workingCopy)) {
    ShowMessage(res::kArchiveCopyFailed);
    return;
  }

  store::ExtractSettings settings = store::ReadExtractSettings();
  std::optional<std::string> destination = UsableDestinationFolder(settings.destinationFolder);
  if (!settings.extractUnassociated || !destination) {
    ShowMessage(res::kNoDestinationFolder);
    return;
  }

  const std::string targetFolder = *destination + label;
  ShowReport(RunReportingCommand(
      ExtractAndAssociateCommand(workingCopy, settings.extractSwitches, targetFolder)));
  win::DeleteFile(workingCopy);

  // The name for the message is taken first: the failed write's error code
  // must be the last one when the message is built.
  const std::string listPath = store::AssociationListPath(label);
  if (!store::WriteAssociationList(label, {targetFolder})) {
    shell::ShowFileErrorText(shell::FileErrorCause::Create, listPath);
  }
}

}  // namespace pelko::archive
