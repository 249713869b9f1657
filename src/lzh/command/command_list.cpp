// l: one line per selected entry with its size, method and time.
#include <ctime>
#include <set>

#include "lzh/archive/archive_reader.h"
#include "lzh/archive/path_names.h"
#include "lzh/command/command_runs.h"
#include "lzh/command/command_selection.h"
#include "platform/file_stream.h"
#include "res/texts_archiver.h"

namespace pelko::lzh {
namespace {

std::string Stamp(std::int64_t unixTime) {
  const std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm tm{};
  char text[32] = "----------";
  if (localtime_r(&t, &tm) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return text;
}

}  // namespace

void RunListCommand(const ParsedCommand& command, CommandReport& report) {
  auto archive = win::OpenFile(command.archive, win::OpenMode::Read);
  if (!archive) {
    report.Add(ReportLine::Error, res::kArchiverCannotOpenArchive,
               {EscapeForDisplay(command.archive)});
    return;
  }
  const std::vector<std::string> names = NamesOfCommand(command);
  const bool below = command.switches.withEverythingBelow;
  std::vector<bool> matched(names.size(), false);
  ArchiveReader reader(*archive);
  Entry entry;
  for (;;) {
    const ReadStep step = reader.Next(entry);
    if (step == ReadStep::End) break;
    if (step == ReadStep::Error) {
      const bool resume = command.switches.resumeAfterBrokenHeader;
      report.Add(ReportLine::Error,
                 resume ? res::kArchiverBrokenHeaderSkipped : res::kArchiverBrokenHeaderStopped,
                 {std::to_string(reader.ErrorOffset())});
      if (resume && reader.Resume()) continue;
      break;
    }
    bool selected = names.empty();
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (NameSelects(names[i], entry.header.path, below)) matched[i] = selected = true;
    }
    if (!selected) continue;
    const Header& h = entry.header;
    report.Add(
        ReportLine::Done, res::kArchiverListed,
        {EscapeForDisplay(h.path), std::to_string(h.originalSize), h.Method(), Stamp(h.unixTime)});
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!matched[i])
      report.Add(ReportLine::Skipped, res::kArchiverSkippedNotInArchive,
                 {EscapeForDisplay(names[i])});
  }
}

}  // namespace pelko::lzh
