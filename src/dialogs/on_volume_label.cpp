// "ボリュームラベル\nの設定": relabel the floppy and carry its association list
// over to the new label, or clear the label and, on request, delete the list.
#include "dialogs/editor_commands.h"
#include "dialogs/volume_label_dialog.h"
#include "platform/user_interface.h"
#include "platform/volume_services.h"
#include "res/texts_dialogs.h"
#include "shell/error_texts.h"
#include "shell/floppy_drive.h"
#include "store/association_list.h"
#include "text/code_page.h"

namespace pelko::dialogs {
namespace {

// The empty new label: Yes removes the label and deletes the list, No removes
// only the label, Cancel changes nothing. The panel is not refreshed.
void ClearLabel(const std::string& oldLabel) {
  win::DialogResult answer =
      win::MessageBox(cp932::FromUtf8Literal(res::kEmptyLabelQuestion),
                      win::MessageBoxButtons::YesNoCancel, win::MessageBoxIcon::Question);
  if (answer == win::DialogResult::Cancel) return;
  // The label goes first: a floppy that keeps its label must keep its list.
  if (!win::SetVolumeLabel(shell::kFloppyRootUpper, "")) {
    shell::ShowSystemErrorText();
    return;
  }
  if (answer == win::DialogResult::Yes) store::DeleteAssociationList(oldLabel);
}

// A non-empty new label: the list follows only a label the floppy took, and
// is named after the label as the floppy carries it.
void ReplaceLabel(shell::MainWindow& mainWindow, const std::string& oldLabel,
                  const std::string& newLabel) {
  if (!win::SetVolumeLabel(shell::kFloppyRootUpper, newLabel)) {
    shell::ShowSystemErrorText();
    mainWindow.UpdateDiskInfo();
    return;
  }
  std::optional<std::string> carried = shell::ReadVolumeLabel();
  if (!carried) {
    shell::ShowSystemErrorText();
  } else if (!carried->empty()) {
    // A list already under the new name is never replaced; both stay.
    store::RenameAssociationList(oldLabel, *carried);
  }
  // A label of blanks alone leaves the floppy unlabelled: the list keeps its name.
  mainWindow.UpdateDiskInfo();
}

}  // namespace

void OnVolumeLabel(shell::MainWindow& mainWindow) {
  std::optional<std::string> oldLabel = shell::WaitForDisk();
  if (!oldLabel) return;

  CVolumeLabelDialog prompt;
  prompt.label = *oldLabel;
  prompt.explanation = cp932::FromUtf8Literal(res::kRelabelExplanation);
  if (prompt.DoModal() != ui::IDOK) {
    mainWindow.UpdateDiskInfo();
    return;
  }

  if (prompt.label.empty()) {
    ClearLabel(*oldLabel);
  } else {
    ReplaceLabel(mainWindow, *oldLabel, prompt.label);
  }
}

}  // namespace pelko::dialogs
