// l, t and x: the commands that only read an archive.
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "console.h"
#include "lzh/archive/archive_reader.h"
#include "lzh/archive/extractor.h"
#include "lzh/codec/byte_sink.h"
#include "platform/file_stream.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::lha {
namespace {

std::unique_ptr<win::FileStream> OpenArchive(const std::string& hostPath) {
  const auto path = WindowsPathOf(hostPath);
  if (!path) return nullptr;
  auto file = win::OpenFile(*path, win::OpenMode::Read);
  if (!file) PrintSystemError(hostPath, win::GetLastError());
  return file;
}

void PrintBrokenHeader(const lzh::ArchiveReader& reader) {
  PrintError("broken archive at offset " + std::to_string(reader.ErrorOffset()) + ": " +
             std::string(lzh::Describe(reader.Error())));
}

std::string Stamp(std::int64_t unixTime) {
  const std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm tm{};
  char text[32] = "unknown time";
  if (localtime_r(&t, &tm) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return text;
}

std::string Ratio(std::uint64_t packed, std::uint64_t original) {
  char text[16];
  if (original == 0) return "******";
  std::snprintf(text, sizeof text, "%5.1f%%",
                100.0 * static_cast<double>(packed) / static_cast<double>(original));
  return text;
}

constexpr const char* kRule =
    "---------- ---------- ------ ----- ---- ------------------- --------------------\n";

}  // namespace

int RunList(const std::vector<std::string>& args) {
  if (args.size() != 1) return PrintError("usage: l ARCHIVE"), 2;
  auto file = OpenArchive(args[0]);
  if (!file) return 1;
  lzh::ArchiveReader reader(*file);
  std::printf("    PACKED   ORIGINAL  RATIO METHD CRC  STAMP               NAME\n%s", kRule);
  std::uint64_t packed = 0, original = 0, count = 0;
  lzh::Entry entry;
  lzh::ReadStep step;
  while ((step = reader.Next(entry)) == lzh::ReadStep::Entry) {
    const lzh::Header& h = entry.header;
    char crc[8] = "    ";
    if (h.crc && !h.IsDirectory()) std::snprintf(crc, sizeof crc, "%04x", *h.crc);
    std::printf("%10" PRIu64 " %10" PRIu64 " %s %s %s %s %s%s\n", h.packedSize, h.originalSize,
                Ratio(h.packedSize, h.originalSize).c_str(), h.Method().c_str(), crc,
                Stamp(h.unixTime).c_str(), ForTerminal(h.path).c_str(),
                h.IsDirectory() ? "\\" : "");
    packed += h.packedSize;
    original += h.originalSize;
    ++count;
  }
  std::printf("%s%10" PRIu64 " %10" PRIu64 " %s %" PRIu64 " entries\n", kRule, packed, original,
              Ratio(packed, original).c_str(), count);
  if (step == lzh::ReadStep::Error) {
    PrintBrokenHeader(reader);
    return 1;
  }
  return 0;
}

int RunTest(const std::vector<std::string>& args) {
  if (args.size() != 1) return PrintError("usage: t ARCHIVE"), 2;
  auto file = OpenArchive(args[0]);
  if (!file) return 1;
  lzh::ArchiveReader reader(*file);
  int failures = 0;
  lzh::Entry entry;
  lzh::ReadStep step;
  while ((step = reader.Next(entry)) == lzh::ReadStep::Entry) {
    lzh::NullSink sink;
    const lzh::LzhError error = reader.Extract(entry, sink);
    if (error == lzh::LzhError::None) {
      std::printf("%s - Tested\n", ForTerminal(entry.header.path).c_str());
    } else {
      std::printf("%s - %s\n", ForTerminal(entry.header.path).c_str(),
                  std::string(lzh::Describe(error)).c_str());
      ++failures;
    }
  }
  if (step == lzh::ReadStep::Error) {
    PrintBrokenHeader(reader);
    return 1;
  }
  return failures == 0 ? 0 : 1;
}

namespace {

std::string VerdictText(lzh::PathVerdict verdict) {
  switch (verdict) {
    case lzh::PathVerdict::Safe:
      return "safe";
    case lzh::PathVerdict::Empty:
      return "empty name";
    case lzh::PathVerdict::Absolute:
      return "absolute path";
    case lzh::PathVerdict::DriveLetter:
      return "drive letter or ':' in the name";
    case lzh::PathVerdict::ParentReference:
      return "'..' in the path";
    case lzh::PathVerdict::DotName:
      return "a name of only dots";
    case lzh::PathVerdict::EmptyComponent:
      return "empty path component";
    case lzh::PathVerdict::ForbiddenCharacter:
      return "forbidden character in the name";
  }
  return "unsafe name";
}

std::string OutcomeText(const lzh::EntryReport& r) {
  switch (r.outcome) {
    case lzh::EntryOutcome::Extracted:
      return "Extracted";
    case lzh::EntryOutcome::FolderCreated:
      return "Folder";
    case lzh::EntryOutcome::KeptExisting:
      return "Skipped (exists)";
    case lzh::EntryOutcome::KeptNewer:
      return "Skipped (existing file is newer)";
    case lzh::EntryOutcome::RefusedUnsafeName:
      return "Refused: " + VerdictText(r.pathVerdict);
    case lzh::EntryOutcome::RefusedLink:
      return "Refused: symbolic link";
    case lzh::EntryOutcome::DecodeFailed:
      return "Failed: " + std::string(lzh::Describe(r.error));
    case lzh::EntryOutcome::WriteFailed: {
      std::string text = cp932::ToUtf8(win::SystemErrorText(r.win32)).value_or("");
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      return "Failed: " + text + " (" + std::to_string(r.win32) + ")";
    }
  }
  return "?";
}

}  // namespace

int RunExtract(const std::vector<std::string>& args) {
  lzh::ExtractOptions options;
  options.overwrite = lzh::Policy::Ask;
  options.createFolder = lzh::Policy::Always;
  std::string archive;
  std::string folder = ".";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-w") {
      if (++i == args.size()) return PrintError("-w needs a folder"), 2;
      folder = args[i];
    } else if (arg.rfind("-w=", 0) == 0) {
      folder = arg.substr(3);
    } else if (arg == "-f") {
      options.overwrite = lzh::Policy::Always;
    } else if (arg == "-i") {
      options.resumeAfterBrokenHeader = true;
    } else if (archive.empty()) {
      archive = arg;
    } else {
      auto name = cp932::FromUtf8(arg);
      if (!name) return PrintError("name has no CP932 form: " + arg), 2;
      options.selection.push_back(*name);
    }
  }
  if (archive.empty()) return PrintError("usage: x ARCHIVE [-w DIR] [-f] [-i] [NAME...]"), 2;
  auto target = WindowsPathOf(folder);
  if (!target) return 1;
  options.targetFolder = *target;
  auto file = OpenArchive(archive);
  if (!file) return 1;

  ConsoleQuestions questions;
  const lzh::ExtractReport report = lzh::ExtractArchive(*file, options);
  if (report.openError != win::ERROR_SUCCESS) PrintSystemError(folder, report.openError);
  for (const auto& r : report.entries)
    std::printf("%s - %s\n", ForTerminal(r.path).c_str(), OutcomeText(r).c_str());
  for (const auto& broken : report.brokenHeaders) {
    PrintError("broken archive at offset " + std::to_string(broken.offset) + ": " +
               std::string(lzh::Describe(broken.error)));
  }
  for (const auto& name : report.unmatched) PrintError("no entry matches " + ForTerminal(name));
  if (report.cancelled) PrintError("cancelled");
  return report.Succeeded() ? 0 : 1;
}

}  // namespace pelko::lha
