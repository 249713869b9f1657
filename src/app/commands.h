// The slots behind the main window's buttons. Start-up fills them (see
// standard_commands.cpp); an empty slot makes its button do nothing.
#pragma once

#include "shell/main_window.h"

namespace pelko::app {

using shell::MainCommand;

struct MainCommands {
  MainCommand associate;    // 1000 "ファイルとＦＤ\nを関連づける"
  MainCommand volumeLabel;  // 1007 "ボリュームラベル\nの設定"
  MainCommand compress;     // 1001 "圧縮"
  MainCommand expand;       // 1002 "展開"
  MainCommand options;      // 1009 "オプション"
};

// The slots of every command this build has; start-up passes them to the
// main window.
MainCommands StandardMainCommands();

}  // namespace pelko::app
