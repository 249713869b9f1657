// The commands of pelko-floppy, each returning the process exit code. Every
// failure prints one line to stderr.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelko::floppy {

struct FormatOptions {
  std::uint32_t sizeKiB = 1440;
  std::string labelUtf8;
  std::optional<std::uint32_t> serial;
};

int Format(const std::string& image, const FormatOptions& options);
int Info(const std::string& image);
int Label(const std::string& image, const std::optional<std::string>& labelUtf8);
int List(const std::string& image);
// What fsck.fat -n would report; 0 when the image is sound, 1 when it is
// damaged, 3 when it holds no FAT volume. With `repair`, also mends it.
int Check(const std::string& image, bool repair);
// Points drive A: of the program folder `home` at `image` (A.img, a link
// replaced in one step), or empties it.
int Insert(const std::string& home, const std::string& image);
int Eject(const std::string& home);

// The image drive A: uses now: PELKO_DRIVE_A, else A.img in `home`.
std::string CurrentDriveA(const std::string& home);

}  // namespace pelko::floppy
