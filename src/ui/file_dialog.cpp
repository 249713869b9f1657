#include "ui/file_dialog.h"

#include "platform/file_services.h"
#include "platform/user_interface.h"
#include "platform/windows_path.h"
#include "res/texts_dialogs.h"
#include "text/code_page.h"
#include "ui/dialog_template.h"
#include "ui/host.h"
#include "ui/message_text.h"

namespace pelko::ui {
namespace {

void Tell(std::string_view utf8Template, std::string_view path) {
  win::MessageBox(FillMessage(utf8Template, {path}), win::MessageBoxButtons::Ok,
                  win::MessageBoxIcon::Warning);
}

bool FolderExists(const win::WindowsPath& path) {
  win::WindowsPath folder = path;
  folder.components.pop_back();
  win::FileInformation info;
  return win::GetFileInformation(win::FormatWindowsPath(folder), info) &&
         info.kind == win::EntryKind::Directory;
}

}  // namespace

int FileDialog::DoModal() {
  Host* host = RegisteredHost();
  if (!host) return IDCANCEL;
  OpenFileRequest request;
  request.createPrompt = (flags_ & OFN_CREATEPROMPT) != 0;
  // Like the system dialog, a name that cannot be used keeps the dialog open.
  for (;;) {
    std::optional<std::string> answer = host->AskForFileName(request);
    if (!answer) return IDCANCEL;
    std::optional<win::WindowsPath> parsed = win::ParseWindowsPath(*answer);
    if (!parsed || parsed->components.empty()) {
      Tell(res::kInvalidFileName, *answer);
      continue;
    }
    std::string path = win::FormatWindowsPath(*parsed);
    win::FileInformation info;
    if (win::GetFileInformation(path, info)) {
      if (info.kind == win::EntryKind::Directory) {
        Tell(res::kInvalidFileName, path);
        continue;
      }
      pathName_ = path;
      return IDOK;
    }
    bool pathMustExist = (flags_ & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT)) != 0;
    if (pathMustExist && !FolderExists(*parsed)) {
      Tell(res::kPathNotFound, path);
      continue;
    }
    if (flags_ & OFN_CREATEPROMPT) {
      if (win::MessageBox(FillMessage(res::kCreateFileQuestion, {path}),
                          win::MessageBoxButtons::YesNo,
                          win::MessageBoxIcon::Question) != win::DialogResult::Yes) {
        continue;
      }
    } else if (flags_ & OFN_FILEMUSTEXIST) {
      Tell(res::kFileNotFound, path);
      continue;
    }
    pathName_ = path;
    return IDOK;
  }
}

}  // namespace pelko::ui
