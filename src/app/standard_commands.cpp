#include "app/commands.h"

namespace pelko::app {

// One line per command of the main window; a slot left empty leaves its
// button without effect.
MainCommands StandardMainCommands() {
  MainCommands commands;
  commands.associate = OnAssociate;
  commands.volumeLabel = OnVolumeLabel;
  commands.compress = OnCompress;
  commands.expand = OnExpand;
  commands.options = OnOptions;
  return commands;
}

}  // namespace pelko::app
