// A fresh host folder for one test, removed with everything in it at the end.
#pragma once

#include <string>
#include <string_view>

namespace pelko::test {

class TempFolder {
 public:
  explicit TempFolder(std::string_view prefix = "pelko-test");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Host path (UTF-8), no trailing slash.
  const std::string& Path() const { return path_; }
  // Path() + "/" + relative.
  std::string Sub(std::string_view relative) const;

 private:
  std::string path_;
};

// Small host-file helpers for arranging a test.
void WriteHostFile(const std::string& hostPath, std::string_view bytes);
std::string ReadHostFile(const std::string& hostPath);  // "" if missing
bool HostPathExists(const std::string& hostPath);       // the name itself (lstat)

}  // namespace pelko::test
