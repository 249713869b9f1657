#include "store/extract_settings.h"

namespace pelko::store {

std::string BuildExtractSwitches(const OptionsRecord& record) {
  std::string switches;
  if (record.overwriteMode == 0) switches += " -jyo";
  if (record.overwriteMode == 2) switches += " -jyo0";
  if (record.directoryMode == 0) switches += " -jyc";
  if (record.directoryMode == 2) switches += " -jyc0";
  switches += record.ignoreBrokenHeaders != 0 ? " -jc1" : " -jc0";
  switches += record.keepNewer != 0 ? " -c1" : " -c0";
  if (record.archiveFormat == 0) switches += " -o2";
  if (record.archiveFormat == 1) switches += " -o1";
  if (record.archiveFormat == 2) switches += " -o0";
  return switches;
}

ExtractSettings ReadExtractSettings() {
  OptionsRecord record =
      ReadOptionsRecord(RestoreOptionsDefaults()).value_or(RestoreOptionsDefaults());
  ExtractSettings settings;
  settings.extractSwitches = BuildExtractSwitches(record);
  settings.extractUnassociated = record.extractUnassociated != 0;
  if (settings.extractUnassociated) settings.destinationFolder = record.destinationFolder;
  return settings;
}

}  // namespace pelko::store
