// Restore of a floppy that has no association list: its whole archive goes
// into a folder named after its label inside the destination folder, and the
// label's new list names that folder. Also the steps both restore commands share.
#pragma once

#include <string>
#include <string_view>

#include "shell/main_window.h"

namespace pelko::archive {

// Extracts the floppy's archive into <destination folder><label> and writes
// the label's association list with that one folder. Shows its own messages;
// switches the main buttons off from the copy of the archive to its end.
void ExtractAndAssociate(shell::MainWindow& mainWindow, const std::string& label);

// "a:\archive.lzh" copied over the working copy, or, when that fails, the
// span pieces joined into it, then tested. False when neither brought back
// an archive worth restoring from: a copied one without a sound entry, or a
// joined set that is not whole. The working copy is then left as it is.
bool BringArchiveToWorkingCopy(const std::string& workingCopy);

// One library command with a report buffer; the report up to its first zero
// byte, and in `result` the library's result code.
std::string RunReportingCommand(const std::string& commandLine, int* result = nullptr);

// A library result that says entries were left undone by a failure, not by
// the user's choice.
bool CommandFailed(int result);

// The report window, modal, holding `report`.
void ShowReport(const std::string& report);

}  // namespace pelko::archive
