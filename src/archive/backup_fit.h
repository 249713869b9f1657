// Whether a new archive fits on the floppy in place of the old one, and over
// how many floppies it would be split when it does not.
#pragma once

#include <cstdint>
#include <optional>

namespace pelko::archive {

// The new archive fits when the floppy's free bytes cover its growth over the
// old one. The growth is taken in 32 bits and read as a signed number, as are
// the free bytes: an archive that does not grow always fits, and a growth of
// exactly the free bytes fits.
bool FitsOnFloppy(std::uint32_t freeBytes, std::uint32_t newSize, std::uint32_t oldSize);

// The number of floppies offered for a split: newSize ÷ capacity, truncated,
// plus 1 (an archive of exactly twice the capacity is offered three) — unless
// the pieces need more: floppy 1 holds a whole capacity, every later floppy
// one block less (its header costs a block), and then that larger count is
// offered, so that a set is never offered fewer floppies than it takes. The
// number is one signed byte in the pieces' headers: nullopt when it would
// exceed 127. The capacity must not be 0.
std::optional<std::int8_t> FloppyCount(std::uint32_t newSize, std::uint32_t capacity);

}  // namespace pelko::archive
