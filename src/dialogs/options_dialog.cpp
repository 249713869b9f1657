#include "dialogs/options_dialog.h"

#include <algorithm>

#include "dialogs/folder_picker_dialog.h"
#include "dialogs/selected_entries.h"
#include "platform/program_folder.h"
#include "res/texts_dialogs.h"
#include "res/texts_editors.h"
#include "shell/error_texts.h"
#include "store/exclusion_lists.h"
#include "store/options_record.h"
#include "templates/templates.h"
#include "text/code_page.h"

namespace pelko::dialogs {
namespace {

constexpr int kOverwriteRadios[] = {IDC_ALWAYS_OVERWRITE, IDC_CONFIRM_OVERWRITE,
                                    IDC_NEVER_OVERWRITE};
constexpr int kDirectoryRadios[] = {IDC_ALWAYS_CREATE, IDC_CONFIRM_CREATE, IDC_NEVER_CREATE};
// The middle radio, "確認する", stands for a stored mode outside 0 to 2, so
// that one radio of each group is always checked.
constexpr int kConfirmPosition = 1;

constexpr int kExclusionControls[] = {
    IDC_NEW_EXCLUDED_FILE,       IDC_ADD_EXCLUDED_FILE,   IDC_DELETE_EXCLUDED_FILES,
    IDC_EXCLUDED_FILES,          IDC_NEW_EXCLUDED_FOLDER, IDC_ADD_EXCLUDED_FOLDER,
    IDC_DELETE_EXCLUDED_FOLDERS, IDC_EXCLUDED_FOLDERS,    IDC_SEARCH_DEPTH,
};

constexpr std::size_t kMaxExcludedNameBytes = store::kExclusionEntrySize - 1;
constexpr std::size_t kMaxDestinationBytes = store::kDestinationFolderFieldSize - 1;
constexpr std::uint8_t kNoArchiveFormat = 0xFF;

std::vector<std::string> ListItems(const ui::ListBox& list) {
  const int count = list.GetCount();
  std::vector<std::string> items;
  items.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) items.push_back(list.GetText(i));
  return items;
}

}  // namespace

std::string RemoveBlanks(std::string_view text) {
  // A blank (0x20) is never the trail byte of a double-byte character.
  std::string result;
  std::copy_if(text.begin(), text.end(), std::back_inserter(result),
               [](char c) { return c != ' '; });
  return result;
}

COptionsDialog::COptionsDialog() : Dialog(templates::OptionsTemplate()) {}

std::span<const ui::CommandEntry> COptionsDialog::CommandTable() const {
  static constexpr ui::CommandEntry kCommands[] = {
      ui::OnClicked<&COptionsDialog::OnDestinationRule>(IDC_EXTRACT_UNASSOCIATED),
      ui::OnClicked<&COptionsDialog::OnBrowse>(IDC_BROWSE),
      ui::OnClicked<&COptionsDialog::OnAddExcludedFile>(IDC_ADD_EXCLUDED_FILE),
      ui::OnClicked<&COptionsDialog::OnDeleteExcludedFiles>(IDC_DELETE_EXCLUDED_FILES),
      ui::OnClicked<&COptionsDialog::OnExclusionRule>(IDC_EXCLUDE_NAMES),
      ui::OnClicked<&COptionsDialog::OnAddExcludedFolder>(IDC_ADD_EXCLUDED_FOLDER),
      ui::OnClicked<&COptionsDialog::OnDeleteExcludedFolders>(IDC_DELETE_EXCLUDED_FOLDERS),
  };
  return kCommands;
}

void COptionsDialog::DoDataExchange(ui::DataExchange& dx) {
  dx.Control(IDC_EXCLUDED_FOLDERS);
  dx.Control(IDC_EXCLUDED_FILES);
  dx.Text(IDC_DESTINATION, destination);
  dx.Text(IDC_NEW_EXCLUDED_FILE, newExcludedFile);
  dx.Text(IDC_NEW_EXCLUDED_FOLDER, newExcludedFolder);
  dx.Int(IDC_SEARCH_DEPTH, searchDepth);
  dx.MinMaxInt(searchDepth, store::kMinSearchDepth, store::kMaxSearchDepth);
}

