#include "lzh/archive/started_archives.h"

#include <map>
#include <mutex>

#include "platform/file_services.h"

namespace pelko::lzh {
namespace {

struct Record {
  std::set<std::string> names;  // name keys of every entry it holds
  std::uint64_t end = 0;
  win::FileInformation file;  // size, time and identity when last left
};

// Process-wide, as an archiver library's state is: the Add commands of one
// backup arrive as separate calls.
struct Registry {
  std::mutex lock;
  std::map<std::string, Record> records;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

bool Unchanged(const win::FileInformation& a, const win::FileInformation& b) {
  return a.kind == win::EntryKind::File && a.kind == b.kind && a.size == b.size &&
         a.lastWriteTime == b.lastWriteTime && a.volumeSerial == b.volumeSerial &&
         a.fileIndex == b.fileIndex;
}

}  // namespace

std::optional<std::uint64_t> StartedArchiveEnd(const std::string& archivePath,
                                               const std::vector<std::string>& nameKeys) {
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  const auto found = registry.records.find(archivePath);
  if (found == registry.records.end()) return std::nullopt;
  win::FileInformation now;
  bool usable = win::GetFileInformation(archivePath, now) && Unchanged(now, found->second.file);
  for (const std::string& key : nameKeys) {
    if (!usable) break;
    usable = found->second.names.count(key) == 0;
  }
  if (!usable) {
    registry.records.erase(found);
    return std::nullopt;
  }
  return found->second.end;
}

void RememberStartedArchive(const std::string& archivePath, bool started,
                            std::set<std::string> addedKeys, std::uint64_t end) {
  win::FileInformation now;
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  const auto found = registry.records.find(archivePath);
  if (!win::GetFileInformation(archivePath, now) || (!started && found == registry.records.end())) {
    if (found != registry.records.end()) registry.records.erase(found);
    return;
  }
  Record& record = registry.records[archivePath];
  if (started) record.names.clear();
  record.names.merge(addedKeys);
  record.end = end;
  record.file = now;
}

}  // namespace pelko::lzh
