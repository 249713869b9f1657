#include "archive/backup_fit.h"

#include "archive/span_piece.h"

namespace pelko::archive {

bool FitsOnFloppy(std::uint32_t freeBytes, std::uint32_t newSize, std::uint32_t oldSize) {
  const auto growth = static_cast<std::int32_t>(newSize - oldSize);
  if (growth <= 0) return true;
  return static_cast<std::int32_t>(freeBytes) >= growth;
}

std::optional<std::int8_t> FloppyCount(std::uint32_t newSize, std::uint32_t capacity) {
  const std::uint32_t quotient = newSize / capacity;
  if (quotient >= static_cast<std::uint32_t>(kMaxDiskNumber)) return std::nullopt;
  return static_cast<std::int8_t>(quotient + 1);
}

}  // namespace pelko::archive
