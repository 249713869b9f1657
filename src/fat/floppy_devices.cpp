#include "fat/floppy_devices.h"

#include <grp.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "fat/block_device.h"

namespace pelko::fat {
namespace {

namespace fs = std::filesystem;

// One line of a sysfs attribute, blanks around it cut.
std::string Attribute(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  std::size_t first = line.find_first_not_of(" \t");
  std::size_t last = line.find_last_not_of(" \t\r");
  return first == std::string::npos ? "" : line.substr(first, last - first + 1);
}

// mountinfo writes a blank, tab, newline or backslash in a path as \ooo.
std::string Unescape(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() &&
        std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                    field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                    [](char c) { return c >= '0' && c <= '7'; })) {
      out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

// "major:minor" of each mounted block device -> its first mount point.
std::map<std::string, std::string> MountedDevices(const std::string& mountInfo) {
  std::map<std::string, std::string> mounted;
  std::ifstream in(mountInfo);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string id, parent, device, root, point;
    if (fields >> id >> parent >> device >> root >> point) mounted.emplace(device, Unescape(point));
  }
  return mounted;
}

std::string ModelOf(const fs::path& block) {
  std::string vendor = Attribute(block / "device" / "vendor");
  std::string model = Attribute(block / "device" / "model");
  if (vendor.empty() || model.empty()) return vendor + model;
  return vendor + " " + model;
}

// The mount point of the device or of its first mounted partition.
std::string MountPointOf(const fs::path& block, const std::map<std::string, std::string>& mounted) {
  std::vector<fs::path> candidates{block};
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(block, error)) {
    if (fs::exists(entry.path() / "partition", error)) candidates.push_back(entry.path());
  }
  for (const fs::path& candidate : candidates) {
    auto found = mounted.find(Attribute(candidate / "dev"));
    if (found != mounted.end()) return found->second;
  }
  return "";
}

}  // namespace

std::vector<FloppyDrive> ListFloppyDrives(const std::string& sysBlock,
                                          const std::string& mountInfo) {
  const auto mounted = MountedDevices(mountInfo);
  std::vector<FloppyDrive> drives;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(sysBlock, error)) {
    const fs::path& block = entry.path();
    if (Attribute(block / "removable") != "1") continue;
    std::uint64_t sectors = 0;
    std::istringstream(Attribute(block / "size")) >> sectors;
    const std::uint64_t bytes = sectors * 512;  // sysfs counts 512-byte sectors
    if (bytes > kLargestFloppyBytes) continue;
    std::string name = block.filename().string();
    std::replace(name.begin(), name.end(), '!', '/');  // sysfs spells "/" in a name as "!"
    drives.push_back({"/dev/" + name, bytes, ModelOf(block), MountPointOf(block, mounted)});
  }
  std::sort(drives.begin(), drives.end(),
            [](const FloppyDrive& a, const FloppyDrive& b) { return a.devicePath < b.devicePath; });
  return drives;
}

std::string GroupToJoin(const std::string& devicePath) {
  struct stat st {};
  if (::stat(devicePath.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) return "";
  if (st.st_gid == 0 || (st.st_mode & S_IRGRP) == 0) return "";
  const group* owner = ::getgrgid(st.st_gid);
  return owner == nullptr ? "" : owner->gr_name;
}

}  // namespace pelko::fat
