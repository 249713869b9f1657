#include "archive/span_writer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/floppy_files.h"
#include "archive/span_piece.h"
#include "platform/file_services.h"
#include "platform/file_stream.h"
#include "platform/program_folder.h"
#include "platform/user_interface.h"
#include "res/texts_archive.h"
#include "shell/error_texts.h"
#include "shell/floppy_drive.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::archive {
namespace {

constexpr char kInfoOnFloppy[] = "a:\\PELKO.INF";
constexpr std::int32_t kBlockBytes = static_cast<std::int32_t>(kSpanBlockSize);
// A floppy with fewer free clusters than this is not taken for a piece.
constexpr std::uint32_t kMinFreeClusters = 3;

bool AskForDisk(std::string_view utf8Pattern, int diskNumber) {
  return win::MessageBox(FormatDiskPrompt(utf8Pattern, diskNumber), win::MessageBoxButtons::YesNo,
                         win::MessageBoxIcon::Question) == win::DialogResult::Yes;
}

class SpanWriter {
 public:
  explicit SpanWriter(std::string_view sourcePath)
      : sourcePath_(sourcePath), stagingPath_(win::ProgramFolderPath(kStagingPieceName)) {}

  ~SpanWriter() { CloseFiles(); }

  SpanWriteResult Run() {
    source_ = win::OpenFile(sourcePath_, win::OpenMode::Read);
    if (!source_) return FileFailure(shell::FileErrorCause::Open, sourcePath_);
    if (!DeleteEarlierBackup()) {
      shell::ShowSystemErrorText();
      CloseFiles();
      return SpanWriteResult::Failed;
    }
    freeBytes_ = shell::QueryFloppySpace().SignedFreeBytes();
    if (FitsOnThisFloppy()) return WriteWhole();
    if (!CreateStaging()) return SpanWriteResult::Failed;

    std::array<std::byte, kSpanBlockSize> block;
    for (;;) {
      std::size_t got = 0;
      if (!source_->Read(block, got)) return FileFailure(shell::FileErrorCause::Read, sourcePath_);
      if (got == 0) break;
      // The floppy changes whenever less than a whole block is free, even
      // when a last, shorter block would still fit.
      while (freeBytes_ < kBlockBytes) {
        if (auto ended = ChangeFloppy()) return *ended;
      }
      if (!WriteToStaging(std::span(block.data(), got))) {
        return FileFailure(shell::FileErrorCause::Write, stagingPath_);
      }
      freeBytes_ -= static_cast<std::int32_t>(got);
    }
    return Finish();
  }

 private:
  // False when the floppy is write-protected: nothing can be written on it.
  static bool DeleteEarlierBackup() {
    for (const char* name :
         {kArchiveOnFloppy, kPieceOnFloppy, kInfoOnFloppy, kArchiveScratchOnFloppy}) {
      if (!win::DeleteFile(name) && win::GetLastError() == win::ERROR_WRITE_PROTECT) return false;
    }
    return true;
  }

  // Piece 1 has no header, so an archive that would end on floppy 1 cannot be
  // a set of pieces: it goes on the floppy whole, as a backup that fits does.
  bool FitsOnThisFloppy() const {
    return freeBytes_ >= 0 && source_->Size() <= static_cast<std::uint64_t>(freeBytes_);
  }

  SpanWriteResult WriteWhole() {
    source_->Close();
    source_.reset();
    if (!CopyAndVerify(sourcePath_, kArchiveOnFloppy)) {
      shell::ShowSystemErrorText();
      return SpanWriteResult::Failed;
    }
    return SpanWriteResult::WrittenWhole;
  }

  bool CreateStaging() {
    staging_ = win::OpenFile(stagingPath_, win::OpenMode::CreateAlways);
    if (!staging_) {
      FileFailure(shell::FileErrorCause::Create, stagingPath_);
      return false;
    }
    digest_ = FileDigest{};
    return true;
  }

  bool WriteToStaging(std::span<const std::byte> bytes) {
    if (!staging_->Write(bytes)) return false;
    digest_.Add(bytes);
    return true;
  }

  // The finished piece goes from the staging file to the floppy in the drive
  // and counts as written once it reads back as it was meant.
  bool MovePieceToFloppy() {
    bool closed = staging_->Close();
    staging_.reset();
    if (!closed) {
      FileFailure(shell::FileErrorCause::Write, stagingPath_);
      return false;
    }
    win::DeleteFile(kPieceOnFloppy);
    if (!CopyAndVerify(stagingPath_, kPieceOnFloppy)) {
      shell::ShowSystemErrorText();
      CloseFiles();
      return false;
    }
    win::DeleteFile(stagingPath_);
    if (auto serial = FloppySerial()) written_.push_back({*serial, digest_});
    return true;
  }

