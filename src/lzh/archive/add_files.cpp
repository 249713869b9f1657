#include "lzh/archive/add_files.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

#include "lzh/archive/archive_reader.h"
#include "lzh/archive/header_writer.h"
#include "lzh/archive/parallel_packer.h"
#include "lzh/archive/path_names.h"
#include "platform/file_services.h"
#include "platform/file_stream.h"
#include "platform/user_interface.h"
#include "platform/windows_path.h"
#include "res/texts_lzh_add.h"
#include "text/code_page.h"
#include "text/cp932_path.h"
#include "text/wildcard.h"

namespace pelko::lzh {
namespace {

constexpr std::size_t kWarningLines = 40;

std::string WithBackslash(std::string_view folder) {
  return cp932::Path(folder).WithTrailingBackslash().Text();
}

std::string LastComponent(std::string_view name) {
  return std::string(cp932::Path(name).LastComponent());
}

// The key two names share when they name the same entry.
std::string NameKey(std::string_view storedName) { return cp932::UpperCase(storedName); }

std::string NormalisedPath(std::string_view windowsPath) {
  auto parsed = win::ParseWindowsPath(windowsPath);
  return parsed ? NameKey(win::FormatWindowsPath(*parsed)) : NameKey(windowsPath);
}

class AddCollector {
 public:
  AddCollector(const AddRequest& request, AddPlan& plan)
      : options_(request.options),
        base_(WithBackslash(request.baseFolder)),
        archiveKey_(NormalisedPath(request.archivePath)),
        plan_(plan) {
    win::FileInformation info;
    if (win::GetFileInformation(base_, info) && info.kind == win::EntryKind::Directory) Enter(info);
  }

  void CollectNamed(const std::string& name) {
    // "..", ".", a drive letter or a leading backslash would put a name in
    // the archive that points outside the base folder.
    const cp932::Path path = cp932::Path(name).WithoutTrailingBackslashes();
    if (path.ReachesOutside()) {
      win::SetLastError(win::ERROR_INVALID_NAME);
      LeaveOut(base_ + name, LeftOutReason::NotFound);
      return;
    }
    const std::string& relative = path.Text();
    if (relative.empty() || cp932::HoldsWildcard(path.LastComponent())) {
      CollectMatching(path);
      return;
    }
    AddParents(relative);
    win::FileInformation info;
    if (!win::GetFileInformation(base_ + relative, info)) {
      LeaveOut(base_ + relative, win::GetLastError() == win::ERROR_FILE_NOT_FOUND ||
                                         win::GetLastError() == win::ERROR_PATH_NOT_FOUND
                                     ? LeftOutReason::NotFound
                                     : LeftOutReason::Unreadable);
      return;
    }
    Visit(relative, info);
  }

 private:
  // "dir\*.txt" or "" (everything in the base folder).
  void CollectMatching(const cp932::Path& relative) {
    const cp932::Path folder = relative.Parent();
    const std::string_view pattern = relative.Empty() ? "*" : relative.LastComponent();
    if (!folder.Empty()) AddParents(relative.Text());
    std::vector<win::FindData> children;
    if (!List(folder.Text(), children)) return;
    bool any = false;
    for (const win::FindData& child : children) {
      if (!cp932::WildcardMatches(pattern, child.name)) continue;
      any = true;
      Visit(folder.Child(child.name).Text(), child.info);
    }
    if (!any && !relative.Empty()) LeaveOut(base_ + relative.Text(), LeftOutReason::NotFound);
  }

  // Folder entries for the folders between the base and a named item, so
  // that parents come before what they hold.
  void AddParents(const std::string& relative) {
    if (!options_.recurse || !options_.keepPaths) return;
    for (const cp932::Path& parent : cp932::Path(relative).Ancestors()) {
      win::FileInformation info;
      if (win::GetFileInformation(base_ + parent.Text(), info) &&
          info.kind == win::EntryKind::Directory) {
        AddEntry(parent.Text(), info, true);
      }
    }
  }

  bool List(const std::string& relativeFolder, std::vector<win::FindData>& children) {
    const std::string full = relativeFolder.empty() ? base_ : base_ + relativeFolder;
    std::size_t leftOut = 0;
    if (!win::ListFolder(full, children, leftOut)) {
      LeaveOut(full, LeftOutReason::Unreadable);
      return false;
    }
    if (leftOut > 0) {
      plan_.leftOut.push_back(
          {WithBackslash(full), LeftOutReason::NoWindowsName, win::ERROR_SUCCESS, leftOut});
    }
    std::sort(children.begin(), children.end(),
              [](const win::FindData& a, const win::FindData& b) { return a.name < b.name; });
    return true;
  }

