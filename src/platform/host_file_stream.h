// A file stream over a host file descriptor.
#pragma once

#include <memory>
#include <string>

#include "platform/file_stream.h"

namespace pelko::win {

// Opens a regular host file; anything else (folder, device, FIFO) is refused
// with ERROR_ACCESS_DENIED so that no caller blocks on it or reads forever.
std::unique_ptr<FileStream> OpenHostFile(const std::string& hostPath, OpenMode mode);

// ERROR_FILE_NOT_FOUND, or ERROR_PATH_NOT_FOUND when the folder that should
// hold `hostPath` is missing, as Windows tells the two apart.
bool FailMissing(const std::string& hostPath);

}  // namespace pelko::win
