// The main window (template 102): seven buttons and the information panel
// that describes the floppy in drive A:.
#pragma once

#include <span>
#include <string>

#include "app/commands.h"
#include "shell/main_window.h"
#include "ui/dialog.h"

namespace pelko::app {

inline constexpr int IDC_ASSOCIATE = 1000;
inline constexpr int IDC_COMPRESS = 1001;
inline constexpr int IDC_EXPAND = 1002;
inline constexpr int IDC_DISK_INFO = 1003;
inline constexpr int IDC_UPDATE_INFO = 1004;
inline constexpr int IDC_VOLUME_LABEL = 1007;
inline constexpr int IDC_OPTIONS = 1009;

class CMainDialog : public ui::Dialog, public shell::MainWindow {
 public:
  explicit CMainDialog(MainCommands commands = {});

  void EnableMainButtons(bool enable) override;
  void UpdateDiskInfo() override;

 protected:
  bool OnInitDialog() override;
  std::span<const ui::CommandEntry> CommandTable() const override;

 private:
  void OnAssociate();
  void OnVolumeLabel();
  void OnCompress();
  void OnExpand();
  void OnUpdateInfo();
  void OnOptions();
  void RunCommand(const MainCommand& command);

  MainCommands commands_;
};

}  // namespace pelko::app