  // True when the floppy in the drive holds a piece this run has written:
  // the user answered Yes without changing the floppy (or brought back an
  // earlier one), and taking it would overwrite a piece of the set.
  bool HoldsAPieceOfThisSet() const {
    auto serial = FloppySerial();
    if (!serial) return false;
    std::optional<FileDigest> onFloppy;
    for (const WrittenPiece& piece : written_) {
      if (piece.serial != *serial) continue;
      if (!onFloppy) onFloppy = DigestOfFile(kPieceOnFloppy);
      if (!onFloppy) return false;
      if (*onFloppy == piece.digest) return true;
    }
    return false;
  }

  // Asks until a writable floppy with room for a piece is in the drive;
  // false when the user answers No.
  bool AskForFloppyWithRoom(int number) {
    for (;;) {
      if (!AskForDisk(res::kDiskFullInsertDisk, number)) return false;
      if (HoldsAPieceOfThisSet()) continue;
      if (!win::DeleteFile(kPieceOnFloppy) && win::GetLastError() == win::ERROR_WRITE_PROTECT) {
        shell::ShowSystemErrorText();
        continue;
      }
      shell::FloppySpace space = shell::QueryFloppySpace();
      if (space.freeClusters < kMinFreeClusters) continue;
      if (space.SignedFreeBytes() <= kBlockBytes) continue;
      freeBytes_ = space.SignedFreeBytes();
      return true;
    }
  }

  // Moves the full piece out and starts the next one on a new floppy; a
  // result when the writer ends here.
  std::optional<SpanWriteResult> ChangeFloppy() {
    if (!MovePieceToFloppy()) return SpanWriteResult::Failed;
    int next = diskNumber_ + 1;
    if (next > kMaxDiskNumber) {
      win::MessageBox(cp932::FromUtf8Literal(res::kTooManyDisks), win::MessageBoxButtons::Ok,
                      win::MessageBoxIcon::Warning);
      CloseFiles();
      return SpanWriteResult::Failed;
    }
    if (!AskForFloppyWithRoom(next)) {
      CloseFiles();
      return SpanWriteResult::Cancelled;
    }
    if (!CreateStaging()) return SpanWriteResult::Failed;
    diskNumber_ = static_cast<std::int8_t>(next);
    const std::array<std::byte, kPieceHeaderSize> header = {
        static_cast<std::byte>(diskNumber_), static_cast<std::byte>(kMorePiecesFollow)};
    if (!WriteToStaging(header)) return FileFailure(shell::FileErrorCause::Write, stagingPath_);
    freeBytes_ -= static_cast<std::int32_t>(kPieceHeaderSize);
    return std::nullopt;
  }

  SpanWriteResult Finish() {
    const std::array<std::byte, kPieceHeaderSize> stamp = {static_cast<std::byte>(diskNumber_),
                                                           static_cast<std::byte>(kLastPiece)};
    if (!staging_->Seek(0) || !staging_->Write(stamp)) {
      return FileFailure(shell::FileErrorCause::Write, stagingPath_);
    }
    if (!MovePieceToFloppy()) return SpanWriteResult::Failed;
    CloseFiles();
    return SpanWriteResult::Spanned;
  }

  SpanWriteResult FileFailure(shell::FileErrorCause cause, std::string_view path) {
    shell::ShowFileErrorText(cause, path);
    CloseFiles();
    return SpanWriteResult::Failed;
  }

  void CloseFiles() {
    if (staging_) staging_->Close();
    staging_.reset();
    if (source_) source_->Close();
    source_.reset();
  }

  struct WrittenPiece {
    std::uint32_t serial;
    FileDigest digest;
  };

  std::string sourcePath_;
  std::string stagingPath_;
  std::unique_ptr<win::FileStream> source_;
  std::unique_ptr<win::FileStream> staging_;
  std::int8_t diskNumber_ = 1;  // one signed byte in the piece header
  std::int32_t freeBytes_ = 0;  // signed, as the floppy-change test compares it
  FileDigest digest_;           // of the piece in the staging file
  std::vector<WrittenPiece> written_;
};

}  // namespace

SpanWriteResult WriteSpannedArchive(std::string_view sourcePath) {
  return SpanWriter(sourcePath).Run();
}

}  // namespace pelko::archive
