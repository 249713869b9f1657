#include "lzh/archive/started_archives.h"

namespace pelko::lzh {
namespace {

bool Unchanged(const win::FileInformation& a, const win::FileInformation& b) {
  return a.kind == win::EntryKind::File && a.kind == b.kind && a.size == b.size &&
         a.lastWriteTime == b.lastWriteTime && a.volumeSerial == b.volumeSerial &&
         a.fileIndex == b.fileIndex;
}

}  // namespace

std::optional<std::uint64_t> StartedArchives::EndOf(const std::string& archivePath,
                                                    const std::vector<std::string>& nameKeys) {
  const auto found = records_.find(archivePath);
  if (found == records_.end()) return std::nullopt;
  win::FileInformation now;
  bool usable = win::GetFileInformation(archivePath, now) && Unchanged(now, found->second.file);
  for (const std::string& key : nameKeys) {
    if (!usable) break;
    usable = found->second.names.count(key) == 0;
  }
  if (!usable) {
    records_.erase(found);
    return std::nullopt;
  }
  return found->second.end;
}

void StartedArchives::Remember(const std::string& archivePath, bool started,
                               std::set<std::string> addedKeys, std::uint64_t end) {
  win::FileInformation now;
  const auto found = records_.find(archivePath);
  if (!win::GetFileInformation(archivePath, now) || (!started && found == records_.end())) {
    if (found != records_.end()) records_.erase(found);
    return;
  }
  Record& record = records_[archivePath];
  if (started) record.names.clear();
  record.names.merge(addedKeys);
  record.end = end;
  record.file = now;
}

void StartedArchives::Forget(const std::string& archivePath) { records_.erase(archivePath); }

}  // namespace pelko::lzh
