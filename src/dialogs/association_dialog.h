// The association editor (template 129): the paths that belong to the floppy
// whose label it is given, added by the open-file dialog or the folder
// picker, stored by OK.
#pragma once

#include <span>
#include <string>

#include "ui/dialog.h"

namespace pelko::dialogs {

inline constexpr int IDC_ASSOCIATION_ADD_FILE = 1002;
inline constexpr int IDC_ASSOCIATION_ENTRIES = 1003;
inline constexpr int IDC_ASSOCIATION_DELETE = 1004;
inline constexpr int IDC_ASSOCIATION_ADD_FOLDER = 1005;

class CAssociationDialog : public ui::Dialog {
 public:
  CAssociationDialog();

  // Names the list the editor reads and writes; set before DoModal.
  std::string volumeLabel;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(ui::DataExchange& dx) override;
  std::span<const ui::CommandEntry> CommandTable() const override;

 private:
  void OnAddFile();
  void OnDeleteEntries();
  void OnAddFolder();
};

}  // namespace pelko::dialogs
