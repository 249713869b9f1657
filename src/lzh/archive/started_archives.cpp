#include "lzh/archive/started_archives.h"

#include <map>
#include <mutex>

#include "platform/file_services.h"

namespace pelko::lzh {
namespace {

struct Record {
  StartedArchive archive;
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

std::optional<StartedArchive> FindStartedArchive(const std::string& archivePath) {
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  const auto found = registry.records.find(archivePath);
  if (found == registry.records.end()) return std::nullopt;
  win::FileInformation now;
  if (!win::GetFileInformation(archivePath, now) || !Unchanged(now, found->second.file)) {
    registry.records.erase(found);
    return std::nullopt;
  }
  return found->second.archive;
}

void RememberStartedArchive(const std::string& archivePath, StartedArchive archive) {
  win::FileInformation now;
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  if (!win::GetFileInformation(archivePath, now)) {
    registry.records.erase(archivePath);
    return;
  }
  registry.records[archivePath] = Record{std::move(archive), now};
}

void ForgetStartedArchive(const std::string& archivePath) {
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  registry.records.erase(archivePath);
}

}  // namespace pelko::lzh
