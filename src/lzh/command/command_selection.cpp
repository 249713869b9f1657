#include "lzh/command/command_selection.h"

#include "lzh/archive/archive_reader.h"
#include "lzh/archive/path_names.h"
#include "lzh/codec/byte_sink.h"
#include "text/code_page.h"

namespace pelko::lzh {
namespace {

std::vector<std::string> Components(std::string_view path) {
  std::vector<std::string> parts = SplitStoredPath(path);
  while (parts.size() > 1 && parts.back().empty()) parts.pop_back();
  return parts;
}

}  // namespace

std::vector<std::string> NamesOfCommand(const ParsedCommand& command) {
  std::vector<std::string> names;
  for (const TargetGroup& group : command.groups) {
    if (group.names.empty()) return {};
    names.insert(names.end(), group.names.begin(), group.names.end());
  }
  return names;
}

bool NamesExactly(std::string_view name, std::string_view storedPath) {
  const std::vector<std::string> want = Components(name);
  const std::vector<std::string> have = Components(storedPath);
  if (want.size() != have.size()) return false;
  for (std::size_t i = 0; i < want.size(); ++i) {
    if (!cp932::EqualIgnoringCase(want[i], have[i])) return false;
  }
  return true;
}

bool NameSelects(std::string_view name, std::string_view storedPath, bool withEverythingBelow) {
  return withEverythingBelow ? SelectionMatches(name, storedPath) : NamesExactly(name, storedPath);
}

void SelectExactly(win::FileStream& archive, const std::vector<std::string>& names,
                   bool resumeAfterBrokenHeader, ExactSelection& selection) {
  std::vector<bool> matched(names.size(), false);
  StringSink copied;
  ArchiveReader reader(archive);
  Entry entry;
  for (;;) {
    const ReadStep step = reader.Next(entry);
    if (step == ReadStep::End) break;
    if (step == ReadStep::Error) {
      selection.brokenHeaders.push_back({reader.ErrorOffset(), reader.Error()});
      if (resumeAfterBrokenHeader && reader.Resume()) continue;
      break;
    }
    bool wanted = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (NamesExactly(names[i], entry.header.path)) matched[i] = wanted = true;
    }
    // A short copy is caught again when the small archive is read.
    if (wanted) reader.CopyRaw(entry, copied);
  }
  copied.bytes += '\0';  // the end mark of an archive
  selection.archiveBytes = std::move(copied.bytes);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!matched[i]) selection.unmatched.push_back(names[i]);
  }
}

}  // namespace pelko::lzh
