// Formatting blank floppies: the standard sizes with the values DOS and
// mformat give them, and any other layout a test needs (FAT16 included).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "fat/block_device.h"
#include "fat/boot_sector.h"
#include "fat/fat_result.h"

namespace pelko::fat {

// The BPB of a standard floppy of `sizeKiB` (160, 180, 320, 360, 720, 1200,
// 1440, 2880); nullopt for any other size.
std::optional<BootSector> StandardFloppy(std::uint32_t sizeKiB);
std::vector<std::uint32_t> StandardFloppySizes();

// Completes `bpb` (sectors per FAT when 0, FAT type, layout) and checks it as
// a reader would. ERROR_INVALID_PARAMETER when no valid volume results.
Result<BootSector> PlanVolume(BootSector bpb);

// Writes an empty volume: boot sector, both FATs, the root directory with the
// label entry (a label already checked by MakeVolumeLabel; "" for none), and
// the label and serial in the boot sector. The data area is left as it is.
Status FormatVolume(BlockDevice& device, const BootSector& plan, std::string_view label,
                    std::uint32_t serial);

}  // namespace pelko::fat