  void Visit(const std::string& relative, const win::FileInformation& info) {
    if (options_.exclusions.SelectsItself(relative)) return;
    const std::string last = LastComponent(relative);
    const bool hidden =
        (!last.empty() && last[0] == '.') ||
        (info.attributes & (win::FILE_ATTRIBUTE_HIDDEN | win::FILE_ATTRIBUTE_SYSTEM));
    if (hidden && !options_.includeHiddenSystem) return;
    const std::string full = base_ + relative;
    if (NormalisedPath(full) == archiveKey_) return;  // never the archive into itself
    if (info.isSymlink) return LeaveOut(full, LeftOutReason::Symlink);
    if (info.kind == win::EntryKind::Other) return LeaveOut(full, LeftOutReason::SpecialFile);
    if (info.kind == win::EntryKind::File) {
      if (info.size > kMaxEntrySize) return LeaveOut(full, LeftOutReason::TooLarge);
      AddEntry(relative, info, false);
      return;
    }
    if (info.isPseudoFileSystem) return LeaveOut(full, LeftOutReason::PseudoFileSystem);
    if (options_.recurse && !Enter(info)) {
      win::SetLastError(win::ERROR_CANT_RESOLVE_FILENAME);
      return LeaveOut(full, LeftOutReason::FolderLoop);
    }
    AddEntry(relative, info, true);
    if (!options_.recurse) return;
    std::vector<win::FindData> children;
    if (!List(relative, children)) return;
    for (const win::FindData& child : children) {
      Visit(cp932::Path(relative).Child(child.name).Text(), child.info);
    }
  }

  // False when the folder was entered before.
  bool Enter(const win::FileInformation& info) {
    return entered_.insert({info.volumeSerial, info.fileIndex}).second;
  }

  void AddEntry(const std::string& relative, const win::FileInformation& info, bool folder) {
    if (folder && !(options_.recurse && options_.keepPaths)) return;
    NewEntry entry;
    entry.storedName = options_.keepPaths ? relative : LastComponent(relative);
    if (!seen_.insert(NameKey(entry.storedName)).second) return;
    entry.sourcePath = base_ + relative;
    entry.isFolder = folder;
    entry.lastWriteTime = info.lastWriteTime;
    entry.attributes = info.attributes;
    entry.size = folder ? 0 : info.size;
    plan_.entries.push_back(std::move(entry));
  }

  void LeaveOut(const std::string& path, LeftOutReason reason) {
    plan_.leftOut.push_back({path, reason, win::GetLastError(), 1});
  }

  const AddOptions& options_;
  std::string base_;
  std::string archiveKey_;
  AddPlan& plan_;
  std::set<std::string> seen_;
  std::set<std::pair<std::uint64_t, std::uint64_t>> entered_;
};

LeftOutReason ReasonOf(WriteOutcome outcome) {
  switch (outcome) {
    case WriteOutcome::SourceChanged:
      return LeftOutReason::Changed;
    case WriteOutcome::TooLarge:
      return LeftOutReason::TooLarge;
    case WriteOutcome::NameTooLong:
      return LeftOutReason::NameTooLong;
    default:
      return LeftOutReason::Unreadable;
  }
}

// Writes the plan into the new archive: old entries in their order, each
// replaced in place by a new one of the same name, then the new ones left.
class AddRun {
 public:
  AddRun(const AddRequest& request, AddPlan& plan, AddReport& report, StartedArchives& started)
      : request_(request),
        plan_(plan),
        report_(report),
        started_(started),
        writer_(request.archivePath) {
    for (std::size_t i = 0; i < plan_.entries.size(); ++i) {
      byName_.emplace(NameKey(plan_.entries[i].storedName), i);
      if (!plan_.entries[i].isFolder) total_ += plan_.entries[i].size;
    }
    written_.assign(plan_.entries.size(), false);
  }

