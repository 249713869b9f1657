#include "store/options_record.h"

#include "platform/program_folder.h"
#include "store/record_bytes.h"
#include "text/win_error.h"

namespace pelko::store {
namespace {

// Offsets of the record's fields; a 4-byte integer follows a byte directly.
constexpr std::size_t kOverwriteMode = 0;
constexpr std::size_t kDirectoryMode = 1;
constexpr std::size_t kIgnoreBrokenHeaders = 2;
constexpr std::size_t kArchiveFormat = 6;
constexpr std::size_t kExtractUnassociated = 7;
constexpr std::size_t kKeepNewer = 11;
constexpr std::size_t kDestinationFolder = 15;

}  // namespace

OptionsRecord DialogOptionsDefaults() { return OptionsRecord{}; }

OptionsRecord RestoreOptionsDefaults() {
  OptionsRecord record;
  record.overwriteMode = 2;
  record.directoryMode = 2;
  record.ignoreBrokenHeaders = 0;
  record.archiveFormat = 0;
  record.extractUnassociated = 0;
  record.keepNewer = 0;
  return record;
}

OptionsRecord DecodeOptionsRecord(std::string_view bytes, const OptionsRecord& defaults) {
  OptionsRecord record = defaults;
  record.overwriteMode = ByteAt(bytes, kOverwriteMode).value_or(defaults.overwriteMode);
  record.directoryMode = ByteAt(bytes, kDirectoryMode).value_or(defaults.directoryMode);
  record.ignoreBrokenHeaders =
      Int32At(bytes, kIgnoreBrokenHeaders).value_or(defaults.ignoreBrokenHeaders);
  record.archiveFormat = ByteAt(bytes, kArchiveFormat).value_or(defaults.archiveFormat);
  record.extractUnassociated =
      Int32At(bytes, kExtractUnassociated).value_or(defaults.extractUnassociated);
  record.keepNewer = Int32At(bytes, kKeepNewer).value_or(defaults.keepNewer);
  record.destinationFolder = TextFieldAt(bytes.substr(0, kOptionsRecordSize), kDestinationFolder,
                                         kDestinationFolderFieldSize)
                                 .value_or(defaults.destinationFolder);
  return record;
}

std::string EncodeOptionsRecord(const OptionsRecord& record) {
  std::string bytes;
  bytes.reserve(kOptionsRecordSize);
  bytes.push_back(static_cast<char>(record.overwriteMode));
  bytes.push_back(static_cast<char>(record.directoryMode));
  AppendInt32(bytes, record.ignoreBrokenHeaders);
  bytes.push_back(static_cast<char>(record.archiveFormat));
  AppendInt32(bytes, record.extractUnassociated);
  AppendInt32(bytes, record.keepNewer);
  AppendTextField(bytes, record.destinationFolder, kDestinationFolderFieldSize);
  return bytes;
}

std::optional<OptionsRecord> ReadOptionsRecord(const OptionsRecord& defaults) {
  std::string bytes;
  if (!ReadStoredFile(win::ProgramFolderPath(kOptionsFileName), bytes, kOptionsRecordSize)) {
    return std::nullopt;
  }
  return DecodeOptionsRecord(bytes, defaults);
}

bool WriteOptionsRecord(const OptionsRecord& record) {
  const std::string& folder = record.destinationFolder;
  if (folder.find('\0') != std::string::npos) return win::Fail(win::ERROR_INVALID_DATA);
  if (!FitsTextField(folder, kDestinationFolderFieldSize)) {
    return win::Fail(win::ERROR_FILENAME_EXCED_RANGE);
  }
  return WriteStoredFile(win::ProgramFolderPath(kOptionsFileName), EncodeOptionsRecord(record));
}

}  // namespace pelko::store
