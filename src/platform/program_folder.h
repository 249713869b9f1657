// The program folder: where every stored file of the tool lives.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelko::win {

// The running executable's full path as a drive-letter path (GetModuleFileName).
std::optional<std::string> GetModuleFileName();

// The program folder as a drive-letter path with its trailing backslash: the
// executable's folder, or the host folder PELKO_HOME names. nullopt when it
// has no Windows form.
std::optional<std::string> ProgramFolder();

// The same folder as a host path (for tools that are handed host paths).
std::optional<std::string> ProgramFolderHostPath();

// The program folder followed by `name`; empty when there is no program folder.
std::string ProgramFolderPath(std::string_view name);

// The executable's file name without its extension: the title of every
// message box.
std::string ApplicationTitle();

}  // namespace pelko::win

namespace pelko::win {

// Start-up check: true when the program folder exists and has a drive-letter
// form. Otherwise `errorLine` is one line (UTF-8, for the terminal) naming the
// folder and saying why the tool cannot start.
bool CheckProgramFolder(std::string& errorLine);

}  // namespace pelko::win
