// A drive letter backed by a host folder (C:, and D:..Z: when mapped).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/volume.h"

namespace pelko::win {

class HostVolume : public Volume {
 public:
  explicit HostVolume(std::string rootFolder) : root_(std::move(rootFolder)) {}

  bool GetInformation(VolumeInformation& info) override;
  bool SetLabel(std::string_view label) override;
  bool GetFreeSpace(DiskFreeSpace& space) override;

  std::unique_ptr<FileStream> Open(const RelativePath& path, OpenMode mode) override;
  bool GetInformation(const RelativePath& path, FileInformation& info) override;
  bool SetLastWriteTime(const RelativePath& path, std::int64_t unixTime) override;
  bool Delete(const RelativePath& path) override;
  bool Rename(const RelativePath& from, const RelativePath& to) override;
  bool Replace(const RelativePath& from, const RelativePath& to) override;
  bool CreateDirectory(const RelativePath& path) override;
  bool RemoveDirectory(const RelativePath& path) override;
  bool List(const RelativePath& folder, std::vector<FindData>& entries,
            std::size_t& leftOut) override;
  std::string Identity() const override { return "host:" + root_; }

  // The host path of a relative path; nullopt (ERROR_INVALID_NAME) when a
  // component has no host form.
  std::optional<std::string> HostPathOf(const RelativePath& path) const;

  // True when both names lead to the same host file (hard links included).
  bool SameFile(const RelativePath& a, const RelativePath& b) const;

 private:
  std::string root_;
};

// Null and ERROR_PATH_NOT_FOUND when the folder does not exist.
std::unique_ptr<Volume> OpenHostVolume(const std::string& rootFolder);

}  // namespace pelko::win
