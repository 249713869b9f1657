#include "lzh/archive/extractor.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "lzh/archive/archive_reader.h"
#include "lzh/archive/file_bytes.h"
#include "lzh/archive/path_names.h"
#include "lzh/codec/byte_sink.h"
#include "platform/file_services.h"
#include "platform/user_interface.h"
#include "platform/windows_path.h"
#include "res/texts_lzh.h"
#include "text/code_page.h"

namespace pelko::lzh {
namespace {

constexpr std::uint16_t kUnixTypeMask = 0170000;
constexpr std::uint16_t kUnixSymlink = 0120000;
constexpr int kTemporaryNameTries = 1000;
constexpr char kTemporarySuffix[] = ".pelko";

bool EndsWithBackslash(std::string_view path) {
  return !path.empty() && cp932::FindLastBackslash(path) == path.size() - 1;
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!EndsWithBackslash(path)) path += '\\';
  path += name;
  return path;
}

// A question text with the (escaped) name in place of %s.
std::string Question(std::string_view utf8Template, std::string_view cp932Name) {
  std::string text = cp932::FromUtf8Literal(utf8Template);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, EscapeForDisplay(cp932Name));
  return text;
}

bool IsOk(EntryOutcome outcome) {
  return outcome == EntryOutcome::Extracted || outcome == EntryOutcome::FolderCreated ||
         outcome == EntryOutcome::KeptExisting || outcome == EntryOutcome::KeptNewer;
}

class Extraction {
 public:
  Extraction(win::FileStream& archive, const ExtractOptions& options, ExtractReport& report)
      : reader_(archive),
        options_(options),
        report_(report),
        matched_(options.selection.size(), false) {}

  void Run() {
    if (!options_.testOnly && !PrepareTarget()) return;
    win::LongWork work;
    Entry entry;
    while (!report_.cancelled) {
      const ReadStep step = reader_.Next(entry);
      if (step == ReadStep::End) break;
      if (step == ReadStep::Error) {
        report_.brokenHeaders.push_back({reader_.ErrorOffset(), reader_.Error()});
        if (options_.resumeAfterBrokenHeader && reader_.Resume()) continue;
        break;
      }
      if (!Selected(entry.header.path)) continue;
      work.Report(EscapeForDisplay(entry.header.path), entry.headerOffset, reader_.ArchiveSize());
      if (auto result = Handle(entry)) report_.entries.push_back(std::move(*result));
    }
    // A folder's time is set last: writing its files would change it again.
    for (const auto& [folder, time] : folderTimes_) win::SetFileLastWriteTime(folder, time);
    for (std::size_t i = 0; i < matched_.size(); ++i) {
      if (!matched_[i]) report_.unmatched.push_back(options_.selection[i]);
    }
  }

 private:
  bool Selected(std::string_view path) {
    if (options_.selection.empty()) return true;
    bool any = false;
    for (std::size_t i = 0; i < options_.selection.size(); ++i) {
      if (SelectionMatches(options_.selection[i], path)) matched_[i] = any = true;
    }
    return any;
  }

  // The target folder exists, or is made as the policy says.
  bool PrepareTarget() {
    win::FileInformation info;
    if (win::GetFileInformation(options_.targetFolder, info)) {
      if (info.kind == win::EntryKind::Directory) return true;
      report_.openError = win::ERROR_DIRECTORY;
      return false;
    }
    if (options_.createFolder == Policy::Never) {
      report_.openError = win::ERROR_PATH_NOT_FOUND;
      return false;
    }
    if (options_.createFolder == Policy::Ask) {
      const auto answer =
          win::MessageBox(Question(res::kLzhCreateFolderQuestion, options_.targetFolder),
                          win::MessageBoxButtons::YesNoCancel, win::MessageBoxIcon::Question);
      if (answer == win::DialogResult::Cancel) report_.cancelled = true;
      if (answer != win::DialogResult::Yes) {
        report_.openError =
            answer == win::DialogResult::Cancel ? win::ERROR_CANCELLED : win::ERROR_PATH_NOT_FOUND;
        return false;
      }
    }
    const auto parsed = win::ParseWindowsPath(options_.targetFolder);
    if (!parsed) {
      report_.openError = win::GetLastError();
      return false;
    }
    win::WindowsPath prefix{parsed->drive, {}};
    for (const std::string& part : parsed->components) {
      prefix.components.push_back(part);
      const std::string path = win::FormatWindowsPath(prefix);
      if (win::GetFileInformation(path, info) && info.kind == win::EntryKind::Directory) continue;
      if (!win::CreateDirectory(path)) {
        report_.openError = win::GetLastError();
        return false;
      }
    }
    return true;
  }

