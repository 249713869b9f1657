// A program folder of the test's own: PELKO_HOME points at "PELKO" inside a
// temporary folder that stands in for drive C: (PELKO_DRIVE_C), so a test never
// touches the real root. Drive A: is left at its default (A.img in the program
// folder) and D:..Z: are unmapped, whatever the caller's environment said.
// Everything is undone at the end of the scope.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace pelko::test {

class TestProgramFolder {
 public:
  TestProgramFolder();

  // The program folder: host path (no trailing slash) and "C:\PELKO\".
  const std::string& HostPath() const { return home_; }
  std::string WindowsPath() const { return "C:\\PELKO\\"; }
  // A file in it: host path from a UTF-8 name, Windows path from a CP932 name.
  std::string HostPathOf(std::string_view utf8Name) const {
    return home_ + "/" + std::string(utf8Name);
  }
  std::string WindowsPathOf(std::string_view cp932Name) const {
    return WindowsPath() + std::string(cp932Name);
  }

  // The host folder behind drive C:.
  const std::string& CDriveHostPath() const { return cDrive_; }
  // Where drive A:'s image is looked for (it does not exist until a test puts it there).
  std::string FloppyImageHostPath() const { return HostPathOf("A.img"); }

 private:
  TempFolder root_;
  std::string cDrive_;
  std::string home_;
  std::vector<std::unique_ptr<ScopedEnv>> environment_;
};

}  // namespace pelko::test
