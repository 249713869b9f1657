#include "dialogs/selected_entries.h"

#include <vector>

namespace pelko::dialogs {

void DeleteSelectedEntries(ui::ListBox list) {
  std::vector<int> selected = list.GetSelItems(kMaxEntriesDeletedAtOnce);
  for (auto position = selected.rbegin(); position != selected.rend(); ++position) {
    list.DeleteString(*position);
  }
}

}  // namespace pelko::dialogs
