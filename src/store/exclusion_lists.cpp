#include "store/exclusion_lists.h"

#include <algorithm>

#include "platform/program_folder.h"
#include "platform/win_error.h"
#include "store/record_bytes.h"

namespace pelko::store {
namespace {

// Whole entries from `offset` on; a trailing partial entry is not one.
std::vector<std::string> DecodeEntries(std::string_view bytes, std::size_t offset) {
  std::vector<std::string> entries;
  while (offset < bytes.size() && bytes.size() - offset >= kExclusionEntrySize) {
    entries.push_back(*TextFieldAt(bytes, offset, kExclusionEntrySize));
    offset += kExclusionEntrySize;
  }
  return entries;
}

void AppendEntries(std::string& bytes, const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) AppendTextField(bytes, entry, kExclusionEntrySize);
}

bool EntriesFit(const std::vector<std::string>& entries) {
  return std::all_of(entries.begin(), entries.end(), [](const std::string& entry) {
    return FitsTextField(entry, kExclusionEntrySize);
  });
}

}  // namespace

ExcludedFilesList DecodeExcludedFilesList(std::string_view bytes) {
  ExcludedFilesList list;
  list.excludeEnabled = Int32At(bytes, 0).value_or(list.excludeEnabled);
  list.entries = DecodeEntries(bytes, 4);
  return list;
}

ExcludedFoldersList DecodeExcludedFoldersList(std::string_view bytes) {
  ExcludedFoldersList list;
  list.searchDepth = ByteAt(bytes, 0).value_or(list.searchDepth);
  list.entries = DecodeEntries(bytes, 1);
  return list;
}

std::string EncodeExcludedFilesList(const ExcludedFilesList& list) {
  std::string bytes;
  AppendInt32(bytes, list.excludeEnabled);
  AppendEntries(bytes, list.entries);
  return bytes;
}

std::string EncodeExcludedFoldersList(const ExcludedFoldersList& list) {
  std::string bytes(1, static_cast<char>(list.searchDepth));
  AppendEntries(bytes, list.entries);
  return bytes;
}

std::optional<ExcludedFilesList> ReadExcludedFilesList() {
  std::string bytes;
  if (!ReadStoredFile(win::ProgramFolderPath(kExcludedFilesFileName), bytes)) {
    return std::nullopt;
  }
  return DecodeExcludedFilesList(bytes);
}

std::optional<ExcludedFoldersList> ReadExcludedFoldersList() {
  std::string bytes;
  if (!ReadStoredFile(win::ProgramFolderPath(kExcludedFoldersFileName), bytes)) {
    return std::nullopt;
  }
  return DecodeExcludedFoldersList(bytes);
}

bool WriteExcludedFilesList(const ExcludedFilesList& list) {
  if (!EntriesFit(list.entries)) return win::Fail(win::ERROR_INVALID_DATA);
  return WriteStoredFile(win::ProgramFolderPath(kExcludedFilesFileName),
                         EncodeExcludedFilesList(list));
}

bool WriteExcludedFoldersList(const ExcludedFoldersList& list) {
  if (!EntriesFit(list.entries)) return win::Fail(win::ERROR_INVALID_DATA);
  if (list.searchDepth < kMinSearchDepth || list.searchDepth > kMaxSearchDepth) {
    return win::Fail(win::ERROR_INVALID_PARAMETER);
  }
  return WriteStoredFile(win::ProgramFolderPath(kExcludedFoldersFileName),
                         EncodeExcludedFoldersList(list));
}

}  // namespace pelko::store
