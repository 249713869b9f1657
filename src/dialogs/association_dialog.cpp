#include "dialogs/association_dialog.h"

#include "dialogs/folder_picker_dialog.h"
#include "dialogs/selected_entries.h"
#include "shell/error_texts.h"
#include "store/association_list.h"
#include "templates/templates.h"
#include "ui/file_dialog.h"

namespace pelko::dialogs {

CAssociationDialog::CAssociationDialog() : Dialog(templates::AssociationTemplate()) {}

std::span<const ui::CommandEntry> CAssociationDialog::CommandTable() const {
  static constexpr ui::CommandEntry kCommands[] = {
      ui::OnClicked<&CAssociationDialog::OnAddFile>(IDC_ASSOCIATION_ADD_FILE),
      ui::OnClicked<&CAssociationDialog::OnDeleteEntries>(IDC_ASSOCIATION_DELETE),
      ui::OnClicked<&CAssociationDialog::OnAddFolder>(IDC_ASSOCIATION_ADD_FOLDER),
  };
  return kCommands;
}

void CAssociationDialog::DoDataExchange(ui::DataExchange& dx) {
  dx.Control(IDC_ASSOCIATION_ENTRIES);
}

bool CAssociationDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  // No list yet is no error: the editor starts empty.
  if (auto entries = store::ReadAssociationList(volumeLabel)) {
    ui::ListBox list = GetListBox(IDC_ASSOCIATION_ENTRIES);
    for (const std::string& entry : *entries) list.AddString(entry);
  }
  return true;
}

void CAssociationDialog::OnAddFile() {
  ui::FileDialog fileDialog(ui::OFN_CREATEPROMPT);
  if (fileDialog.DoModal() != ui::IDOK) return;
  GetListBox(IDC_ASSOCIATION_ENTRIES).AddString(fileDialog.GetPathName());
}

void CAssociationDialog::OnAddFolder() {
  CFolderPickerDialog picker;
  if (picker.DoModal() != ui::IDOK || picker.folderPath.empty()) return;
  // Folders are stored without their trailing backslash: "c:\" becomes "c:".
  std::string folder = picker.folderPath;
  folder.pop_back();
  GetListBox(IDC_ASSOCIATION_ENTRIES).AddString(folder);
}

void CAssociationDialog::OnDeleteEntries() {
  DeleteSelectedEntries(GetListBox(IDC_ASSOCIATION_ENTRIES));
}

void CAssociationDialog::OnOK() {
  ui::ListBox list = GetListBox(IDC_ASSOCIATION_ENTRIES);
  store::AssociationList entries;
  for (int i = 0; i < list.GetCount(); ++i) entries.push_back(list.GetText(i));
  // The name for the message is taken first: the failed write's error code
  // must be the last one when the message is built.
  std::string listPath = store::AssociationListPath(volumeLabel);
  if (listPath.empty()) listPath = volumeLabel + ".txt";
  if (!store::WriteAssociationList(volumeLabel, entries)) {
    // The editor stays open, so that the user's edits are not lost.
    shell::ShowFileErrorText(shell::FileErrorCause::Create, listPath);
    return;
  }
  EndDialog(ui::IDOK);
}

}  // namespace pelko::dialogs
