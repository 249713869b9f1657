#include "lzh/archive/archive_writer.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <vector>

#include "lzh/archive/exclusion_pattern.h"
#include "lzh/archive/file_bytes.h"
#include "lzh/archive/header.h"
#include "lzh/archive/header_writer.h"
#include "lzh/archive/pack_file.h"
#include "lzh/archive/parallel_packer.h"
#include "lzh/codec/byte_sink.h"
#include "lzh/codec/crc16.h"
#include "lzh/codec/lh_encoder.h"
#include "platform/file_services.h"
#include "text/code_page.h"
#include "text/wildcard.h"

namespace pelko::lzh {
namespace {

constexpr std::size_t kReadPiece = std::size_t{64} * 1024;
constexpr win::DWORD kErrorFileTooLarge = 223;  // ERROR_FILE_TOO_LARGE
constexpr char kScratchPattern[] = "~LZ*.TMP";

std::span<const std::byte> Bytes(std::string_view s) {
  return std::as_bytes(std::span<const char>(s.data(), s.size()));
}

WriteResult Outcome(WriteOutcome outcome, win::DWORD win32) {
  WriteResult result;
  result.outcome = outcome;
  result.win32 = win32;
  return result;
}

WriteResult Written(std::string_view method, std::uint64_t original, std::uint64_t packed) {
  WriteResult result;
  result.method = std::string(method);
  result.originalSize = original;
  result.packedSize = packed;
  return result;
}

void SetMethod(Header& header, std::string_view id) {
  std::copy(id.begin(), id.begin() + 5, header.method.begin());
}

// A file's header before packing: sizes and CRC are filled in once known.
Header FileHeaderOf(const NewEntry& entry, PackMethod method) {
  Header header;
  SetMethod(header, EncoderMethodOf(method).id);
  header.path = entry.storedName;
  header.unixTime = entry.lastWriteTime;
  header.attributes = entry.attributes == 0 ? 0x20 : entry.attributes;
  header.crc = 0;
  return header;
}

}  // namespace

void RemoveScratchFilesIn(std::string_view folder) {
  std::vector<win::FindData> entries;
  std::size_t leftOut = 0;
  if (!win::ListFolder(folder, entries, leftOut)) return;
  std::string prefix(folder);
  if (!prefix.empty() && cp932::FindLastBackslash(prefix) != prefix.size() - 1) prefix += '\\';
  for (const win::FindData& entry : entries) {
    if (entry.info.kind != win::EntryKind::File || entry.info.isSymlink) continue;
    if (cp932::WildcardMatches(kScratchPattern, entry.name)) win::DeleteFile(prefix + entry.name);
  }
}

std::string ScratchPathBeside(std::string_view path, std::string_view extension) {
  const std::size_t slash = cp932::FindLastBackslash(path);
  const std::string folder(path.substr(0, slash == std::string_view::npos ? 0 : slash + 1));
  for (int n = 1; n < 100000; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "~LZ%05d.", n);
    std::string candidate = folder + name + std::string(extension);
    win::FileInformation info;
    if (!win::GetFileInformation(candidate, info)) return candidate;
  }
  return folder + "~LZ00000." + std::string(extension);
}

ArchiveWriter::ArchiveWriter(std::string archivePath)
    : archivePath_(std::move(archivePath)), buffer_(kReadPiece) {}

ArchiveWriter::~ArchiveWriter() {
  if (committed_) return;
  const win::DWORD saved = win::GetLastError();
  if (appending_ && out_) {
    // What was appended is zeroed: the old entries and their end mark again.
    end_ = appendFrom_;
    const std::uint64_t tail = std::max<std::uint64_t>(highWater_, end_ + 1) - end_;
    WriteAt(end_, std::string(tail, '\0'));
  }
  if (out_) out_->Close();
  out_.reset();
  if (!newPath_.empty()) win::DeleteFile(newPath_);
  win::SetLastError(saved);
}

bool ArchiveWriter::Begin() {
  for (int attempt = 0; attempt < 10 && !out_; ++attempt) {
    newPath_ = ScratchPathBeside(archivePath_, "TMP");
    out_ = win::OpenFile(newPath_, win::OpenMode::CreateNew);
    if (!out_ && win::GetLastError() != win::ERROR_FILE_EXISTS) break;
  }
  if (!out_) {
    newPath_.clear();
    return false;
  }
  return true;
}

bool ArchiveWriter::BeginAppend(std::uint64_t end) {
  out_ = win::OpenFile(archivePath_, win::OpenMode::ReadWrite);
  if (!out_) return false;
  appending_ = true;
  appendFrom_ = end;
  end_ = end;
  highWater_ = std::max(out_->Size(), end + 1);
  return true;
}

bool ArchiveWriter::WriteAt(std::uint64_t offset, std::string_view bytes) {
  if (!out_->Seek(offset) || !out_->Write(Bytes(bytes))) return false;
  highWater_ = std::max(highWater_, offset + bytes.size());
  return true;
}

