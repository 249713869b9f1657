// The exclusion lists: `ExtFiles.exc` (the switch and the file patterns) and
// `ExtFolder.exc` (the search depth and the folder names), 25-byte entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::store {

inline constexpr char kExcludedFilesFileName[] = "ExtFiles.exc";
inline constexpr char kExcludedFoldersFileName[] = "ExtFolder.exc";
inline constexpr std::size_t kExclusionEntrySize = 25;  // 24 bytes of text and a NUL
// Far more than anyone types into the dialog; what a damaged file holds
// beyond it is not read.
inline constexpr std::size_t kMaxExclusionEntries = 10000;
inline constexpr std::uint8_t kDefaultSearchDepth = 5;
inline constexpr std::uint8_t kMinSearchDepth = 1;
inline constexpr std::uint8_t kMaxSearchDepth = 10;

struct ExcludedFilesList {
  std::int32_t excludeEnabled = 0;  // nonzero is on; switches both lists
  std::vector<std::string> entries;

  bool operator==(const ExcludedFilesList&) const = default;
};

struct ExcludedFoldersList {
  std::uint8_t searchDepth = kDefaultSearchDepth;  // kept as stored
  std::vector<std::string> entries;

  bool operator==(const ExcludedFoldersList&) const = default;
};

// Decoding never reads past the bytes: a first field the bytes do not hold
// keeps its default, a trailing partial entry is ignored. An empty entry
// (no writer of ours makes one) is left out: as a pattern it would exclude
// everything or make the library refuse the command. Entries after the
// first kMaxExclusionEntries are ignored.
ExcludedFilesList DecodeExcludedFilesList(std::string_view bytes);
ExcludedFoldersList DecodeExcludedFoldersList(std::string_view bytes);
std::string EncodeExcludedFilesList(const ExcludedFilesList& list);
std::string EncodeExcludedFoldersList(const ExcludedFoldersList& list);

// nullopt when the file cannot be opened.
std::optional<ExcludedFilesList> ReadExcludedFilesList();
std::optional<ExcludedFoldersList> ReadExcludedFoldersList();

// An entry longer than 24 bytes or holding a NUL (ERROR_INVALID_DATA), or a
// search depth outside 1 to 10 (ERROR_INVALID_PARAMETER), is refused before
// the file is touched.
bool WriteExcludedFilesList(const ExcludedFilesList& list);
bool WriteExcludedFoldersList(const ExcludedFoldersList& list);

}  // namespace pelko::store
