// The check a floppy passes before it is written: every chain of a full
// 1.44 MB floppy (2 847 clusters, 30 folders of 8 files each, in memory and
// through an image file) followed once. Prints the median of RUNS checks.
//   bench_fat_check [RUNS]     (default 201)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fat/block_device.h"
#include "fat/fat_check.h"
#include "fat/fat_volume.h"
#include "fat/format.h"

namespace {

using Clock = std::chrono::steady_clock;

bool Fill(pelko::fat::BlockDevice& device) {
  auto plan = pelko::fat::PlanVolume(*pelko::fat::StandardFloppy(1440));
  if (!plan || !pelko::fat::FormatVolume(device, *plan, "", 0x12345678).ok()) return false;
  auto volume = pelko::fat::FatVolume::Mount(device);
  if (!volume) return false;
  std::vector<std::uint8_t> content(5500, 0xA5);
  for (int d = 0; d < 30; ++d) {
    std::string folder = "DIR" + std::to_string(d);
    if (!volume->MakeDirectory({folder}).ok()) return false;
    for (int f = 0; f < 8; ++f) {
      pelko::fat::Path file{folder, "FILE" + std::to_string(f) + ".BIN"};
      if (!volume->CreateFile(file, true).ok() || !volume->WriteFile(file, content).ok())
        return false;
    }
  }
  return true;
}

double MedianMicros(pelko::fat::BlockDevice& device, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto t = Clock::now();
    auto report = pelko::fat::CheckVolume(device);
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
    if (!report || !report->Sound()) {
      std::fprintf(stderr, "the filled floppy does not check sound\n");
      std::exit(1);
    }
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 201;
  pelko::fat::MemoryDevice memory(std::vector<std::uint8_t>(1440 * 1024, 0));
  if (!Fill(memory)) return std::fprintf(stderr, "cannot fill the floppy\n"), 1;

  char path[] = "/tmp/bench_fat_check.XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return 1;
  const auto& bytes = memory.Bytes();
  bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  ::close(fd);
  auto file = pelko::fat::FileDevice::Open(path);
  if (!written || !file) return std::fprintf(stderr, "cannot write the image\n"), 1;

  auto volume = pelko::fat::FatVolume::Mount(memory);
  std::printf("1.44 MB floppy, %u of %u clusters used, 30 folders, 240 files\n",
              volume->TotalClusters() - volume->FreeClusters(), volume->TotalClusters());
  std::printf("check in memory:        %8.1f us (median of %d)\n", MedianMicros(memory, runs),
              runs);
  std::printf("check of an image file: %8.1f us (median of %d)\n", MedianMicros(**file, runs),
              runs);
  ::unlink(path);
  return 0;
}
