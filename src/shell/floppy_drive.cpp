#include "shell/floppy_drive.h"

#include "platform/user_interface.h"
#include "platform/volume_services.h"
#include "res/texts_main.h"
#include "text/code_page.h"

namespace pelko::shell {

std::optional<std::string> ReadVolumeLabel() {
  win::VolumeInformation info;
  if (!win::GetVolumeInformation(kFloppyRootLower, info)) return std::nullopt;
  return info.label;
}

std::optional<std::string> WaitForDisk() {
  for (;;) {
    if (auto label = ReadVolumeLabel()) return label;
    win::DialogResult answer =
        win::MessageBox(cp932::FromUtf8Literal(res::kInsertDisk),
                        win::MessageBoxButtons::RetryCancel, win::MessageBoxIcon::Warning);
    if (answer != win::DialogResult::Retry) return std::nullopt;
  }
}

FloppySpace QueryFloppySpace() {
  win::DiskFreeSpace space;
  if (!win::GetDiskFreeSpace(kFloppyRootLower, space)) return FloppySpace{};
  return FloppySpace{space.sectorsPerCluster, space.bytesPerSector, space.freeClusters,
                     space.totalClusters};
}

}  // namespace pelko::shell
