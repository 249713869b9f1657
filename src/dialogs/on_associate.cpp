// "ファイルとＦＤ\nを関連づける": label an unlabelled floppy first, then edit
// the association list of its label.
#include "dialogs/association_dialog.h"
#include "dialogs/editor_commands.h"
#include "dialogs/volume_label_dialog.h"
#include "platform/volume_services.h"
#include "res/texts_dialogs.h"
#include "shell/error_texts.h"
#include "shell/floppy_drive.h"
#include "text/code_page.h"

namespace pelko::dialogs {
namespace {

// Asks for a label until the floppy carries a non-empty one. The label comes
// back as the floppy now holds it (FAT upper-cases it and cuts trailing
// blanks), since that is the name the next backup looks up. nullopt when the
// user cancels or the disk can no longer be read (that is said).
std::optional<std::string> LabelUnlabelledFloppy() {
  for (;;) {
    CVolumeLabelDialog prompt;
    prompt.explanation = cp932::FromUtf8Literal(res::kNoLabelExplanation);
    if (prompt.DoModal() != ui::IDOK) return std::nullopt;
    if (!win::SetVolumeLabel(shell::kFloppyRootUpper, prompt.label)) {
      // Refused (write-protected, too long, a character FAT forbids): ask again.
      shell::ShowSystemErrorText();
      continue;
    }
    std::optional<std::string> carried = shell::ReadVolumeLabel();
    if (!carried) {
      shell::ShowSystemErrorText();
      return std::nullopt;
    }
    if (!carried->empty()) return carried;
  }
}

}  // namespace

void OnAssociate(shell::MainWindow& mainWindow) {
  // No readable floppy ends the command without a word and without a refresh.
  std::optional<std::string> label = shell::ReadVolumeLabel();
  if (!label) return;
  if (label->empty()) {
    label = LabelUnlabelledFloppy();
    if (!label) return;
  }

  CAssociationDialog editor;
  editor.volumeLabel = *label;
  editor.DoModal();
  mainWindow.UpdateDiskInfo();
}

}  // namespace pelko::dialogs
