// The main window's "圧縮" (back up the floppy's associated paths) and "展開"
// (restore them) commands.
#pragma once

#include "shell/main_window.h"

namespace pelko::archive {

void OnCompress(shell::MainWindow& mainWindow);
void OnExpand(shell::MainWindow& mainWindow);

}  // namespace pelko::archive
