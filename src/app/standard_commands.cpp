#include "app/commands.h"
#include "archive/backup_restore.h"
#include "dialogs/editor_commands.h"

namespace pelko::app {

// The main window reaches each command only through these slots: it calls
// the slot of the button pressed with itself as the shell::MainWindow the
// command switches and refreshes. archive/ and dialogs/ never see app/.
// Wiring a new command is one line here.
MainCommands StandardMainCommands() {
  MainCommands commands;
  commands.associate = dialogs::OnAssociate;
  commands.volumeLabel = dialogs::OnVolumeLabel;
  commands.compress = archive::OnCompress;
  commands.expand = archive::OnExpand;
  commands.options = dialogs::OnOptions;
  return commands;
}

}  // namespace pelko::app
