#include "archive/span_joiner.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/floppy_files.h"
#include "archive/span_piece.h"
#include "platform/file_services.h"
#include "platform/file_stream.h"
#include "platform/program_folder.h"
#include "platform/user_interface.h"
#include "res/texts_archive.h"

namespace pelko::archive {
namespace {

struct PieceHeader {
  std::int8_t diskNumber = 0;  // 0: no piece on the floppy
  std::uint8_t lastFlag = kMorePiecesFollow;
};

PieceHeader ReadHeaderOnFloppy() {
  auto piece = win::OpenFile(kPieceOnFloppy, win::OpenMode::Read);
  if (!piece) return {};
  std::array<std::byte, kPieceHeaderSize> header{};
  std::size_t got = 0;
  bool read = piece->Read(header, got);
  piece->Close();
  if (!read || got < kPieceHeaderSize) return {};
  return {static_cast<std::int8_t>(header[0]), static_cast<std::uint8_t>(header[1])};
}

class SpanJoiner {
 public:
  SpanJoiner()
      : scratchPath_(win::ProgramFolderPath(kScratchPieceName)),
        workingPath_(win::ProgramFolderPath(kWorkingCopyName)) {}

  ~SpanJoiner() {
    if (working_) working_->Close();
  }

  bool Run() {
    if (!win::CopyFile(kPieceOnFloppy, scratchPath_, false)) return false;
    working_ = win::OpenFile(workingPath_, win::OpenMode::CreateAlways);
    if (!working_) return false;
    if (!RememberScratch() || !AppendScratch(0)) return false;

    int lastJoined = 1;
    for (;;) {
      // The number is one signed byte: no set goes past floppy 127.
      if (lastJoined == kMaxDiskNumber) return false;
      int expected = lastJoined + 1;
      PieceHeader header;
      for (;;) {
        if (!AskForDisk(expected)) return false;
        header = ReadHeaderOnFloppy();
        if (header.diskNumber != expected) continue;
        if (!win::CopyFile(kPieceOnFloppy, scratchPath_, false)) return false;
        if (!AlreadyJoined()) break;
      }
      lastJoined = expected;
      if (!RememberScratch() || !AppendScratch(kPieceHeaderSize)) return false;
      if (header.lastFlag == kLastPiece) break;
    }
    bool closed = working_->Close();
    working_.reset();
    return closed;
  }

 private:
  struct JoinedPiece {
    std::optional<std::uint32_t> serial;
    FileDigest digest;
  };

  // The piece in the scratch copy came from the floppy in the drive.
  bool RememberScratch() {
    std::optional<FileDigest> digest = DigestOfFile(scratchPath_);
    if (!digest) return false;
    joined_.push_back({FloppySerial(), *digest});
    return true;
  }

  // The floppy in the drive, whose piece is in the scratch copy, has been
  // joined before in this run: the user did not change the floppy, or
  // brought back an earlier one whose first bytes happen to look like the
  // number asked for.
  bool AlreadyJoined() const {
    std::optional<std::uint32_t> serial = FloppySerial();
    if (!serial) return false;
    std::optional<FileDigest> digest = DigestOfFile(scratchPath_);
    if (!digest) return false;
    return std::any_of(joined_.begin(), joined_.end(), [&](const JoinedPiece& piece) {
      return piece.serial == serial && piece.digest == *digest;
    });
  }

  static bool AskForDisk(int diskNumber) {
    return win::MessageBox(FormatDiskPrompt(res::kInsertDiskNumber, diskNumber),
                           win::MessageBoxButtons::YesNo,
                           win::MessageBoxIcon::Question) == win::DialogResult::Yes;
  }

  // The scratch copy of a piece, from `offset` on, onto the working copy.
  bool AppendScratch(std::size_t offset) {
    auto piece = win::OpenFile(scratchPath_, win::OpenMode::Read);
    if (!piece) return false;
    bool ok = piece->Seek(offset);
    std::array<std::byte, kSpanBlockSize> block;
    std::size_t got = 0;
    while (ok) {
      ok = piece->Read(block, got);
      if (!ok || got == 0) break;
      ok = working_->Write(std::span(block.data(), got));
    }
    piece->Close();
    return ok;
  }

  std::string scratchPath_;
  std::string workingPath_;
  std::unique_ptr<win::FileStream> working_;
  std::vector<JoinedPiece> joined_;
};

}  // namespace

bool JoinSpannedArchive() { return SpanJoiner().Run(); }

}  // namespace pelko::archive