  void Run() {
    if (const auto end = started_.EndOf(request_.archivePath, PlannedNames())) {
      return Append(*end);
    }
    if (!writer_.Begin()) return Fail(LzhError::None);
    auto old = win::OpenFile(request_.archivePath, win::OpenMode::Read);
    const bool fresh = !old;
    if (old) {
      if (!CarryOver(*old)) return;
      old->Close();
    } else if (win::GetLastError() != win::ERROR_FILE_NOT_FOUND) {
      return Fail(LzhError::None);
    }
    if (fresh) StartPacker();
    if (!WriteRest()) return;
    if (!writer_.Commit()) return Fail(LzhError::None);
    if (fresh) started_.Remember(request_.archivePath, true, AddedNames(), writer_.End());
  }

 private:
  // An archive the caller's adds started takes the new entries at its end;
  // the cost of an add no longer grows with what the archive holds. After a
  // failed append the next add rebuilds it.
  void Append(std::uint64_t end) {
    if (!writer_.BeginAppend(end)) {
      Fail(LzhError::None);
    } else {
      StartPacker();
      if (WriteRest() && !writer_.Commit()) Fail(LzhError::None);
    }
    if (!report_.Succeeded()) return started_.Forget(request_.archivePath);
    started_.Remember(request_.archivePath, false, AddedNames(), writer_.End());
  }

  std::vector<std::string> PlannedNames() const {
    std::vector<std::string> keys;
    for (const auto& [key, index] : byName_) keys.push_back(key);
    return keys;
  }

  std::set<std::string> AddedNames() const {
    std::set<std::string> names;
    for (const AddedItem& item : report_.added) names.insert(NameKey(item.storedName));
    return names;
  }

  // Files are packed ahead on other threads when they are written in plan
  // order (a new archive, or one appended to); a rebuilt archive takes
  // replaced entries where the old ones stood, so it is packed here.
  void StartPacker() {
    unsigned threads = request_.options.threads ? request_.options.threads : AvailableCores();
    std::vector<const NewEntry*> files;
    packed_.assign(plan_.entries.size(), kNotPacked);
    for (std::size_t i = 0; i < plan_.entries.size(); ++i) {
      const NewEntry& entry = plan_.entries[i];
      if (written_[i] || entry.isFolder || entry.size < kPackedHere) continue;
      packed_[i] = files.size();
      files.push_back(&plan_.entries[i]);
    }
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, files.size()));
    if (threads < 2) return packed_.assign(plan_.entries.size(), kNotPacked);
    packer_ = std::make_unique<ParallelPacker>(std::move(files), request_.options.method, threads);
  }

  bool WriteRest() {
    for (std::size_t i = 0; i < plan_.entries.size(); ++i) {
      if (!written_[i] && !Write(i, false)) return false;
    }
    return true;
  }

  bool CarryOver(win::FileStream& old) {
    ArchiveReader reader(old);
    Entry entry;
    for (;;) {
      const ReadStep step = reader.Next(entry);
      if (step == ReadStep::End) return true;
      if (step == ReadStep::Error) {
        Fail(reader.Error());
        return false;
      }
      auto found = byName_.find(NameKey(NormaliseSeparators(entry.header.path)));
      if (found == byName_.end()) {
        if (!writer_.CopyEntry(reader, entry)) {
          Fail(LzhError::None);
          return false;
        }
        continue;
      }
      // A second old entry of a name already replaced is dropped.
      if (written_[found->second]) continue;
      if (!Write(found->second, true)) return false;
    }
  }

  bool Write(std::size_t index, bool replacing) {
    written_[index] = true;
    const NewEntry& entry = plan_.entries[index];
    WriteResult result;
    if (entry.isFolder) {
      result = writer_.WriteFolder(entry);
    } else {
      const std::uint64_t before = done_;
      const auto progress = [&](std::uint64_t read) {
        work_.Report(entry.storedName, before + read, std::max(total_, before + read));
      };
      const std::size_t file = index < packed_.size() ? packed_[index] : kNotPacked;
      if (packer_ && file != kNotPacked) {
        result =
            writer_.WritePacked(entry, request_.options.method, packer_->StreamOf(file), progress);
        packer_->Release(file);
      } else {
        result = writer_.WriteFile(entry, request_.options.method, progress);
      }
      done_ = before + entry.size;
    }
    if (result.outcome == WriteOutcome::ArchiveFailed) {
      win::SetLastError(result.win32);
      Fail(LzhError::None);
      return false;
    }
    if (result.outcome != WriteOutcome::Written) {
      report_.leftOut.push_back({entry.sourcePath, ReasonOf(result.outcome), result.win32, 1});
      return true;
    }
    report_.added.push_back(
        {entry.storedName, result.method, result.originalSize, result.packedSize, replacing});
    return true;
  }

