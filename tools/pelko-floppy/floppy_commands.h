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

// The floppy drives of this machine that can be drive A:, one a line, with
// their size, model and whether the desktop mounted them.
int Devices();
// Prints the program folder `home`.
int Home(const std::string& home);
// The program folder the tool itself uses (PELKO_HOME, an installed copy's
// $XDG_DATA_HOME/pelko, else this tool's folder); with `make`, an installed
// copy's folder is made when missing.
std::string DefaultHome(bool make);
// Why an image or device at `path` could not be opened (a code of
// fat::FileDevice::Open), in a few words for the terminal.
std::string OpenProblem(const std::string& path, std::uint32_t code);

}  // namespace pelko::floppy
