// Floppies for the spanned-archive tests: blank images made by mformat, put
// in drive A: by pointing the program folder's A.img at them, and read back
// with mtools, so that what lands on a floppy is judged by outside tools.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

#include "support/acting_user.h"
#include "support/run_command.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"

namespace pelko::archive::testing {

// A blank 360K floppy: 354 clusters of 1024 bytes.
inline constexpr std::uint32_t k360KFreeBytes = 362496;

inline std::string RandomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

inline std::string Mtools(const std::string& command) {
  return "MTOOLS_SKIP_CHECK=1 MTOOLS_NO_VFAT=1 " + command;
}

class Floppies {
 public:
  explicit Floppies(const test::TestProgramFolder& home) : home_(home) {}

  // A blank 360K floppy image named `name` with this serial; its host path.
  std::string Make360K(const std::string& name, std::uint32_t serial,
                       const std::string& label = "BACKUP") {
    return Format(name, "-C -f 360 -N " + Hex(serial) + " -v " + label);
  }

  // A very small floppy: 44 free clusters of 512 bytes (22528 bytes).
  std::string MakeTiny(const std::string& name, std::uint32_t serial) {
    return Format(name, "-C -T 48 -h 1 -s 48 -c 1 -r 1 -N " + Hex(serial));
  }

  std::string Copy(const std::string& image, const std::string& name) {
    std::string path = images_.Sub(name);
    std::filesystem::copy_file(image, path, std::filesystem::copy_options::overwrite_existing);
    return path;
  }

  // Puts the image in drive A: (A.img in the program folder links to it).
  void Insert(const std::string& image) const {
    std::filesystem::path drive = home_.FloppyImageHostPath();
    std::filesystem::remove(drive);
    std::filesystem::create_symlink(image, drive);
  }

  void Put(const std::string& image, const std::string& name, const std::string& bytes) {
    std::string source = images_.Sub("put-" + std::to_string(counter_++));
    test::WriteHostFile(source, bytes);
    Run("mcopy -o -i " + test::ShellQuote(image) + " " + test::ShellQuote(source) + " ::" + name);
  }

  // A file of the image as mtools reads it; nullopt when it is not there.
  std::optional<std::string> Read(const std::string& image, const std::string& name) {
    std::string target = images_.Sub("got-" + std::to_string(counter_++));
    test::CommandResult result = test::RunCommand(Mtools(
        "mcopy -n -i " + test::ShellQuote(image) + " ::" + name + " " + test::ShellQuote(target)));
    if (result.exitCode != 0 || !test::HostPathExists(target)) return std::nullopt;
    return test::ReadHostFile(target);
  }

  // The image is a sound FAT volume by fsck.fat's judgement.
  void ExpectSound(const std::string& image) const {
    test::CommandResult result = test::RunCommand("fsck.fat -n " + test::ShellQuote(image));
    EXPECT_EQ(result.exitCode, 0) << image << ": " << result.output;
  }

 private:
  static std::string Hex(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
  }

  std::string Format(const std::string& name, const std::string& options) {
    std::string path = images_.Sub(name);
    Run("mformat " + options + " -i " + test::ShellQuote(path) + " ::");
    return path;
  }

  static void Run(const std::string& command) {
    test::CommandResult result = test::RunCommand(Mtools(command));
    ASSERT_EQ(result.exitCode, 0) << command << "\n" << result.output;
  }

  const test::TestProgramFolder& home_;
  test::TempFolder images_{"pelko-floppies"};
  int counter_ = 0;
};

// Piece k >= 2: its header bytes and data.
inline std::string PieceHeader(int diskNumber, bool last) {
  return std::string{static_cast<char>(diskNumber), static_cast<char>(last ? 0xFF : 0x00)};
}

// Byte strings compared without printing them: a floppy's worth of bytes
// makes an unreadable failure message.
inline ::testing::AssertionResult SameBytes(const std::optional<std::string>& actual,
                                            const std::string& expected) {
  if (!actual) return ::testing::AssertionFailure() << "the file is missing";
  if (*actual == expected) return ::testing::AssertionSuccess();
  std::size_t common = std::min(actual->size(), expected.size());
  std::size_t at = 0;
  while (at < common && (*actual)[at] == expected[at]) ++at;
  return ::testing::AssertionFailure() << actual->size() << " bytes where " << expected.size()
                                       << " were expected; first difference at byte " << at;
}

}  // namespace pelko::archive::testing
