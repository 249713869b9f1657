// The "削除" of the editors' multiple-selection lists.
#pragma once

#include "ui/controls.h"

namespace pelko::dialogs {

// How many selected entries one press of "削除" deletes, the lowest first.
inline constexpr int kMaxEntriesDeletedAtOnce = 20;

// Deletes the lowest selected entries, at most kMaxEntriesDeletedAtOnce,
// from the last to the first so that the positions still to go stay valid.
// The selected entries beyond them stay, still selected.
void DeleteSelectedEntries(ui::ListBox list);

}  // namespace pelko::dialogs
