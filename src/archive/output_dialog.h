// The report window (template 134, "関連づけられていないファイルの解凍"): the
// archive library's report of a restore's extraction, read-only, closed by OK.
#pragma once

#include <string>

#include "ui/dialog.h"

namespace pelko::archive {

inline constexpr int IDC_OUTPUT_TEXT = 1030;

class COutputDialog : public ui::Dialog {
 public:
  explicit COutputDialog(std::string text = {});

  std::string text;  // CP932, shown in 1030

 protected:
  void DoDataExchange(ui::DataExchange& dx) override;
};

}  // namespace pelko::archive
