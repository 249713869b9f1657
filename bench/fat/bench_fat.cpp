// Copies a 1 400 000-byte file into a fresh 1.44 MB image and back out again,
// with the FAT driver and with mcopy, and prints the medians side by side.
// The aim: each operation faster than mcopy's. Our copy-in ends with the
// flush (fdatasync) every change of the driver ends with, which mcopy does
// not do; a third row shows the same copy-in with the flush left out, the
// like-for-like figure.
//   bench_fat [RUNS]     (default 9)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "fat/block_device.h"
#include "fat/fat_volume.h"
#include "fat/format.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

double Millis(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

Bytes ReadHost(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  Bytes bytes(static_cast<std::size_t>(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// The image file with every flush left out: writes reach the page cache only,
// as mcopy's do.
class UnflushedDevice final : public pelko::fat::BlockDevice {
 public:
  explicit UnflushedDevice(pelko::fat::BlockDevice& inner) : inner_(inner) {}
  std::uint64_t Size() const override { return inner_.Size(); }
  bool IsWriteProtected() const override { return inner_.IsWriteProtected(); }
  pelko::fat::Status Read(std::uint64_t at, std::span<std::uint8_t> b) override {
    return inner_.Read(at, b);
  }
  pelko::fat::Status Write(std::uint64_t at, std::span<const std::uint8_t> b) override {
    return inner_.Write(at, b);
  }
  pelko::fat::Status Flush() override { return pelko::fat::Ok(); }

 private:
  pelko::fat::BlockDevice& inner_;
};

void WriteHost(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

bool Spawn(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool FreshImage(const std::string& path) {
  auto device = pelko::fat::FileDevice::CreateForFormat(path, 1440 * 1024);
  if (!device) return false;
  auto plan = pelko::fat::PlanVolume(*pelko::fat::StandardFloppy(1440));
  return plan && pelko::fat::FormatVolume(**device, *plan, "", 0x12345678).ok();
}

bool OursIn(const std::string& image, const std::string& source, bool flush) {
  auto device = pelko::fat::FileDevice::Open(image);
  if (!device) return false;
  UnflushedDevice unflushed(**device);
  pelko::fat::BlockDevice& target =
      flush ? static_cast<pelko::fat::BlockDevice&>(**device) : unflushed;
  auto volume = pelko::fat::FatVolume::Mount(target);
  if (!volume) return false;
  Bytes content = ReadHost(source);
  return volume->CreateFile({"BIG.BIN"}, false).ok() &&
         volume->WriteFile({"BIG.BIN"}, content).ok();
}

bool OursOut(const std::string& image, const std::string& target) {
  auto device = pelko::fat::FileDevice::Open(image);
  if (!device) return false;
  auto volume = pelko::fat::FatVolume::Mount(**device);
  if (!volume) return false;
  auto content = volume->ReadFile({"BIG.BIN"});
  if (!content) return false;
  WriteHost(target, *content);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  char folderTemplate[] = "/tmp/bench_fat.XXXXXX";
  if (!mkdtemp(folderTemplate)) return 1;
  const std::string folder = folderTemplate;
  const std::string source = folder + "/big.bin", back = folder + "/back.bin";
  const std::string ours = folder + "/ours.img", theirs = folder + "/theirs.img";

  Bytes content(1400000);
  std::mt19937 gen(1);
  for (auto& b : content) b = static_cast<std::uint8_t>(gen());
  WriteHost(source, content);

  std::vector<double> oursIn, oursInUnflushed, oursOut, mcopyIn, mcopyOut;
  for (int i = 0; i < runs; ++i) {
    if (!FreshImage(ours) || !FreshImage(theirs)) return std::fprintf(stderr, "cannot format\n"), 1;
    auto t = Clock::now();
    if (!OursIn(ours, source, true)) return std::fprintf(stderr, "copy in failed\n"), 1;
    oursIn.push_back(Millis(t));
    if (!FreshImage(theirs)) return 1;
    t = Clock::now();
    if (!OursIn(theirs, source, false)) return std::fprintf(stderr, "copy in failed\n"), 1;
    oursInUnflushed.push_back(Millis(t));
    if (!FreshImage(theirs)) return 1;
    std::remove(back.c_str());
    t = Clock::now();
    if (!OursOut(ours, back)) return std::fprintf(stderr, "copy out failed\n"), 1;
    oursOut.push_back(Millis(t));
    if (ReadHost(back) != content) return std::fprintf(stderr, "copy differs\n"), 1;

    t = Clock::now();
    if (!Spawn({"mcopy", "-i", theirs, source, "::BIG.BIN"}))
      return std::fprintf(stderr, "mcopy in failed\n"), 1;
    mcopyIn.push_back(Millis(t));
    std::remove(back.c_str());
    t = Clock::now();
    if (!Spawn({"mcopy", "-n", "-i", theirs, "::BIG.BIN", back}))
      return std::fprintf(stderr, "mcopy out failed\n"), 1;
    mcopyOut.push_back(Millis(t));
  }
  Spawn({"rm", "-rf", folder});

  std::printf("1 400 000-byte file, 1.44 MB image, median of %d runs\n", runs);
  std::printf("%-22s %12s %12s   %s\n", "operation", "pelko (ms)", "mcopy (ms)",
              "aim: faster than mcopy");
  auto row = [](const char* name, const std::vector<double>& a, const std::vector<double>& b) {
    double x = Median(a), y = Median(b);
    std::printf("%-22s %12.2f %12.2f   %s\n", name, x, y, x < y ? "met" : "NOT met");
    return x < y;
  };
  row("copy in, flushed", oursIn, mcopyIn);
  bool in = row("copy in, not flushed", oursInUnflushed, mcopyIn);
  bool out = row("copy out", oursOut, mcopyOut);
  return in && out ? 0 : 3;
}
