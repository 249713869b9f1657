// Puts a 1 400 000-byte archive on a fresh 1.44 MB floppy image the way a
// backup does (copied to drive A:, committed last), once with the copy alone
// and once read back from the image and compared, and prints the medians
// and what the read-back adds.
//   bench_floppy_write [RUNS]     (default 9)
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archive/floppy_files.h"
#include "fat/block_device.h"
#include "fat/format.h"
#include "platform/file_services.h"

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

bool FreshImage(const std::string& path) {
  auto device = pelko::fat::FileDevice::CreateForFormat(path, 1440 * 1024);
  if (!device) return false;
  auto plan = pelko::fat::PlanVolume(*pelko::fat::StandardFloppy(1440));
  return plan && pelko::fat::FormatVolume(**device, *plan, "BENCH", 0x12345678).ok();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  char folderTemplate[] = "/tmp/bench_floppy_write.XXXXXX";
  if (!mkdtemp(folderTemplate)) return 1;
  const std::string folder = folderTemplate;
  const std::string image = folder + "/A.img";
  setenv("PELKO_DRIVE_A", image.c_str(), 1);
  setenv("PELKO_DRIVE_C", folder.c_str(), 1);
  {
    std::vector<char> content(1400000);
    std::mt19937 gen(1);
    for (char& b : content) b = static_cast<char>(gen());
    std::ofstream out(folder + "/archive.lzh", std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  const char* source = "C:\\archive.lzh";
  const char* target = "a:\\archive.tmp";

  std::vector<double> copied, verified;
  for (int i = 0; i < runs; ++i) {
    if (!FreshImage(image)) return std::fprintf(stderr, "cannot format\n"), 1;
    auto t = Clock::now();
    if (!pelko::win::CopyFile(source, target, true))
      return std::fprintf(stderr, "copy failed\n"), 1;
    copied.push_back(Millis(t));
    if (!FreshImage(image)) return std::fprintf(stderr, "cannot format\n"), 1;
    t = Clock::now();
    if (!pelko::archive::CopyAndVerify(source, target))
      return std::fprintf(stderr, "copy and verify failed\n"), 1;
    verified.push_back(Millis(t));
  }
  std::string rm = "rm -rf '" + folder + "'";
  if (std::system(rm.c_str()) != 0) return 1;

  const double plain = Median(copied), checked = Median(verified);
  std::printf("1 400 000-byte archive onto a 1.44 MB image, median of %d runs\n", runs);
  std::printf("%-28s %10.2f ms\n", "copy, committed last", plain);
  std::printf("%-28s %10.2f ms\n", "copy, read back, compared", checked);
  std::printf("%-28s %10.2f ms (%+.0f%%)\n", "read-back adds", checked - plain,
              100.0 * (checked - plain) / plain);
  return 0;
}
