#include "app/main_dialog.h"

#include "app/disk_info_panel.h"
#include "templates/templates.h"

namespace pelko::app {

CMainDialog::CMainDialog(MainCommands commands)
    : Dialog(templates::MainWindowTemplate()), commands_(std::move(commands)) {}

std::span<const ui::CommandEntry> CMainDialog::CommandTable() const {
  // The paint and drag-icon entries of the Windows window have no
  // counterpart here: a host draws its own minimised icon.
  static constexpr ui::CommandEntry kCommands[] = {
      ui::OnClicked<&CMainDialog::OnAssociate>(IDC_ASSOCIATE),
      ui::OnClicked<&CMainDialog::OnVolumeLabel>(IDC_VOLUME_LABEL),
      ui::OnClicked<&CMainDialog::OnCompress>(IDC_COMPRESS),
      ui::OnClicked<&CMainDialog::OnExpand>(IDC_EXPAND),
      ui::OnClicked<&CMainDialog::OnUpdateInfo>(IDC_UPDATE_INFO),
      ui::OnClicked<&CMainDialog::OnOptions>(IDC_OPTIONS),
  };
  return kCommands;
}

bool CMainDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  SetIcon(templates::IDI_MAIN);
  UpdateDiskInfo();
  return true;  // the host focuses the first tab stop, 1004
}

void CMainDialog::EnableMainButtons(bool enable) {
  static constexpr int kMainButtons[] = {
      IDC_ASSOCIATE,   IDC_VOLUME_LABEL, IDC_COMPRESS, IDC_EXPAND,
      IDC_UPDATE_INFO, IDC_OPTIONS,      ui::IDCANCEL, 0};
  for (const int* id = kMainButtons; *id != 0; ++id) EnableDlgItem(*id, enable);
}

void CMainDialog::UpdateDiskInfo() { SetDlgItemText(IDC_DISK_INFO, DiskInfoText()); }

void CMainDialog::RunCommand(const MainCommand& command) {
  if (command) command(*this);
}

void CMainDialog::OnAssociate() { RunCommand(commands_.associate); }
void CMainDialog::OnVolumeLabel() { RunCommand(commands_.volumeLabel); }
void CMainDialog::OnCompress() { RunCommand(commands_.compress); }
void CMainDialog::OnExpand() { RunCommand(commands_.expand); }
void CMainDialog::OnUpdateInfo() { UpdateDiskInfo(); }
void CMainDialog::OnOptions() { RunCommand(commands_.options); }

}  // namespace pelko::app
