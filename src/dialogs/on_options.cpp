// "オプション": the options dialog; its result is not used and nothing in the
// main window changes.
#include "app/commands.h"
#include "app/main_dialog.h"
#include "dialogs/options_dialog.h"

namespace pelko::app {

void OnOptions(CMainDialog& /*mainWindow*/) {
  dialogs::COptionsDialog dialog;
  dialog.DoModal();
}

}  // namespace pelko::app