bool ArchiveWriter::CopyEntry(ArchiveReader& reader, const Entry& entry) {
  if (!out_->Seek(end_)) return false;
  FileSink sink(*out_);
  const LzhError error = reader.CopyRaw(entry, sink);
  if (error != LzhError::None) {
    if (error != LzhError::WriteFailed) win::SetLastError(ToWin32(error));
    return false;
  }
  end_ += entry.NextOffset() - entry.headerOffset;
  highWater_ = std::max(highWater_, end_);
  return true;
}

WriteResult ArchiveWriter::Rewind(WriteResult result, std::uint64_t headerOffset) {
  end_ = headerOffset;
  return result;
}

WriteResult ArchiveWriter::WriteFolder(const NewEntry& entry) {
  Header header;
  SetMethod(header, "-lhd-");
  header.path = entry.storedName;
  header.unixTime = entry.lastWriteTime;
  header.attributes = 0x10;
  header.crc = 0;
  std::string bytes;
  const HeaderWriteResult built = BuildLevel2Header(header, bytes);
  if (built != HeaderWriteResult::Ok)
    return Outcome(WriteOutcome::NameTooLong, win::ERROR_FILENAME_EXCED_RANGE);
  if (!WriteAt(end_, bytes)) return Outcome(WriteOutcome::ArchiveFailed, win::GetLastError());
  end_ += bytes.size();
  return Written("-lhd-", 0, 0);
}

WriteResult ArchiveWriter::WriteFile(const NewEntry& entry, PackMethod method,
                                     const std::function<void(std::uint64_t)>& progress) {
  const std::uint64_t headerOffset = end_;
  if (entry.size > kMaxEntrySize) return Outcome(WriteOutcome::TooLarge, kErrorFileTooLarge);
  auto source = win::OpenFile(entry.sourcePath, win::OpenMode::Read);
  if (!source) return Outcome(WriteOutcome::SourceUnreadable, win::GetLastError());

  Header header = FileHeaderOf(entry, method);
  std::string bytes;
  if (BuildLevel2Header(header, bytes) != HeaderWriteResult::Ok) {
    return Outcome(WriteOutcome::NameTooLong, win::ERROR_FILENAME_EXCED_RANGE);
  }
  // The header goes first with sizes still unknown; it is written again,
  // same length, once the data is in.
  if (!WriteAt(headerOffset, bytes))
    return Rewind(Outcome(WriteOutcome::ArchiveFailed, win::GetLastError()), headerOffset);
  const std::uint64_t dataOffset = headerOffset + bytes.size();

  FileSink fileSink(*out_);
  if (encoder_ && encoderMethod_ != method) encoder_.reset();
  encoderMethod_ = method;
  PackedFile packed = PackFile(*source, entry.size, method, encoder_, buffer_, fileSink, progress);
  if (packed.sinkFailed)
    return Rewind(Outcome(WriteOutcome::ArchiveFailed, win::GetLastError()), headerOffset);
  if (packed.outcome != WriteOutcome::Written)
    return Rewind(Outcome(packed.outcome, packed.win32), headerOffset);
  highWater_ = std::max(highWater_, dataOffset + packed.packedSize);
  if (!packed.shrank) {
    std::optional<std::span<const std::byte>> whole;
    if (!packed.whole.empty() || packed.read == 0) whole = std::span<const std::byte>(packed.whole);
    return StoreFile(*source, whole, headerOffset, packed.read, bytes, header);
  }
  return EndPacked(headerOffset, bytes, header, packed.packedSize, packed.read, packed.crc);
}

// The header again, now with the sizes and CRC.
WriteResult ArchiveWriter::EndPacked(std::uint64_t headerOffset, std::string& bytes, Header& header,
                                     std::uint64_t packedSize, std::uint64_t read,
                                     std::uint16_t crc) {
  const std::uint64_t dataOffset = headerOffset + bytes.size();
  header.packedSize = packedSize;
  header.originalSize = read;
  header.crc = crc;
  if (BuildLevel2Header(header, bytes) != HeaderWriteResult::Ok || !WriteAt(headerOffset, bytes)) {
    return Rewind(Outcome(WriteOutcome::ArchiveFailed, win::GetLastError()), headerOffset);
  }
  end_ = dataOffset + header.packedSize;
  return Written(header.Method(), read, header.packedSize);
}

