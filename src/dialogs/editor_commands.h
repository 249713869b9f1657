// The main window's editor commands: "ファイルとＦＤ\nを関連づける" (the
// association list), "ボリュームラベル\nの設定" (the label) and "オプション".
#pragma once

#include "shell/main_window.h"

namespace pelko::dialogs {

void OnAssociate(shell::MainWindow& mainWindow);
void OnVolumeLabel(shell::MainWindow& mainWindow);
void OnOptions(shell::MainWindow& mainWindow);

}  // namespace pelko::dialogs
