// The commands of pelko-lha and what they share. Each command gets the words
// after its own name and returns the exit code (0 success, 1 any failure,
// 2 a usage error).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::lha {

int RunList(const std::vector<std::string>& args);     // l ARCHIVE
int RunTest(const std::vector<std::string>& args);     // t ARCHIVE
int RunExtract(const std::vector<std::string>& args);  // x ARCHIVE [-w DIR] [-f] [-i] [NAME...]
int RunAdd(const std::vector<std::string>& args);      // a (write_commands.cpp)
int RunDelete(const std::vector<std::string>& args);   // d (write_commands.cpp)

// A host path given on the command line as a drive-letter path (C: is the
// host root unless PELKO_DRIVE_C names another folder); prints an error and
// gives nullopt when it has none.
std::optional<std::string> WindowsPathOf(std::string_view hostPath);

// A CP932 name for the terminal: control characters escaped, then UTF-8.
std::string ForTerminal(std::string_view cp932);

// "pelko-lha: <what>: <the system's text for the last-error code>" on stderr.
void PrintSystemError(std::string_view what, unsigned long win32);
void PrintError(std::string_view message);

}  // namespace pelko::lha
