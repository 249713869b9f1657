// d: named entries out of the archive; with -d everything stored below them too.
#include <memory>

#include "lzh/archive_reader.h"
#include "lzh/archive_writer.h"
#include "lzh/command_runs.h"
#include "lzh/command_selection.h"
#include "lzh/delete_entries.h"
#include "lzh/path_names.h"
#include "platform/file_stream.h"
#include "res/texts_archiver.h"

namespace pelko::lzh {
namespace {

// Only entries of exactly the given names; the archive is rebuilt beside
// itself as the library's delete does, and left alone when nothing matches.
DeleteReport DeleteExactly(const std::string& archivePath, const std::vector<std::string>& names) {
  DeleteReport report;
  auto fail = [&](LzhError error) {
    report.archiveError = error;
    report.win32 = error == LzhError::None ? win::GetLastError() : ToWin32(error);
    if (report.win32 == win::ERROR_SUCCESS) report.win32 = win::ERROR_GEN_FAILURE;
    report.deleted.clear();
    return report;
  };
  auto old = win::OpenFile(archivePath, win::OpenMode::Read);
  if (!old) return fail(LzhError::None);
  std::vector<bool> used(names.size(), false);
  std::vector<bool> goes;
  {
    ArchiveReader reader(*old);
    Entry entry;
    ReadStep step;
    while ((step = reader.Next(entry)) == ReadStep::Entry) {
      bool selected = false;
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (NamesExactly(names[i], entry.header.path)) used[i] = selected = true;
      }
      goes.push_back(selected);
      if (selected) report.deleted.push_back(NormaliseSeparators(entry.header.path));
    }
    if (step == ReadStep::Error) return fail(reader.Error());
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!used[i]) report.unmatched.push_back(names[i]);
  }
  if (report.deleted.empty()) return report;
  ArchiveWriter writer{archivePath};
  if (!writer.Begin()) return fail(LzhError::None);
  {
    ArchiveReader reader(*old);
    Entry entry;
    for (bool gone : goes) {
      if (reader.Next(entry) != ReadStep::Entry) return fail(LzhError::BadHeader);
      if (!gone && !writer.CopyEntry(reader, entry)) return fail(LzhError::None);
    }
  }
  old.reset();
  if (!writer.Commit()) return fail(LzhError::None);
  return report;
}

}  // namespace

void RunDeleteCommand(const ParsedCommand& command, CommandReport& report) {
  std::vector<std::string> names = NamesOfCommand(command);
  const bool everything = names.empty();  // a base folder with no names after it
  if (everything) names = {"*"};
  const DeleteReport result = command.switches.withEverythingBelow || everything
                                  ? DeleteFromArchive(command.archive, names)
                                  : DeleteExactly(command.archive, names);
  for (const std::string& name : result.deleted) {
    report.Add(ReportLine::Done, res::kArchiverDeleted, {EscapeForDisplay(name)});
  }
  if (!everything) {
    for (const std::string& name : result.unmatched) {
      report.Add(ReportLine::Skipped, res::kArchiverSkippedNotInArchive, {EscapeForDisplay(name)});
    }
  }
  if (!result.Succeeded()) {
    report.Add(ReportLine::Error,
               result.archiveError != LzhError::None ? res::kArchiverArchiveDamaged : res::kArchiverCannotOpenArchive,
               {EscapeForDisplay(command.archive)});
  }
}

}  // namespace pelko::lzh
