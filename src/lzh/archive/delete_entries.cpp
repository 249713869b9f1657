#include "lzh/archive/delete_entries.h"

#include <memory>

#include "lzh/archive/archive_reader.h"
#include "lzh/archive/archive_writer.h"
#include "lzh/archive/exclusion_pattern.h"
#include "lzh/archive/path_names.h"
#include "platform/file_stream.h"
#include "text/wildcard.h"

namespace pelko::lzh {
namespace {

std::vector<std::string> Components(std::string_view path) {
  std::vector<std::string> parts = SplitStoredPath(path);
  while (!parts.empty() && parts.back().empty()) parts.pop_back();  // "dir\" names dir
  return parts;
}

}  // namespace

bool NameSelectsEntry(std::string_view name, std::string_view storedPath) {
  const std::vector<std::string> want = Components(name);
  const std::vector<std::string> have = Components(storedPath);
  if (want.empty() || want.size() > have.size()) return false;
  for (std::size_t i = 0; i < want.size(); ++i) {
    if (!cp932::WildcardMatches(want[i], have[i])) return false;
  }
  return true;
}

DeleteReport DeleteFromArchive(std::string_view archivePath, const std::vector<std::string>& names,
                               NameRule selects) {
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

  // First pass: decide, and make sure the archive reads to its end.
  std::vector<bool> nameUsed(names.size(), false);
  std::vector<bool> goes;
  {
    ArchiveReader reader(*old);
    Entry entry;
    ReadStep step;
    while ((step = reader.Next(entry)) == ReadStep::Entry) {
      bool selected = false;
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (selects(names[i], entry.header.path)) {
          selected = true;
          nameUsed[i] = true;
        }
      }
      goes.push_back(selected);
      if (selected) report.deleted.push_back(NormaliseSeparators(entry.header.path));
    }
    if (step == ReadStep::Error) return fail(reader.Error());
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!nameUsed[i]) report.unmatched.push_back(names[i]);
  }
  if (report.deleted.empty()) return report;

  // Second pass: everything that stays, unchanged, into the new archive.
  ArchiveWriter writer{std::string(archivePath)};
  if (!writer.Begin()) return fail(LzhError::None);
  {
    ArchiveReader reader(*old);
    Entry entry;
    for (bool gone : goes) {
      if (reader.Next(entry) != ReadStep::Entry) return fail(LzhError::BadHeader);
      if (!gone && !writer.CopyEntry(reader, entry)) return fail(LzhError::None);
    }
  }
  old->Close();
  old.reset();
  if (!writer.Commit()) return fail(LzhError::None);
  return report;
}

}  // namespace pelko::lzh
