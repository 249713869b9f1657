#include "test_images.h"

#include <algorithm>
#include <filesystem>

#include "fat/format.h"
#include "oracle.h"
#include "support/run_command.h"

namespace pelko::fat::test {

using pelko::test::ShellQuote;

void Floppy1440::Make(const std::string& path) {
  ToolRun r = RunTool("mformat -C -i " + ShellQuote(path) + " -f 1440 -N 1234ABCD ::");
  ASSERT_EQ(r.exitCode, 0) << r.output;
}

void Floppy720::Make(const std::string& path) {
  auto plan = PlanVolume(*StandardFloppy(720));
  ASSERT_TRUE(plan.ok());
  auto device = FileDevice::CreateForFormat(path, 720 * 1024);
  ASSERT_TRUE(device.ok());
  ASSERT_TRUE(FormatVolume(**device, *plan, "", 0x0BADF00D).ok());
}

void Fat16Volume::Make(const std::string& path) {
  ToolRun r = RunTool("mkfs.fat -F 16 -s 1 -r 512 -i 5EED1616 -C " + ShellQuote(path) + " 4096");
  ASSERT_EQ(r.exitCode, 0) << r.output;
}

std::vector<std::string> FixtureImageNames() {
  std::vector<std::string> names;
  for (const auto& file : std::filesystem::directory_iterator(PELKO_FAT_FIXTURES)) {
    if (file.path().extension() == ".bin") names.push_back(file.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void CopyFixtureImage(const std::string& name, const std::string& hostPath) {
  std::vector<std::uint8_t> bytes =
      ReadBytes(std::string(PELKO_FAT_FIXTURES) + "/" + name + ".bin");
  ASSERT_GE(bytes.size(), 36u) << name;
  auto le = [&](std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | bytes[at + i];
    return v;
  };
  std::uint32_t sectors = le(19, 2) != 0 ? le(19, 2) : le(32, 4);
  bytes.resize(std::size_t{sectors} * le(11, 2), 0);
  WriteBytes(hostPath, bytes);
}

ImageFixture::ImageFixture(void (*make)(const std::string&))
    : folder_("pelko-fat"), path_(folder_.Sub("disk.img")) {
  make(path_);
}

FatVolume& ImageFixture::Mount() {
  volume_.reset();
  device_.reset();
  auto device = FileDevice::Open(path_);
  EXPECT_TRUE(device.ok()) << "image cannot be opened";
  if (!device) throw std::runtime_error("no image");
  device_ = std::move(*device);
  auto volume = FatVolume::Mount(*device_);
  EXPECT_TRUE(volume.ok()) << "image does not mount";
  if (!volume) throw std::runtime_error("no volume");
  volume_ = std::make_unique<FatVolume>(std::move(*volume));
  return *volume_;
}

}  // namespace pelko::fat::test
