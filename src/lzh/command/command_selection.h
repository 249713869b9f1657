// What the names of a command select. With -d a name selects its entry and
// everything stored below it; without, only the entry of exactly that name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lzh/archive/extractor.h"
#include "lzh/command/command_line.h"
#include "platform/file_stream.h"

namespace pelko::lzh {

// The names of a command that has no use for base folders (d, l, t); empty
// when a base folder without names asks for everything.
std::vector<std::string> NamesOfCommand(const ParsedCommand& command);

// Same components, ASCII letters and full-width letters compared without case.
bool NamesExactly(std::string_view name, std::string_view storedPath);

bool NameSelects(std::string_view name, std::string_view storedPath, bool withEverythingBelow);

// The entries named exactly, copied as stored into a small archive of their
// own, so that extraction sees nothing else. Broken headers met on the way
// and names that matched nothing are noted as extraction notes them.
struct ExactSelection {
  std::string archiveBytes;
  std::vector<BrokenHeader> brokenHeaders;
  std::vector<std::string> unmatched;
};
void SelectExactly(win::FileStream& archive, const std::vector<std::string>& names,
                   bool resumeAfterBrokenHeader, ExactSelection& selection);

}  // namespace pelko::lzh
