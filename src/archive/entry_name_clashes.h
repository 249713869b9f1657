// Entries of an association list that would be stored under one name in the
// archive: the later Add would replace what the earlier one stored, and a
// restore would write one file's bytes over both places.
#pragma once

#include <string>
#include <vector>

#include "store/association_list.h"

namespace pelko::archive {

// Groups of clashing entries, each in list order, the groups in the order of
// their first entries. An entry stores its entry name; a name-less entry (a
// drive root such as "c:", or one ending in a backslash) stores every name
// that its folder holds now, and two name-less entries of different folders
// always clash, as a restore writes everything to each. A name clashes when
// it comes from two different folders (letter case ignored as the library
// ignores it); the same entry listed twice is no clash and is named once.
std::vector<std::vector<std::string>> FindEntryNameClashes(const store::AssociationList& entries);

}  // namespace pelko::archive
