// The tool's dialog templates as data, and the resource numbers.
#pragma once

#include "ui/dialog_template.h"

namespace pelko::templates {

inline constexpr int IDI_MAIN = 128;           // the window icon
inline constexpr int IDD_MAIN = 102;           // main window
inline constexpr int IDD_ASSOCIATION = 129;    // association editor
inline constexpr int IDD_VOLUME_LABEL = 130;   // volume label prompt
inline constexpr int IDD_FOLDER_PICKER = 131;  // folder picker
inline constexpr int IDD_OPTIONS = 132;        // options
inline constexpr int IDD_OUTPUT = 134;         // output of the unassociated extraction

const ui::DialogTemplate& MainWindowTemplate();
const ui::DialogTemplate& AssociationTemplate();
const ui::DialogTemplate& VolumeLabelTemplate();
const ui::DialogTemplate& FolderPickerTemplate();
const ui::DialogTemplate& OptionsTemplate();
const ui::DialogTemplate& OutputTemplate();

// The template with that resource number; null when the tool has none.
const ui::DialogTemplate* FindTemplate(int templateId);

}  // namespace pelko::templates
