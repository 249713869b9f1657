// What a command of the main window needs of it: the busy switch and the
// refresh of the disk panel. The main window (app/) implements it; the
// commands (archive/, dialogs/) see only this.
#pragma once

#include <functional>

namespace pelko::shell {

class MainWindow {
 public:
  // Switches the seven buttons on or off; the panel stays enabled.
  virtual void EnableMainButtons(bool enable) = 0;
  // Refills the information panel from the floppy in drive A:.
  virtual void UpdateDiskInfo() = 0;

 protected:
  ~MainWindow() = default;
};

// Keeps the main window's buttons off while it lives: whichever way a
// command leaves the busy part, the buttons come back on.
class BusySwitch {
 public:
  explicit BusySwitch(MainWindow& mainWindow) : mainWindow_(mainWindow) {
    mainWindow_.EnableMainButtons(false);
  }
  ~BusySwitch() { mainWindow_.EnableMainButtons(true); }
  BusySwitch(const BusySwitch&) = delete;
  BusySwitch& operator=(const BusySwitch&) = delete;

 private:
  MainWindow& mainWindow_;
};

// A command behind one of the main window's buttons.
using MainCommand = std::function<void(MainWindow& mainWindow)>;

}  // namespace pelko::shell
