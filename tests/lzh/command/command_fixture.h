// Shared ground of the archive command tests: drive C: and D: are temporary
// host folders, the working copy is C:\PELKO\archive.lzh as the tool has it,
// and command lines are written in UTF-8 and sent in CP932.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "lzh/archive/archive_reader.h"
#include "lzh/command/archiver_command.h"
#include "platform/file_stream.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"
#include "text/code_page.h"

namespace pelko::lzh::test {

inline constexpr std::string_view kWork = "C:\\PELKO\\archive.lzh";

struct CommandOutcome {
  int code = -1;
  std::string report;  // UTF-8
  std::string raw;     // CP932, as the buffer held it
};

class CommandTest : public ::testing::Test {
 protected:
  // Host paths behind C:\ and D:\ (UTF-8 relative names, '/' between parts).
  std::string C(std::string_view relative = {}) const {
    return Join(c_.CDriveHostPath(), relative);
  }
  std::string D(std::string_view relative = {}) const { return Join(dDrive_.Path(), relative); }
  std::string WorkHost() const { return c_.HostPathOf("archive.lzh"); }

  static std::string Join(const std::string& root, std::string_view relative) {
    return relative.empty() ? root : root + "/" + std::string(relative);
  }

  static void Put(const std::string& host, std::string_view content) {
    std::filesystem::create_directories(std::filesystem::path(host).parent_path());
    pelko::test::WriteHostFile(host, content);
  }
  static std::string Get(const std::string& host) { return pelko::test::ReadHostFile(host); }
  static bool Exists(const std::string& host) { return pelko::test::HostPathExists(host); }

  static void SetTime(const std::string& host, std::int64_t unixTime) {
    struct utimbuf times {};
    times.actime = times.modtime = static_cast<time_t>(unixTime);
    ASSERT_EQ(::utime(host.c_str(), &times), 0) << host;
  }

  // Everything below a host folder: relative names, sorted, folders with a '/'.
  static std::vector<std::string> Tree(const std::string& folder) {
    std::vector<std::string> names;
    if (!std::filesystem::exists(folder)) return names;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
      std::string name = e.path().lexically_relative(folder).string();
      if (e.is_directory()) name += '/';
      names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // The stored names of an archive (UTF-8, '/' between parts), sorted;
  // folder entries end in '/'.
  static std::vector<std::string> Stored(std::string_view archive = kWork) {
    std::vector<std::string> names;
    auto file = win::OpenFile(archive, win::OpenMode::Read);
    if (!file) return names;
    ArchiveReader reader(*file);
    Entry entry;
    while (reader.Next(entry) == ReadStep::Entry) {
      std::string name = cp932::ToUtf8(entry.header.path).value_or("?");
      std::replace(name.begin(), name.end(), '\\', '/');
      if (entry.header.IsDirectory()) name += '/';
      names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // A command on its own, or (with `session`) one of a run of commands.
  static CommandOutcome Run(std::string_view utf8Line, std::size_t outputSize = 1 << 16,
                            ArchiverSession* session = nullptr) {
    const std::string line = cp932::FromUtf8Literal(utf8Line);
    std::vector<char> buffer(outputSize + 1, '\x7F');  // one guard byte behind the buffer
    CommandOutcome outcome;
    outcome.code = session != nullptr
                       ? ArchiverCommand(*session, nullptr, line.c_str(), buffer.data(), outputSize)
                       : ArchiverCommand(nullptr, line.c_str(), buffer.data(), outputSize);
    EXPECT_EQ(buffer[outputSize], '\x7F') << "written past the buffer";
    outcome.raw = std::string(buffer.data());
    outcome.report = cp932::ToUtf8(outcome.raw).value_or("<not CP932>");
    return outcome;
  }

  // The number of report lines that contain `utf8Part`.
  static int Lines(const CommandOutcome& outcome, std::string_view utf8Part) {
    int count = 0;
    std::size_t at = 0;
    while ((at = outcome.report.find(utf8Part, at)) != std::string::npos) {
      ++count;
      at += utf8Part.size();
    }
    return count;
  }

  pelko::test::TestProgramFolder c_;
  pelko::test::TempFolder dDrive_{"pelko-d-drive"};
  pelko::test::ScopedEnv dMapping_{"PELKO_DRIVE_D", dDrive_.Path()};
};

}  // namespace pelko::lzh::test
