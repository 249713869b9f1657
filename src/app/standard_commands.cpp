#include "app/commands.h"

namespace pelko::app {

// One line per command of this build, e.g. `commands.compress = OnCompress;`.
// A command not wired here leaves its button without effect.
MainCommands StandardMainCommands() {
  MainCommands commands;
  return commands;
}

}  // namespace pelko::app
