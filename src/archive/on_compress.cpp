// "圧縮": pack every path associated with the floppy into the working copy,
// then put it on the floppy as "archive.lzh", or split over several floppies.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_commands.h"
#include "archive/backup_fit.h"
#include "archive/backup_restore.h"
#include "archive/entry_name_clashes.h"
#include "archive/floppy_files.h"
#include "archive/span_piece.h"
#include "archive/span_writer.h"
#include "lzh/archive/archive_writer.h"
#include "lzh/command/archiver_command.h"
#include "platform/file_services.h"
#include "platform/program_folder.h"
#include "platform/user_interface.h"
#include "res/texts_backup_restore.h"
#include "shell/error_texts.h"
#include "shell/floppy_drive.h"
#include "store/association_list.h"
#include "store/exclusion_switches.h"
#include "text/code_page.h"

namespace pelko::archive {
namespace {

constexpr std::uint32_t kMissing = 0xFFFFFFFF;

void ShowMessage(const std::string& cp932Text) {
  win::MessageBox(cp932Text, win::MessageBoxButtons::Ok, win::MessageBoxIcon::Warning);
}

// Two entries stored under one name would restore one file's bytes over
// both places: such a list is refused before anything is built.
bool RefuseEntryNameClashes(const store::AssociationList& entries) {
  std::vector<std::vector<std::string>> clashes = FindEntryNameClashes(entries);
  if (clashes.empty()) return false;
  std::string text = cp932::FromUtf8Literal(res::kEntryNamesClash);
  for (const std::vector<std::string>& group : clashes) {
    text += "\n";
    for (const std::string& entry : group) text += "\n" + entry;
  }
  ShowMessage(text);
  return true;
}

// One Add command per entry, in list order, into a fresh working copy. The
// commands share one session, so the working copy they started takes each
// entry at its end instead of being rebuilt for every one.
void BuildWorkingCopy(const std::string& workingCopy, const store::AssociationList& entries) {
  const std::string exclusionSwitches = store::BuildExclusionSwitches();
  win::DeleteFile(workingCopy);
  lzh::ArchiverSession session;
  for (const std::string& entry : entries) {
    const std::string command = AddCommand(workingCopy, entry, exclusionSwitches);
    lzh::ArchiverCommand(session, nullptr, command.c_str(), nullptr, 0);
  }
}

// The archive the floppy holds now: its single archive, else its span piece.
std::uint32_t OldArchiveSize() {
  std::uint32_t size = win::ProbeFileSize(kArchiveOnFloppyUpper);
  if (size == kMissing) size = win::ProbeFileSize(kPieceOnFloppy);
  return size == kMissing ? 0 : size;
}

// The working copy takes the previous archive's place on the floppy; it
// leaves the program folder only once the floppy holds it whole.
void ReplaceArchiveOnFloppy(shell::MainWindow& mainWindow, const std::string& workingCopy) {
  const shell::BusySwitch busy(mainWindow);
  if (PutArchiveOnFloppy(workingCopy)) {
    win::DeleteFile(workingCopy);
  } else {
    shell::ShowSystemErrorText();
  }
}

void SplitOverFloppies(shell::MainWindow& mainWindow, const std::string& workingCopy,
                       std::uint32_t newSize, const shell::FloppySpace& space) {
  const std::uint32_t capacity = space.Capacity();
  if (capacity == 0) {  // the space query failed
    shell::ShowSystemErrorText();
    return;
  }
  std::optional<std::int8_t> floppies = FloppyCount(newSize, capacity);
  if (!floppies) {
    ShowMessage(cp932::FromUtf8Literal(res::kArchiveTooLargeForFloppySet));
    return;
  }
  std::string question = FormatDiskPrompt(res::kSplitOverFloppies, *floppies);
  if (win::MessageBox(question, win::MessageBoxButtons::YesNo, win::MessageBoxIcon::Question) !=
      win::DialogResult::Yes) {
    return;
  }
  const shell::BusySwitch busy(mainWindow);
  WriteSpannedArchive(workingCopy);
}

}  // namespace

void OnCompress(shell::MainWindow& mainWindow) {
  std::optional<std::string> label = shell::WaitForDisk();
  if (!label) return;

  std::optional<store::AssociationList> entries = store::ReadAssociationList(*label);
  if (!entries) {
    ShowMessage(cp932::FromUtf8Literal(res::kSettingsNotFound));
    return;
  }
  if (RefuseEntryNameClashes(*entries)) return;

  if (win::MessageBox(cp932::FromUtf8Literal(res::kConfirmBackup), win::MessageBoxButtons::YesNo,
                      win::MessageBoxIcon::Question) != win::DialogResult::Yes) {
    return;
  }

  // Scratch files of an earlier run that was cut off go first.
  lzh::RemoveScratchFilesIn(win::ProgramFolderPath(""));
  const std::string workingCopy = win::ProgramFolderPath(kWorkingCopyName);
  BuildWorkingCopy(workingCopy, *entries);

  const std::uint32_t oldSize = OldArchiveSize();
  const std::uint32_t newSize = win::ProbeFileSize(workingCopy);
  if (newSize == kMissing) {  // nothing was built
    shell::ShowSystemErrorText();
    return;
  }

  const shell::FloppySpace space = shell::QueryFloppySpace();
  if (FitsOnFloppy(space.FreeBytes(), newSize, oldSize)) {
    ReplaceArchiveOnFloppy(mainWindow, workingCopy);
  } else {
    SplitOverFloppies(mainWindow, workingCopy, newSize, space);
  }
}

}  // namespace pelko::archive
