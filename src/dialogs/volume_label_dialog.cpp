#include "dialogs/volume_label_dialog.h"

#include "templates/templates.h"

namespace pelko::dialogs {

CVolumeLabelDialog::CVolumeLabelDialog() : Dialog(templates::VolumeLabelTemplate()) {}

void CVolumeLabelDialog::DoDataExchange(ui::DataExchange& dx) {
  dx.Text(IDC_LABEL_EDIT, label);
  dx.Text(IDC_LABEL_EXPLANATION, explanation);
}

}  // namespace pelko::dialogs
