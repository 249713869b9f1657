#include "dialogs/folder_picker_dialog.h"

#include "templates/templates.h"
#include "text/code_page.h"
#include "ui/directory_listing.h"

namespace pelko::dialogs {
namespace {

constexpr std::string_view kParentItem = "[..]";
constexpr std::string_view kAllNames = "*.*";

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

std::string DriveItemToRoot(std::string_view driveItem) {
  // Drive items are plain ASCII, so byte-wise replacing is safe here.
  std::string root(driveItem);
  ReplaceAll(root, "[-", "");
  ReplaceAll(root, "-]", ":\\");
  return root;
}

std::string ParentFolder(std::string_view folderPath) {
  if (folderPath.empty()) return std::string();
  std::string_view withoutLast = folderPath.substr(0, folderPath.size() - 1);
  std::size_t slash = cp932::FindLastBackslash(withoutLast);
  if (slash == std::string_view::npos) return std::string(folderPath);
  return std::string(withoutLast.substr(0, slash + 1));
}

std::string ChildFolder(std::string_view folderPath, std::string_view folderItem) {
  // Only the listing's own brackets go: a bracket inside the name, or a trail
  // byte 0x5B/0x5D of a double-byte character (the 0x5B of "ー"), stays.
  std::string_view name = folderItem;
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
    name = name.substr(1, name.size() - 2);
  }
  return std::string(folderPath) + std::string(name) + "\\";
}

CFolderPickerDialog::CFolderPickerDialog() : Dialog(templates::FolderPickerTemplate()) {}

std::span<const ui::CommandEntry> CFolderPickerDialog::CommandTable() const {
  static constexpr ui::CommandEntry kCommands[] = {
      ui::OnNotify<&CFolderPickerDialog::OnDriveChange>(IDC_PICKER_DRIVES,
                                                        ui::Notification::SelectionChange),
      ui::OnNotify<&CFolderPickerDialog::OnFolderDoubleClick>(IDC_PICKER_FOLDERS,
                                                              ui::Notification::DoubleClick),
  };
  return kCommands;
}

void CFolderPickerDialog::DoDataExchange(ui::DataExchange& dx) {
  dx.Control(IDC_PICKER_DRIVES);
  dx.Control(IDC_PICKER_FOLDERS);
  dx.Text(IDC_PICKER_PATH, folderPath);
}

bool CFolderPickerDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  ui::ComboBox drives = GetComboBox(IDC_PICKER_DRIVES);
  drives.Dir(ui::DDL_DRIVES | ui::DDL_EXCLUSIVE, kAllNames);
  // Item 1 is the first hard disk after the floppy; with a single drive
  // listed, that one is the only choice.
  int startItem = drives.GetCount() > 1 ? 1 : 0;
  drives.SetCurSel(startItem);
  if (folderPath.empty() && drives.GetCount() > 0) {
    folderPath = DriveItemToRoot(drives.GetLBText(startItem));
  }
  ListFolder();
  UpdateData(false);
  return true;
}

void CFolderPickerDialog::OnDriveChange() {
  ui::ComboBox drives = GetComboBox(IDC_PICKER_DRIVES);
  int selected = drives.GetCurSel();
  if (selected < 0) return;
  folderPath = DriveItemToRoot(drives.GetLBText(selected));
  ListFolder();
  UpdateData(false);
}

void CFolderPickerDialog::OnFolderDoubleClick() {
  ui::ListBox folders = GetListBox(IDC_PICKER_FOLDERS);
  int selected = folders.GetCurSel();
  if (selected < 0) return;
  std::string item = folders.GetText(selected);
  folderPath = item == kParentItem ? ParentFolder(folderPath) : ChildFolder(folderPath, item);
  ListFolder();
  UpdateData(false);
}

void CFolderPickerDialog::ListFolder() {
  ui::ListBox folders = GetListBox(IDC_PICKER_FOLDERS);
  folders.ResetContent();
  folders.Dir(ui::DDL_DIRECTORY | ui::DDL_EXCLUSIVE, folderPath + std::string(kAllNames));
}

}  // namespace pelko::dialogs
