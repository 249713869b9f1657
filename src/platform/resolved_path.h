// A drive-letter path resolved to its volume and the path inside it.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "platform/volume.h"

namespace pelko::win {

struct ResolvedPath {
  char drive = 0;
  std::unique_ptr<Volume> volume;
  RelativePath path;
};

// Parses the path and opens its drive afresh; nullopt with the last-error
// code of whichever step failed.
std::optional<ResolvedPath> ResolvePath(std::string_view windowsPath);

}  // namespace pelko::win
