#include "archive/backup_fit.h"

#include <algorithm>

#include "archive/span_piece.h"

namespace pelko::archive {

bool FitsOnFloppy(std::uint32_t freeBytes, std::uint32_t newSize, std::uint32_t oldSize) {
  const auto growth = static_cast<std::int32_t>(newSize - oldSize);
  if (growth <= 0) return true;
  return static_cast<std::int32_t>(freeBytes) >= growth;
}

namespace {

// Floppies of this capacity that the span writer fills with `size` bytes.
std::uint64_t FloppiesTaken(std::uint64_t size, std::uint64_t capacity) {
  if (size <= capacity) return 1;
  if (capacity <= kSpanBlockSize) return UINT64_MAX;  // a later floppy takes nothing
  const std::uint64_t perLaterFloppy = capacity - kSpanBlockSize;
  return 1 + (size - capacity + perLaterFloppy - 1) / perLaterFloppy;
}

}  // namespace

std::optional<std::int8_t> FloppyCount(std::uint32_t newSize, std::uint32_t capacity) {
  const std::uint64_t quotientPlusOne = std::uint64_t{newSize / capacity} + 1;
  const std::uint64_t count = std::max(quotientPlusOne, FloppiesTaken(newSize, capacity));
  if (count > static_cast<std::uint64_t>(kMaxDiskNumber)) return std::nullopt;
  return static_cast<std::int8_t>(count);
}

}  // namespace pelko::archive
