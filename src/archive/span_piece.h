// A span piece `arch.div`: one per floppy of a spanned archive. Piece 1 is the
// first bytes of the archive as they are; every later piece starts with its
// disk number and a flag that marks the last piece.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelko::archive {

inline constexpr char kPieceOnFloppy[] = "A:\\arch.div";
inline constexpr char kStagingPieceName[] = "arch.div";    // in the program folder
inline constexpr char kScratchPieceName[] = "Back.div";    // in the program folder
inline constexpr char kWorkingCopyName[] = "archive.lzh";  // in the program folder

inline constexpr std::size_t kSpanBlockSize = 512;
inline constexpr std::size_t kPieceHeaderSize = 2;
inline constexpr std::uint8_t kMorePiecesFollow = 0x00;
inline constexpr std::uint8_t kLastPiece = 0xFF;
// The disk number is one signed byte in the header.
inline constexpr int kMaxDiskNumber = 127;

}  // namespace pelko::archive

#include <string>
#include <string_view>

namespace pelko::archive {

// A prompt of the span texts with its "%d" replaced by the disk number (CP932).
std::string FormatDiskPrompt(std::string_view utf8Pattern, int diskNumber);

}  // namespace pelko::archive
