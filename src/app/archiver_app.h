// The application object: start-up shows the main window modally; the
// program ends when it closes. The caller chooses and registers the host
// (headless for tests and pelko-script, Qt for the window) before start-up.
#pragma once

#include "app/commands.h"

namespace pelko::app {

class CArchiverApp {
 public:
  explicit CArchiverApp(MainCommands commands = StandardMainCommands());

  // Runs the main window to its end. Always false: start-up never "succeeds"
  // into a message loop of its own, so the program ends afterwards. A program
  // folder with no drive-letter form stops it with one line on stderr.
  bool InitInstance();

  // The main window's result (-1 when it did not run).
  int MainWindowResult() const { return mainWindowResult_; }

 private:
  MainCommands commands_;
  int mainWindowResult_ = -1;
};

}  // namespace pelko::app