  std::optional<EntryReport> Handle(const Entry& entry) {
    const Header& h = entry.header;
    EntryReport r;
    r.path = h.path;
    r.originalSize = h.originalSize;
    // Unix archives keep a link as "name|target" with a link's mode bits.
    if (h.unixMode && (*h.unixMode & kUnixTypeMask) == kUnixSymlink) {
      r.outcome = EntryOutcome::RefusedLink;
      return r;
    }
    const CheckedPath checked = CheckEntryPath(h.path);
    if (checked.verdict != PathVerdict::Safe) {
      r.outcome = EntryOutcome::RefusedUnsafeName;
      r.pathVerdict = checked.verdict;
      return r;
    }
    std::vector<std::string> parts = checked.components;
    if (!options_.keepPaths) {
      if (h.IsDirectory()) return std::nullopt;  // nothing to make without paths
      parts = {parts.back()};
    }
    r.target = options_.targetFolder;
    for (const auto& part : parts) r.target = Join(r.target, part);
    if (options_.testOnly) return Test(entry, std::move(r));
    if (h.IsDirectory()) return MakeFolder(h, parts, std::move(r));
    return WriteFile(entry, parts, std::move(r));
  }

  EntryReport Test(const Entry& entry, EntryReport r) {
    NullSink sink;
    r.error = reader_.Extract(entry, sink);
    r.outcome =
        r.error == LzhError::None
            ? (entry.header.IsDirectory() ? EntryOutcome::FolderCreated : EntryOutcome::Extracted)
            : EntryOutcome::DecodeFailed;
    return r;
  }

  // Makes folders parts[0 .. count) below the target; an existing link or
  // file in the way is refused, never followed or replaced.
  bool MakeFolders(const std::vector<std::string>& parts, std::size_t count, EntryReport& r) {
    std::string path = options_.targetFolder;
    for (std::size_t i = 0; i < count; ++i) {
      path = Join(path, parts[i]);
      win::FileInformation info;
      if (win::GetFileInformation(path, info)) {
        if (info.isSymlink) {
          r.outcome = EntryOutcome::RefusedLink;
          return false;
        }
        if (info.kind == win::EntryKind::Directory) continue;
        r.outcome = EntryOutcome::WriteFailed;
        r.win32 = win::ERROR_ALREADY_EXISTS;
        return false;
      }
      if (!win::CreateDirectory(path)) {
        r.outcome = EntryOutcome::WriteFailed;
        r.win32 = win::GetLastError();
        return false;
      }
    }
    return true;
  }

  EntryReport MakeFolder(const Header& h, const std::vector<std::string>& parts, EntryReport r) {
    if (!MakeFolders(parts, parts.size(), r)) return r;
    folderTimes_.emplace_back(r.target, h.unixTime);
    r.outcome = EntryOutcome::FolderCreated;
    return r;
  }

  EntryReport WriteFile(const Entry& entry, const std::vector<std::string>& parts, EntryReport r) {
    const Header& h = entry.header;
    if (!MakeFolders(parts, parts.size() - 1, r)) return r;
    win::FileInformation existing;
    const bool exists = win::GetFileInformation(r.target, existing);
    if (exists) {
      if (existing.isSymlink) {
        r.outcome = EntryOutcome::RefusedLink;
        return r;
      }
      if (existing.kind != win::EntryKind::File) {
        r.outcome = EntryOutcome::WriteFailed;
        r.win32 = win::ERROR_ALREADY_EXISTS;
        return r;
      }
      if (options_.keepNewer && existing.lastWriteTime > h.unixTime) {
        r.outcome = EntryOutcome::KeptNewer;
        return r;
      }
      if (!MayOverwrite(r)) {
        r.outcome = EntryOutcome::KeptExisting;
        return r;
      }
    }
    const std::string folder = r.target.substr(0, r.target.size() - parts.back().size());
    std::string temporary;
    if (!DecodeBeside(entry, folder, parts.back(), temporary, r)) return r;
    if (!PutInPlace(temporary, exists, r)) return r;
    win::SetFileLastWriteTime(r.target, h.unixTime);
    r.outcome = EntryOutcome::Extracted;
    return r;
  }

  bool MayOverwrite(const EntryReport& r) {
    switch (options_.overwrite) {
      case Policy::Always:
        return true;
      case Policy::Never:
        return false;
      case Policy::Ask:
        break;
    }
    const auto answer =
        win::MessageBox(Question(res::kLzhOverwriteQuestion, r.path),
                        win::MessageBoxButtons::YesNoCancel, win::MessageBoxIcon::Question);
    if (answer == win::DialogResult::Cancel) report_.cancelled = true;
    return answer == win::DialogResult::Yes;
  }

