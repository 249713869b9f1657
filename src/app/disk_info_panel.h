// The text of the main window's information panel.
#pragma once

#include <string>

#include "platform/volume_services.h"

namespace pelko::app {

// The panel's text for a volume and its free space (CP932): label, serial,
// free/total bytes and file system, the figures as signed 32-bit numbers.
std::string FormatDiskInfo(const win::VolumeInformation& volume, const win::DiskFreeSpace& space);

// The panel's text for the floppy in drive A: now, or "ディスクがありません。".
std::string DiskInfoText();

}  // namespace pelko::app
