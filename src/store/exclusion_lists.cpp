#include "store/exclusion_lists.h"

#include <algorithm>

#include "platform/program_folder.h"
#include "store/record_bytes.h"
#include "text/win_error.h"

namespace pelko::store {
namespace {

// The first field's size: the flag of the files list, the depth of the folders list.
constexpr std::size_t kFilesListHead = 4;
constexpr std::size_t kFoldersListHead = 1;

// Whole non-empty entries from `offset` on; a trailing partial entry is not one.
std::vector<std::string> DecodeEntries(std::string_view bytes, std::size_t offset) {
  std::vector<std::string> entries;
  for (std::size_t k = 0; k < kMaxExclusionEntries; ++k, offset += kExclusionEntrySize) {
    if (offset >= bytes.size() || bytes.size() - offset < kExclusionEntrySize) break;
    std::string entry = *TextFieldAt(bytes, offset, kExclusionEntrySize);
    if (!entry.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

std::optional<std::string> ReadList(const char* fileName, std::size_t headSize) {
  std::string bytes;
  if (!ReadStoredFile(win::ProgramFolderPath(fileName), bytes,
                      headSize + kMaxExclusionEntries * kExclusionEntrySize)) {
    return std::nullopt;
  }
  return bytes;
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
  list.entries = DecodeEntries(bytes, kFilesListHead);
  return list;
}

ExcludedFoldersList DecodeExcludedFoldersList(std::string_view bytes) {
  ExcludedFoldersList list;
  list.searchDepth = ByteAt(bytes, 0).value_or(list.searchDepth);
  list.entries = DecodeEntries(bytes, kFoldersListHead);
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
  std::optional<std::string> bytes = ReadList(kExcludedFilesFileName, kFilesListHead);
  if (!bytes) return std::nullopt;
  return DecodeExcludedFilesList(*bytes);
}

std::optional<ExcludedFoldersList> ReadExcludedFoldersList() {
  std::optional<std::string> bytes = ReadList(kExcludedFoldersFileName, kFoldersListHead);
  if (!bytes) return std::nullopt;
  return DecodeExcludedFoldersList(*bytes);
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