  void Fail(LzhError error) {
    report_.archiveError = error;
    report_.win32 = error == LzhError::None ? win::GetLastError() : ToWin32(error);
    if (report_.win32 == win::ERROR_SUCCESS) report_.win32 = win::ERROR_GEN_FAILURE;
  }

  const AddRequest& request_;
  AddPlan& plan_;
  AddReport& report_;
  StartedArchives& started_;
  ArchiveWriter writer_;
  win::LongWork work_;
  std::multimap<std::string, std::size_t> byName_;
  std::vector<bool> written_;
  std::uint64_t total_ = 0;
  std::uint64_t done_ = 0;
  static constexpr std::size_t kNotPacked = static_cast<std::size_t>(-1);
  // Files this small cost more to hand to another thread than to pack.
  static constexpr std::uint64_t kPackedHere = 4096;
  std::vector<std::size_t> packed_;  // plan index to the packer's file number
  std::unique_ptr<ParallelPacker> packer_;
};

std::string_view ReasonText(LeftOutReason reason) {
  switch (reason) {
    case LeftOutReason::Symlink:
      return res::kLzhReasonSymlink;
    case LeftOutReason::SpecialFile:
      return res::kLzhReasonSpecialFile;
    case LeftOutReason::PseudoFileSystem:
      return res::kLzhReasonPseudoFileSystem;
    case LeftOutReason::Unreadable:
      return res::kLzhReasonUnreadable;
    case LeftOutReason::NoWindowsName:
      return res::kLzhReasonNoWindowsName;
    case LeftOutReason::TooLarge:
      return res::kLzhReasonTooLarge;
    case LeftOutReason::Changed:
      return res::kLzhReasonChanged;
    case LeftOutReason::NameTooLong:
      return res::kLzhReasonNameTooLong;
    case LeftOutReason::NotFound:
      return res::kLzhReasonNotFound;
    case LeftOutReason::FolderLoop:
      return res::kLzhReasonFolderLoop;
  }
  return res::kLzhReasonUnreadable;
}

std::string Format(std::string_view format, std::string_view a, std::string_view b = {}) {
  std::string out;
  std::size_t used = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
      out += used++ == 0 ? a : b;
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

std::string FormatCount(std::string_view format, std::size_t count) {
  std::string out(format);
  const std::size_t at = out.find("%u");
  if (at != std::string::npos) out.replace(at, 2, std::to_string(count));
  return out;
}

}  // namespace

AddPlan PlanAdd(const AddRequest& request) {
  AddPlan plan;
  AddCollector collector(request, plan);
  if (request.names.empty()) collector.CollectNamed("");
  for (const std::string& name : request.names) collector.CollectNamed(name);
  return plan;
}

AddReport AddToArchive(const AddRequest& request, StartedArchives& started) {
  AddPlan plan = PlanAdd(request);
  AddReport report;
  report.leftOut = plan.leftOut;
  if (!plan.entries.empty()) {
    AddRun run(request, plan, report, started);
    run.Run();
  }
  return report;
}

AddReport AddToArchive(const AddRequest& request) {
  StartedArchives ownRecord;
  return AddToArchive(request, ownRecord);
}

std::string LeftOutWarningText(const std::vector<LeftOutItem>& leftOut) {
  std::string text = cp932::FromUtf8Literal(res::kLzhLeftOutHeading);
  const std::size_t shown = std::min(leftOut.size(), kWarningLines);
  for (std::size_t i = 0; i < shown; ++i) {
    const LeftOutItem& item = leftOut[i];
    std::string reason = cp932::FromUtf8Literal(ReasonText(item.reason));
    if (item.reason == LeftOutReason::NoWindowsName) reason = FormatCount(reason, item.count);
    text += '\n';
    text +=
        Format(cp932::FromUtf8Literal(res::kLzhLeftOutLine), EscapeForDisplay(item.path), reason);
  }
  if (leftOut.size() > shown) {
    text += '\n';
    text += FormatCount(cp932::FromUtf8Literal(res::kLzhLeftOutMore), leftOut.size() - shown);
  }
  return text;
}

void ShowLeftOutWarning(const std::vector<LeftOutItem>& leftOut) {
  if (leftOut.empty()) return;
  win::MessageBox(LeftOutWarningText(leftOut), win::MessageBoxButtons::Ok,
                  win::MessageBoxIcon::Warning);
}

}  // namespace pelko::lzh
