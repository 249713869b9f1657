#include "archive/output_dialog.h"

#include <utility>

#include "templates/templates.h"

namespace pelko::archive {

COutputDialog::COutputDialog(std::string shownText)
    : Dialog(templates::OutputTemplate()), text(std::move(shownText)) {}

void COutputDialog::DoDataExchange(ui::DataExchange& dx) { dx.Text(IDC_OUTPUT_TEXT, text); }

}  // namespace pelko::archive