bool COptionsDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  LoadOptionsRecord();
  LoadExcludedFiles();
  LoadExcludedFolders();
  UpdateData(false);
  OnDestinationRule();
  OnExclusionRule();
  return true;
}

void COptionsDialog::LoadOptionsRecord() {
  // No record gives the dialog's defaults, without a message.
  store::OptionsRecord record = store::ReadOptionsRecord(store::DialogOptionsDefaults())
                                    .value_or(store::DialogOptionsDefaults());
  auto radioAt = [](std::uint8_t mode) { return mode <= 2 ? int{mode} : kConfirmPosition; };
  CheckRadioButton(IDC_ALWAYS_OVERWRITE, IDC_NEVER_OVERWRITE,
                   kOverwriteRadios[radioAt(record.overwriteMode)]);
  CheckRadioButton(IDC_ALWAYS_CREATE, IDC_NEVER_CREATE,
                   kDirectoryRadios[radioAt(record.directoryMode)]);
  CheckDlgButton(IDC_IGNORE_BROKEN_HEADERS, record.ignoreBrokenHeaders != 0 ? 1 : 0);
  // 0xFF, or any position the combo does not have, selects none.
  GetComboBox(IDC_ARCHIVE_FORMAT).SetCurSel(record.archiveFormat);
  CheckDlgButton(IDC_EXTRACT_UNASSOCIATED, record.extractUnassociated != 0 ? 1 : 0);
  CheckDlgButton(IDC_KEEP_NEWER, record.keepNewer != 0 ? 1 : 0);
  destination = record.destinationFolder;
}

void COptionsDialog::LoadExcludedFiles() {
  std::optional<store::ExcludedFilesList> files = store::ReadExcludedFilesList();
  if (!files) {
    CheckDlgButton(IDC_EXCLUDE_NAMES, 0);
    return;
  }
  CheckDlgButton(IDC_EXCLUDE_NAMES, files->excludeEnabled != 0 ? 1 : 0);
  ui::ListBox list = GetListBox(IDC_EXCLUDED_FILES);
  for (const std::string& entry : files->entries) list.AddString(entry);
}

void COptionsDialog::LoadExcludedFolders() {
  std::optional<store::ExcludedFoldersList> folders = store::ReadExcludedFoldersList();
  if (!folders) return;
  searchDepth = folders->searchDepth;
  ui::ListBox list = GetListBox(IDC_EXCLUDED_FOLDERS);
  for (const std::string& entry : folders->entries) list.AddString(entry);
}

void COptionsDialog::OnDestinationRule() {
  bool enable = IsDlgButtonChecked(IDC_EXTRACT_UNASSOCIATED) != 0;
  EnableDlgItem(IDC_DESTINATION, enable);
  EnableDlgItem(IDC_BROWSE, enable);
}

void COptionsDialog::OnExclusionRule() {
  bool enable = IsDlgButtonChecked(IDC_EXCLUDE_NAMES) != 0;
  for (int id : kExclusionControls) EnableDlgItem(id, enable);
}

void COptionsDialog::OnBrowse() {
  UpdateData(true);  // a failed range check has shown its message; browsing goes on
  CFolderPickerDialog picker;
  picker.folderPath = destination;
  if (picker.DoModal() == ui::IDOK) destination = picker.folderPath;
  UpdateData(false);
}

void COptionsDialog::AddExcludedEntry(std::string& newEntry, int editId, int listId) {
  UpdateData(true);  // a failed range check has shown its message; adding goes on
  newEntry = RemoveBlanks(newEntry);
  if (newEntry.size() > kMaxExcludedNameBytes) {
    // Refused here rather than cut: the stored field holds 24 bytes.
    MessageBox(cp932::FromUtf8Literal(res::kExcludedNameTooLong), win::MessageBoxButtons::Ok,
               win::MessageBoxIcon::Warning);
    UpdateData(false);
    GotoDlgCtrl(editId);
    return;
  }
  if (!newEntry.empty()) GetListBox(listId).AddString(newEntry);
  UpdateData(false);
}

