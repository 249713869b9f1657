#include "platform/volume.h"
#include "platform/win_error.h"

namespace pelko::win {

// Until the FAT backend is linked in, drive A: holds no disk.
std::unique_ptr<Volume> OpenFloppyVolume(const std::string& /*imagePath*/) {
  SetLastError(ERROR_NOT_READY);
  return nullptr;
}

}  // namespace pelko::win
