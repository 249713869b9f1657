// The system open-file dialog: the host asks for a name; the framework
// accepts an existing file, or, with OFN_CREATEPROMPT, a new name in an
// existing folder after the user agrees to create it (the file itself is not
// created). The result is a drive-letter path.
#pragma once

#include <string>

namespace pelko::ui {

inline constexpr unsigned OFN_PATHMUSTEXIST = 0x0800;
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;
inline constexpr unsigned OFN_CREATEPROMPT = 0x2000;

class FileDialog {
 public:
  explicit FileDialog(unsigned flags) : flags_(flags) {}
  // IDOK with GetPathName() set, or IDCANCEL.
  int DoModal();
  const std::string& GetPathName() const { return pathName_; }

 private:
  unsigned flags_;
  std::string pathName_;
};

}  // namespace pelko::ui
