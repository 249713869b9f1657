#include "app/archiver_app.h"

#include <cstdio>

#include "app/main_dialog.h"
#include "platform/program_folder.h"
#include "res/texts_main.h"

namespace pelko::app {

CArchiverApp::CArchiverApp(MainCommands commands) : commands_(std::move(commands)) {}

bool CArchiverApp::InitInstance() {
  // Every stored file lives in the program folder: without a drive-letter
  // form of it nothing could be read or written.
  if (!win::ProgramFolder()) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(res::kProgramFolderUnusable.size()),
                 res::kProgramFolderUnusable.data());
    return false;
  }
  CMainDialog mainWindow(commands_);
  mainWindowResult_ = mainWindow.DoModal();
  return false;
}

}  // namespace pelko::app
