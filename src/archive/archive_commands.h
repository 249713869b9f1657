// The five command lines the tool gives the archive library, built from the
// floppy's association list: path pairs for Add, target pairs for Extract to
// origin, name lists for Delete, and the two destination forms.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/association_list.h"

namespace pelko::archive {

// An entry cut after its last backslash with quote, blank, quote put in the
// cut: inside the Add command's quotes the base folder and the entry name
// become two quoted arguments ("C:\data\" "memo.txt").
std::string PathPair(std::string_view entry);

// For each entry: quote, path pair, quote, blank.
std::string TargetPairs(const store::AssociationList& entries);

// For each entry: blank, quote, entry name, quote.
std::string NameList(const store::AssociationList& entries);

// a "<working copy>" "<path pair>"<exclusion switches> -r2 -x1 -a2
std::string AddCommand(std::string_view workingCopy, std::string_view entry,
                       std::string_view exclusionSwitches);

// e "<working copy>"<extract switches> -d <target pairs>
std::string ExtractToOriginCommand(std::string_view workingCopy, std::string_view extractSwitches,
                                   std::string_view targetPairs);

// d "<working copy>"<extract switches> -d -y <name list>
std::string DeleteCommand(std::string_view workingCopy, std::string_view extractSwitches,
                          std::string_view nameList);

// e "<working copy>"<extract switches> -d -y "<destination folder>"
// The folder stands between quotes: unquoted, a folder with a blank would be
// split into two arguments.
std::string ExtractToDestinationCommand(std::string_view workingCopy,
                                        std::string_view extractSwitches,
                                        std::string_view destinationFolder);

// e "<working copy>"<extract switches> -d -y "<target folder>\"
std::string ExtractAndAssociateCommand(std::string_view workingCopy,
                                       std::string_view extractSwitches,
                                       std::string_view targetFolder);

// The destination folder as the destination forms use it, with a trailing
// backslash, added when missing (a trail byte 0x5C does not count as one).
// One pair of surrounding quotes is taken off: typing them was once the only
// way to give a folder with a blank. nullopt when nothing is left (not set)
// or a quote remains, which no folder name holds and which would end the
// command's quoted argument early.
std::optional<std::string> UsableDestinationFolder(std::string_view destinationFolder);

}  // namespace pelko::archive