void COptionsDialog::OnAddExcludedFile() {
  AddExcludedEntry(newExcludedFile, IDC_NEW_EXCLUDED_FILE, IDC_EXCLUDED_FILES);
}

void COptionsDialog::OnAddExcludedFolder() {
  AddExcludedEntry(newExcludedFolder, IDC_NEW_EXCLUDED_FOLDER, IDC_EXCLUDED_FOLDERS);
}

void COptionsDialog::OnDeleteExcludedFiles() {
  DeleteSelectedEntries(GetListBox(IDC_EXCLUDED_FILES));
}

void COptionsDialog::OnDeleteExcludedFolders() {
  DeleteSelectedEntries(GetListBox(IDC_EXCLUDED_FOLDERS));
}

void COptionsDialog::OnOK() {
  if (!UpdateData(true)) return;
  if (destination.size() > kMaxDestinationBytes) {
    // Refused rather than cut: the stored field holds 499 bytes and its NUL.
    MessageBox(cp932::FromUtf8Literal(res::kDestinationTooLong), win::MessageBoxButtons::Ok,
               win::MessageBoxIcon::Warning);
    GotoDlgCtrl(IDC_DESTINATION);
    return;
  }
  // A file that cannot be created is reported and the others are still written.
  SaveOptionsRecord();
  SaveExcludedFiles();
  SaveExcludedFolders();
  EndDialog(ui::IDOK);
}

void COptionsDialog::SaveOptionsRecord() {
  auto checkedPosition = [this](const int(&radios)[3]) {
    for (int position = 0; position < 3; ++position) {
      if (IsDlgButtonChecked(radios[position])) return static_cast<std::uint8_t>(position);
    }
    return static_cast<std::uint8_t>(kConfirmPosition);
  };
  store::OptionsRecord record;
  record.overwriteMode = checkedPosition(kOverwriteRadios);
  record.directoryMode = checkedPosition(kDirectoryRadios);
  record.ignoreBrokenHeaders = IsDlgButtonChecked(IDC_IGNORE_BROKEN_HEADERS);
  int format = GetComboBox(IDC_ARCHIVE_FORMAT).GetCurSel();
  record.archiveFormat = format < 0 ? kNoArchiveFormat : static_cast<std::uint8_t>(format);
  record.extractUnassociated = IsDlgButtonChecked(IDC_EXTRACT_UNASSOCIATED);
  record.keepNewer = IsDlgButtonChecked(IDC_KEEP_NEWER);
  record.destinationFolder = destination;
  std::string path = win::ProgramFolderPath(store::kOptionsFileName);
  if (!store::WriteOptionsRecord(record))
    shell::ShowFileErrorText(shell::FileErrorCause::Create, path);
}

void COptionsDialog::SaveExcludedFiles() {
  store::ExcludedFilesList files;
  files.excludeEnabled = IsDlgButtonChecked(IDC_EXCLUDE_NAMES);
  files.entries = ListItems(GetListBox(IDC_EXCLUDED_FILES));
  if (!store::WriteExcludedFilesList(files)) {
    MessageBox(cp932::FromUtf8Literal(res::kSettingsFileNotCreated), win::MessageBoxButtons::Ok,
               win::MessageBoxIcon::Warning);
  }
}

void COptionsDialog::SaveExcludedFolders() {
  store::ExcludedFoldersList folders;
  folders.searchDepth = static_cast<std::uint8_t>(searchDepth);  // validated 1 to 10
  folders.entries = ListItems(GetListBox(IDC_EXCLUDED_FOLDERS));
  std::string path = win::ProgramFolderPath(store::kExcludedFoldersFileName);
  if (!store::WriteExcludedFoldersList(folders)) {
    shell::ShowFileErrorText(shell::FileErrorCause::Create, path);
  }
}

}  // namespace pelko::dialogs
