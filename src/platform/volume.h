// One volume behind a drive letter: a host folder, or the FAT floppy of A:.
// The file services resolve a drive-letter path to a volume and a relative
// path of CP932 components, and call these operations. A volume is opened
// afresh for every service call, so a swapped floppy is seen at once.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_services.h"
#include "platform/file_stream.h"
#include "platform/volume_services.h"

namespace pelko::win {

using RelativePath = std::vector<std::string>;  // CP932 components; empty = root

class Volume {
 public:
  virtual ~Volume() = default;

  virtual bool GetInformation(VolumeInformation& info) = 0;
  virtual bool SetLabel(std::string_view label) = 0;
  virtual bool GetFreeSpace(DiskFreeSpace& space) = 0;

  virtual std::unique_ptr<FileStream> Open(const RelativePath& path, OpenMode mode) = 0;
  virtual bool GetInformation(const RelativePath& path, FileInformation& info) = 0;
  virtual bool SetLastWriteTime(const RelativePath& path, std::int64_t unixTime) = 0;
  virtual bool Delete(const RelativePath& path) = 0;
  // Within this volume; never replaces an existing target (183).
  virtual bool Rename(const RelativePath& from, const RelativePath& to) = 0;
  // Within one folder of this volume, over an existing target file: at every
  // moment the target's name holds its old content or the source's.
  virtual bool Replace(const RelativePath& from, const RelativePath& to) = 0;
  virtual bool CreateDirectory(const RelativePath& path) = 0;
  virtual bool RemoveDirectory(const RelativePath& path) = 0;
  virtual bool List(const RelativePath& folder, std::vector<FindData>& entries,
                    std::size_t& leftOut) = 0;

  // Two volumes are the same when a rename between them works.
  virtual std::string Identity() const = 0;
};

// Opens the volume of a drive letter ('A'..'Z'); null with the last-error code
// set (ERROR_NOT_READY for an empty floppy drive, ERROR_PATH_NOT_FOUND for an
// unmapped letter).
std::unique_ptr<Volume> OpenVolume(char drive);

// The floppy of drive A: (implemented over fat/); null and ERROR_NOT_READY
// when there is no readable FAT volume at `imagePath` (a host path).
std::unique_ptr<Volume> OpenFloppyVolume(const std::string& imagePath);

}  // namespace pelko::win
