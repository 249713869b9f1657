// The program folder: where every stored file of the tool lives.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelko::win {

// The running executable's full path as a drive-letter path (GetModuleFileName).
std::optional<std::string> GetModuleFileName();

// The program folder as a drive-letter path with its trailing backslash:
// the host folder PELKO_HOME names; else, for an installed copy,
// $XDG_DATA_HOME/pelko (~/.local/share/pelko); else the executable's folder
// (a build tree's build/bin). nullopt when it has no Windows form.
std::optional<std::string> ProgramFolder();

// The same folder as a host path (for tools that are handed host paths).
std::optional<std::string> ProgramFolderHostPath();

// The program folder of an installed copy whose executable lies in
// `executableFolder` (a host path): $XDG_DATA_HOME/pelko. A copy is
// installed when its folder is named "bin" and "../share/pelko/installed"
// lies beside it, as `cmake --install` and the Debian package lay it out;
// nullopt for any other copy (a build tree).
std::optional<std::string> InstalledProgramFolder(const std::string& executableFolder);

// Makes the program folder of an installed copy on its first start (with
// any missing parents, private to the user). True when the program folder
// exists afterwards; a folder PELKO_HOME names is never made.
bool MakeProgramFolder();

// The program folder followed by `name`; empty when there is no program folder.
std::string ProgramFolderPath(std::string_view name);

// The executable's file name without its extension: the title of every
// message box.
std::string ApplicationTitle();

}  // namespace pelko::win

namespace pelko::win {

// Start-up check: makes an installed copy's folder (MakeProgramFolder), then
// true when the program folder exists and has a drive-letter form. Otherwise `errorLine` is one
// line (UTF-8, for the terminal) naming the folder and saying why the tool cannot start.
bool CheckProgramFolder(std::string& errorLine);

}  // namespace pelko::win
