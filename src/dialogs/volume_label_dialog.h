// The volume label prompt (template 130): one edit for the label under an
// explanatory text that the caller chooses.
#pragma once

#include <string>

#include "ui/dialog.h"

namespace pelko::dialogs {

inline constexpr int IDC_LABEL_EXPLANATION = 1003;
inline constexpr int IDC_LABEL_EDIT = 1006;

class CVolumeLabelDialog : public ui::Dialog {
 public:
  CVolumeLabelDialog();

  std::string label;        // shown at opening; after OK, what the user typed
  std::string explanation;  // the text under the buttons

 protected:
  void DoDataExchange(ui::DataExchange& dx) override;
};

}  // namespace pelko::dialogs
