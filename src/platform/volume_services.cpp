#include "platform/volume_services.h"

#include <memory>

#include "platform/volume.h"
#include "text/ascii_case.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

// Only a drive root, "X:\" (either letter case), names a volume.
std::unique_ptr<Volume> OpenRoot(std::string_view root) {
  bool isLetter = root.size() == 3 && text::IsAsciiLetter(root[0]);
  if (!isLetter || root[1] != ':' || (root[2] != '\\' && root[2] != '/')) {
    SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  return OpenVolume(root[0]);
}

}  // namespace

bool GetVolumeInformation(std::string_view root, VolumeInformation& info) {
  auto volume = OpenRoot(root);
  return volume && volume->GetInformation(info);
}

bool SetVolumeLabel(std::string_view root, std::string_view label) {
  auto volume = OpenRoot(root);
  return volume && volume->SetLabel(label);
}

bool GetDiskFreeSpace(std::string_view root, DiskFreeSpace& space) {
  auto volume = OpenRoot(root);
  return volume && volume->GetFreeSpace(space);
}

}  // namespace pelko::win
