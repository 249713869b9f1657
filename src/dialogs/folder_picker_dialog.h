// The folder picker (template 131): a drive combo and a directory list walked
// by double-clicks; OK returns the folder shown, ending in a backslash.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "ui/dialog.h"

namespace pelko::dialogs {

inline constexpr int IDC_PICKER_DRIVES = 1006;
inline constexpr int IDC_PICKER_FOLDERS = 1007;
inline constexpr int IDC_PICKER_PATH = 1008;

class CFolderPickerDialog : public ui::Dialog {
 public:
  CFolderPickerDialog();

  // The start path before DoModal ("" lets the picker choose); the chosen
  // folder after OK. Used as given: no backslash is added.
  std::string folderPath;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;
  std::span<const ui::CommandEntry> CommandTable() const override;

 private:
  void OnDriveChange();
  void OnFolderDoubleClick();
  void ListFolder();
};

// "[-c-]" -> "c:\".
std::string DriveItemToRoot(std::string_view driveItem);

// The folder above `folderPath` ("c:\a\b\" -> "c:\a\"); a path with no folder
// above it ("c:\") comes back unchanged.
std::string ParentFolder(std::string_view folderPath);

// `folderPath` followed by the folder of a listing item ("[b]" -> "b\").
std::string ChildFolder(std::string_view folderPath, std::string_view folderItem);

}  // namespace pelko::dialogs
