// pelko: the main window of the tool on this display.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/archiver_app.h"
#include "app/commands.h"
#include "platform/drive_a_access.h"
#include "platform/program_folder.h"
#include "ui/qt/japanese_application.h"
#include "ui/qt/qt_host.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Every stored file lives in the program folder: without a drive-letter
  // form of it there is nothing to start.
  std::string problem;
  if (!pelko::win::CheckProgramFolder(problem)) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
  }
  // The window sees a floppy drive it may not open as an empty drive; the
  // terminal hears why.
  if (!pelko::win::CheckDriveAAccess(problem)) {
    std::fprintf(stderr, "pelko: warning: %s\n", problem.c_str());
  }
  if (!HasDisplay()) {
    std::fprintf(
        stderr,
        "pelko: no display (DISPLAY is not set); try: scripts/run --screenshot pelko.png\n");
    return 1;
  }

  QApplication application(argc, argv);
  pelko::ui::qt::PrepareJapaneseApplication(application);
  pelko::ui::qt::QtHost host;

  pelko::app::CArchiverApp archiver(pelko::app::StandardMainCommands());
  archiver.InitInstance();
  return 0;
}
