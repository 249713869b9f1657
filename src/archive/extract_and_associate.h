// Restore of a floppy that has no association list: its whole archive goes
// into a folder named after its label inside the destination folder, and the
// label's new list names that folder. Also the steps both restore commands share.
#pragma once

#include <string>
#include <string_view>

namespace pelko::app {
class CMainDialog;
}

namespace pelko::archive {

// Extracts the floppy's archive into <destination folder><label> and writes
// the label's association list with that one folder. Shows its own messages;
// switches the main buttons off from the copy of the archive to its end.
void ExtractAndAssociate(app::CMainDialog& mainWindow, const std::string& label);

// "a:\archive.lzh" copied over the working copy, or, when that fails, the
// span pieces joined into it. False when neither brought the archive back.
bool BringArchiveToWorkingCopy(const std::string& workingCopy);

// One library command with the 500-byte report buffer; the report up to its
// first zero byte.
std::string RunReportingCommand(const std::string& commandLine);

// The report window, modal, holding `report`.
void ShowReport(const std::string& report);

}  // namespace pelko::archive
