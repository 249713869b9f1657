// The archive library's command line, as the tool writes it:
//
//   COMMAND [switch | path]...
//
// Blanks separate tokens. A double-quoted part may hold blanks; quotes are
// removed and a backslash is never an escape. A token that starts with an
// unquoted '-' is a switch, wherever it stands after the command; every other
// token is a path (an empty quoted one is ignored). The first path is the
// archive. A path ending in a backslash, or a bare "X:", is a base folder: the
// names after it are taken from it (a) or written under it (e); a base folder
// with no names after it means everything.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lzh/archive/extractor.h"

namespace pelko::lzh {

enum class CommandKind { Add, Extract, Delete, List, Test };

// One base folder and the names after it.
struct TargetGroup {
  // Absolute drive-letter folder ending in '\' or a bare "X:"; empty for the
  // names of d, l and t that stand before any base folder.
  std::string baseFolder;
  std::vector<std::string> names;  // relative to the base folder; empty: everything
};

struct CommandSwitches {
  bool recurse = false;                  // -r2: folders with everything below them
  bool relativePaths = false;            // -x1: paths stored relative to the base folder
  bool hiddenFiles = false;              // -a2: hidden and system files too
  std::vector<std::string> excluded;     // -jx"PATTERN", in order
  bool withEverythingBelow = false;      // -d: a name selects what is stored below it
  bool answerYes = false;                // -y: Yes to every question
  Policy overwrite = Policy::Ask;        // -jyo Always, -jyo0 Never
  Policy createFolder = Policy::Ask;     // -jyc Always, -jyc0 Never
  bool resumeAfterBrokenHeader = false;  // -jc1 (-jc0: stop there)
  bool keepNewer = false;                // -c1 (-c0: no time comparison)
  int archiveFormat = -1;                // -o0, -o1, -o2: accepted, no effect
};

struct ParsedCommand {
  CommandKind kind = CommandKind::List;
  std::string archive;  // absolute drive-letter path
  std::vector<TargetGroup> groups;
  CommandSwitches switches;

  bool NamesNothing() const { return groups.empty(); }
};

enum class CommandLineError {
  None,
  Empty,               // no command at all
  UnknownCommand,      // offending: the first token
  UnclosedQuote,       // offending: the token it starts in
  UnknownSwitch,       // offending: the switch
  EmptyPattern,        // -jx without a pattern
  NoArchive,           // no path after the command
  ArchiveNotAbsolute,  // offending: the archive path
  ArchiveIsFolder,     // the archive path is a base folder
  RelativeBaseFolder,  // offending: the base folder
  NameWithoutBase,     // offending: the name (a and e only)
  BadName,             // offending: an absolute name, or one with "." or ".." parts
};

struct CommandLineParse {
  ParsedCommand command;
  CommandLineError error = CommandLineError::None;
  std::string offending;  // CP932, the token the error is about
  bool Ok() const { return error == CommandLineError::None; }
};

// Tokens as written: a path without its quotes, a switch with its '-' and
// quotes (the -jx pattern takes its quotes off itself).
struct CommandToken {
  std::string text;
  bool isSwitch = false;  // starts with an unquoted '-'
  bool quoted = false;    // held a quoted part
};

// False on a quote that is never closed (`unclosed` receives that token).
bool SplitCommandTokens(std::string_view line, std::vector<CommandToken>& tokens,
                        std::string& unclosed);

CommandLineParse ParseCommandLine(std::string_view line);

// True for a path that ends in a backslash (not a trail byte) or is a bare "X:".
bool IsBaseFolder(std::string_view path);

}  // namespace pelko::lzh
