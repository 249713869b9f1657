// Texts of the archive commands: the spanned archive's prompts.
#pragma once

#include <string_view>

namespace pelko::res {

// Spanned writer: the floppy is full, %d is the number of the next floppy (Yes / No).
inline constexpr std::string_view kDiskFullInsertDisk =
    "ディスクが一杯です。%d 枚目のディスクを入れてください。";
// Spanned joiner: %d is the number of the floppy wanted next (Yes / No).
inline constexpr std::string_view kInsertDiskNumber = "%d 枚目のディスクを入れてください。";
// A set holds at most this many floppies: the disk number is one signed byte.
inline constexpr std::string_view kTooManyDisks =
    "ディスクが 127 枚を超えるため、これ以上分割して書き込むことはできません。";

}  // namespace pelko::res