WriteResult ArchiveWriter::WritePacked(const NewEntry& entry, PackMethod method,
                                       PackedStream& stream,
                                       const std::function<void(std::uint64_t)>& progress) {
  const std::uint64_t headerOffset = end_;
  std::vector<std::byte> chunk;
  std::uint64_t read = 0;
  // Drains a stream given up, and tells why its packing ended.
  const auto giveUp = [&](WriteResult result) {
    stream.Abandon();
    while (stream.Next(chunk, read)) {
    }
    const PackedFile& packed = stream.Result();
    if (packed.openFailed || (packed.outcome == WriteOutcome::TooLarge &&
                              result.outcome != WriteOutcome::ArchiveFailed)) {
      result = Outcome(packed.outcome, packed.win32);
    }
    return Rewind(result, headerOffset);
  };
  if (entry.size > kMaxEntrySize)
    return giveUp(Outcome(WriteOutcome::TooLarge, kErrorFileTooLarge));

  Header header = FileHeaderOf(entry, method);
  std::string bytes;
  if (BuildLevel2Header(header, bytes) != HeaderWriteResult::Ok) {
    return giveUp(Outcome(WriteOutcome::NameTooLong, win::ERROR_FILENAME_EXCED_RANGE));
  }
  if (!WriteAt(headerOffset, bytes))
    return giveUp(Outcome(WriteOutcome::ArchiveFailed, win::GetLastError()));
  const std::uint64_t dataOffset = headerOffset + bytes.size();
  std::uint64_t written = 0;
  while (stream.Next(chunk, read)) {
    if (!chunk.empty()) {
      if (!out_->Write(chunk))
        return giveUp(Outcome(WriteOutcome::ArchiveFailed, win::GetLastError()));
      written += chunk.size();
      highWater_ = std::max(highWater_, dataOffset + written);
    }
    if (progress && read != 0) progress(read);
  }
  PackedFile& packed = stream.Result();
  if (packed.outcome != WriteOutcome::Written) {
    return Rewind(Outcome(packed.outcome, packed.win32), headerOffset);
  }
  if (!packed.shrank) {
    std::optional<std::span<const std::byte>> whole;
    if (!packed.whole.empty() || packed.read == 0) whole = std::span<const std::byte>(packed.whole);
    return StoreFile(*packed.source, whole, headerOffset, packed.read, bytes, header);
  }
  return EndPacked(headerOffset, bytes, header, written, packed.read, packed.crc);
}

// Packing did not make the file smaller: its bytes are copied as they are,
// read a second time from the start.
WriteResult ArchiveWriter::StoreFile(win::FileStream& source,
                                     std::optional<std::span<const std::byte>> whole,
                                     std::uint64_t headerOffset, std::uint64_t expectedSize,
                                     std::string& bytes, Header& header) {
  const bool inBuffer = whole.has_value();
  const std::uint64_t dataOffset = headerOffset + bytes.size();
  if (!out_->Seek(dataOffset))
    return Rewind(Outcome(WriteOutcome::ArchiveFailed, win::GetLastError()), headerOffset);
  std::vector<std::byte>& buffer = buffer_;
  std::uint16_t crc = 0;
  std::uint64_t copied = 0;
  if (inBuffer) {
    // A file read in one piece is still in the buffer: no second reading.
    crc = UpdateCrc16(crc, *whole);
    if (!out_->Write(*whole))
      return Rewind(Outcome(WriteOutcome::ArchiveFailed, win::GetLastError()), headerOffset);
    copied = expectedSize;
  } else if (!source.Seek(0)) {
    return Rewind(Outcome(WriteOutcome::SourceUnreadable, win::GetLastError()), headerOffset);
  }
  while (!inBuffer) {
    std::size_t got = 0;
    if (!source.Read(buffer, got)) {
      return Rewind(Outcome(WriteOutcome::SourceUnreadable, win::GetLastError()), headerOffset);
    }
    if (got == 0) break;
    copied += got;
    if (copied > expectedSize) break;
    const std::span<const std::byte> piece(buffer.data(), got);
    crc = UpdateCrc16(crc, piece);
    if (!out_->Write(piece))
      return Rewind(Outcome(WriteOutcome::ArchiveFailed, win::GetLastError()), headerOffset);
  }
  highWater_ = std::max(highWater_, dataOffset + std::min(copied, expectedSize));
  if (copied != expectedSize)
    return Rewind(Outcome(WriteOutcome::SourceChanged, win::ERROR_SUCCESS), headerOffset);
  SetMethod(header, "-lh0-");
  header.packedSize = copied;
  header.originalSize = copied;
  header.crc = crc;
  if (BuildLevel2Header(header, bytes) != HeaderWriteResult::Ok || !WriteAt(headerOffset, bytes)) {
    return Rewind(Outcome(WriteOutcome::ArchiveFailed, win::GetLastError()), headerOffset);
  }
  end_ = dataOffset + copied;
  return Written("-lh0-", copied, copied);
}

bool ArchiveWriter::Commit() {
  if (!out_) return win::Fail(win::ERROR_INVALID_HANDLE);
  // The end mark; bytes left behind by an entry that was taken back are
  // zeroed, so the file holds nothing after the mark but zeros.
  const std::uint64_t tail = std::max<std::uint64_t>(highWater_, end_ + 1) - end_;
  if (!WriteAt(end_, std::string(tail, '\0'))) return false;
  const bool closed = out_->Close();
  out_.reset();
  if (!closed) return false;
  if (appending_) {
    committed_ = true;
    return true;
  }

  // One rename puts the new archive in the old one's place: at no moment is
  // the archive's name missing or holding half an archive.
  win::FileInformation info;
  const bool replacing = win::GetFileInformation(archivePath_, info);
  if (!win::MoveFileEx(newPath_, archivePath_, replacing ? win::MOVEFILE_REPLACE_EXISTING : 0))
    return false;
  committed_ = true;
  return true;
}

}  // namespace pelko::lzh
