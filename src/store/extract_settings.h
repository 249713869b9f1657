// What the restore commands take from the options record: the extraction
// switches and where files that belong to no association go.
#pragma once

#include <string>

#include "store/options_record.h"

namespace pelko::store {

struct ExtractSettings {
  std::string extractSwitches;  // ExtractSwitches: pieces each starting with a blank
  bool extractUnassociated = false;
  std::string destinationFolder;  // meaningful only when extractUnassociated
};

// The switches of a record, in the order overwrite, directories, broken
// headers, keep newer, format; a value without a switch adds nothing.
std::string BuildExtractSwitches(const OptionsRecord& record);

// Reads `PELKO.opt`. Without it, or for the fields a short file does not
// hold, the restore defaults apply: " -jyo0 -jyc0 -jc0 -c0 -o2", nothing
// unassociated is extracted.
ExtractSettings ReadExtractSettings();

}  // namespace pelko::store
