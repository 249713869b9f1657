// The options record `PELKO.opt`: 515 bytes, little-endian, no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelko::store {

inline constexpr char kOptionsFileName[] = "PELKO.opt";
inline constexpr std::size_t kOptionsRecordSize = 515;
inline constexpr std::size_t kDestinationFolderFieldSize = 500;

struct OptionsRecord {
  std::uint8_t overwriteMode = 1;        // 0 always, 1 confirm, 2 never overwrite
  std::uint8_t directoryMode = 1;        // 0 always, 1 confirm, 2 never create
  std::int32_t ignoreBrokenHeaders = 0;  // nonzero is on
  std::uint8_t archiveFormat = 0;        // combo position; 0xFF none selected
  std::int32_t extractUnassociated = 0;
  std::int32_t keepNewer = 1;
  std::string destinationFolder;  // at most 499 bytes

  bool operator==(const OptionsRecord&) const = default;
};

// What the options dialog starts from when there is no record (the defaults
// of a default-constructed record).
OptionsRecord DialogOptionsDefaults();
// What a restore assumes when there is no record: never overwrite, never
// create folders, broken headers off, keep newer off, first format.
OptionsRecord RestoreOptionsDefaults();

// The record in the file's bytes; a field the bytes do not wholly hold keeps
// its value from `defaults`. Values are kept as stored, even out of range.
OptionsRecord DecodeOptionsRecord(std::string_view bytes, const OptionsRecord& defaults);
// The 515 bytes of a record whose destination fits (see WriteOptionsRecord).
std::string EncodeOptionsRecord(const OptionsRecord& record);

// Reads `PELKO.opt`; nullopt when it cannot be opened.
std::optional<OptionsRecord> ReadOptionsRecord(const OptionsRecord& defaults);

// Writes the whole record. A destination of 500 bytes or more, or holding a
// NUL, is refused (ERROR_FILENAME_EXCED_RANGE / ERROR_INVALID_DATA) before the
// file is touched.
bool WriteOptionsRecord(const OptionsRecord& record);

}  // namespace pelko::store
