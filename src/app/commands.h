// The commands behind the main window's buttons. Each lives in its own file
// (backup, restore, association editor, relabel, options) and is reached
// through a slot of MainCommands that start-up fills; an empty slot makes its
// button do nothing.
#pragma once

#include <functional>

namespace pelko::app {

class CMainDialog;

using MainCommand = std::function<void(CMainDialog& mainWindow)>;

struct MainCommands {
  MainCommand associate;    // 1000 "ファイルとＦＤ\nを関連づける"
  MainCommand volumeLabel;  // 1007 "ボリュームラベル\nの設定"
  MainCommand compress;     // 1001 "圧縮"
  MainCommand expand;       // 1002 "展開"
  MainCommand options;      // 1009 "オプション"
};

// The command functions; each is defined by the file of its command.
void OnAssociate(CMainDialog& mainWindow);
void OnVolumeLabel(CMainDialog& mainWindow);
void OnCompress(CMainDialog& mainWindow);
void OnExpand(CMainDialog& mainWindow);
void OnOptions(CMainDialog& mainWindow);

// The slots of every command this build has; start-up passes them to the
// main window. Wiring a new command is one line in standard_commands.cpp.
MainCommands StandardMainCommands();

}  // namespace pelko::app
