// "オプション": the options dialog; its result is not used and nothing in the
// main window changes.
#include "dialogs/editor_commands.h"
#include "dialogs/options_dialog.h"

namespace pelko::dialogs {

void OnOptions(shell::MainWindow& /*mainWindow*/) {
  COptionsDialog dialog;
  dialog.DoModal();
}

}  // namespace pelko::dialogs