  // The temporary file beside the target is named after it ("~memo.txt.pelko"),
  // so that an interrupted run leaves at most one per file, recognisably the
  // tool's, and the next extraction of that file takes it over. A name the
  // folder cannot hold falls back to a numbered one.
  std::unique_ptr<win::FileStream> CreateTemporary(const std::string& folder,
                                                   const std::string& targetName,
                                                   std::string& name) {
    name = folder + "~" + targetName + kTemporarySuffix;
    win::FileInformation left;
    if (win::GetFileInformation(name, left) && left.kind == win::EntryKind::File &&
        !left.isSymlink) {
      win::DeleteFile(name);
    }
    if (auto file = win::OpenFile(name, win::OpenMode::CreateNew)) return file;
    for (int i = 0; i < kTemporaryNameTries; ++i) {
      name = folder + "~pelko" + std::to_string(++temporaryCounter_) + ".tmp";
      auto file = win::OpenFile(name, win::OpenMode::CreateNew);
      if (file || win::GetLastError() != win::ERROR_FILE_EXISTS) return file;
    }
    return nullptr;
  }

  bool DecodeBeside(const Entry& entry, const std::string& folder, const std::string& targetName,
                    std::string& temporary, EntryReport& r) {
    auto file = CreateTemporary(folder, targetName, temporary);
    if (!file) {
      r.outcome = EntryOutcome::WriteFailed;
      r.win32 = win::GetLastError();
      return false;
    }
    FileSink sink(*file);
    r.error = reader_.Extract(entry, sink);
    const win::DWORD writeError =
        r.error == LzhError::WriteFailed ? win::GetLastError() : win::ERROR_SUCCESS;
    const bool closed = file->Close();
    const win::DWORD closeError = closed ? win::ERROR_SUCCESS : win::GetLastError();
    file.reset();
    if (r.error == LzhError::None && closed) return true;
    win::DeleteFile(temporary);
    if (r.error == LzhError::WriteFailed || (r.error == LzhError::None && !closed)) {
      r.outcome = EntryOutcome::WriteFailed;
      r.win32 = r.error == LzhError::WriteFailed ? writeError : closeError;
    } else {
      r.outcome = EntryOutcome::DecodeFailed;
      r.win32 = ToWin32(r.error);
    }
    return false;
  }

  // The checked file takes the target's name in one rename, over the old
  // file if there is one: at every moment the name holds the old content or
  // the new.
  bool PutInPlace(const std::string& temporary, bool exists, EntryReport& r) {
    const bool moved = exists ? win::MoveFileEx(temporary, r.target, win::MOVEFILE_REPLACE_EXISTING)
                              : win::MoveFile(temporary, r.target);
    if (moved) return true;
    r.outcome = EntryOutcome::WriteFailed;
    r.win32 = win::GetLastError();
    win::DeleteFile(temporary);
    return false;
  }

  ArchiveReader reader_;
  const ExtractOptions& options_;
  ExtractReport& report_;
  std::vector<bool> matched_;
  std::vector<std::pair<std::string, std::int64_t>> folderTimes_;
  unsigned temporaryCounter_ = 0;
};

}  // namespace

bool ExtractReport::Succeeded() const {
  if (openError != win::ERROR_SUCCESS || cancelled || !brokenHeaders.empty() || !unmatched.empty())
    return false;
  return std::all_of(entries.begin(), entries.end(),
                     [](const EntryReport& e) { return IsOk(e.outcome); });
}

bool SelectionMatches(std::string_view selected, std::string_view storedPath) {
  std::vector<std::string> want = SplitStoredPath(selected);
  while (want.size() > 1 && want.back().empty()) want.pop_back();  // "dir\" selects dir
  const std::vector<std::string> have = SplitStoredPath(storedPath);
  if (want.size() > have.size()) return false;
  for (std::size_t i = 0; i < want.size(); ++i) {
    if (!cp932::EqualIgnoringCase(want[i], have[i])) return false;
  }
  return true;
}

ExtractReport ExtractArchive(win::FileStream& archive, const ExtractOptions& options) {
  ExtractReport report;
  Extraction(archive, options, report).Run();
  return report;
}

ExtractReport ExtractArchive(std::string_view archivePath, const ExtractOptions& options) {
  auto file = win::OpenFile(archivePath, win::OpenMode::Read);
  if (!file) {
    ExtractReport report;
    report.openError = win::GetLastError();
    return report;
  }
  return ExtractArchive(*file, options);
}

}  // namespace pelko::lzh
