#include "templates/templates.h"

namespace pelko::templates {

const ui::DialogTemplate* FindTemplate(int templateId) {
  for (const ui::DialogTemplate* found :
       {&MainWindowTemplate(), &AssociationTemplate(), &VolumeLabelTemplate(),
        &FolderPickerTemplate(), &OptionsTemplate(), &OutputTemplate()}) {
    if (found->id == templateId) return found;
  }
  return nullptr;
}

}  // namespace pelko::templates
