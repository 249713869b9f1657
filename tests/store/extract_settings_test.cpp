#include "store/extract_settings.h"

#include <gtest/gtest.h>

#include "program_folder_fixture.h"

namespace pelko::store {
namespace {

TEST(ExtractSwitchesTest, KnownRecordsGiveTheirSwitches) {
  struct Case {
    const char* name;
    OptionsRecord record;
    std::string switches;
  };
  OptionsRecord secondExample;
  secondExample.overwriteMode = 0;
  secondExample.directoryMode = 2;
  secondExample.ignoreBrokenHeaders = 1;
  secondExample.keepNewer = 0;
  secondExample.archiveFormat = 2;
  OptionsRecord noFormat;
  noFormat.archiveFormat = 0xFF;
  OptionsRecord outOfRange;
  outOfRange.overwriteMode = 3;
  outOfRange.directoryMode = 0xFE;
  outOfRange.archiveFormat = 3;
  outOfRange.ignoreBrokenHeaders = -1;
  outOfRange.keepNewer = 256;
  OptionsRecord secondFormat;
  secondFormat.archiveFormat = 1;
  secondFormat.keepNewer = 0;
  const Case cases[] = {
      {"dialog defaults", DialogOptionsDefaults(), " -jc0 -c1 -o2"},
      {"always, never, broken on, keep off, third format", secondExample,
       " -jyo -jyc0 -jc1 -c0 -o0"},
      {"restore defaults", RestoreOptionsDefaults(), " -jyo0 -jyc0 -jc0 -c0 -o2"},
      {"no format selected", noFormat, " -jc0 -c1"},
      {"values outside their ranges", outOfRange, " -jc1 -c1"},
      {"second format", secondFormat, " -jc0 -c0 -o1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BuildExtractSwitches(c.record), c.switches);
  }
}

using ExtractSettingsFileTest = testing::ProgramFolderTest;

TEST_F(ExtractSettingsFileTest, WithoutRecordRestoreNeverOverwritesOrCreatesOrExtractsMore) {
  ExtractSettings settings = ReadExtractSettings();
  EXPECT_EQ(settings.extractSwitches, " -jyo0 -jyc0 -jc0 -c0 -o2");
  EXPECT_FALSE(settings.extractUnassociated);
  EXPECT_EQ(settings.destinationFolder, "");
}

TEST_F(ExtractSettingsFileTest, StoredRecordGivesItsSwitchesAndDestination) {
  OptionsRecord record;
  record.extractUnassociated = 1;
  record.destinationFolder = "D:\\restore\\";
  ASSERT_TRUE(WriteOptionsRecord(record));
  ExtractSettings settings = ReadExtractSettings();
  EXPECT_EQ(settings.extractSwitches, " -jc0 -c1 -o2");
  EXPECT_TRUE(settings.extractUnassociated);
  EXPECT_EQ(settings.destinationFolder, "D:\\restore\\");
}

TEST_F(ExtractSettingsFileTest, AnyNonzeroFlagIsOn) {
  OptionsRecord record;
  record.extractUnassociated = 0x100;
  record.destinationFolder = "D:\\x\\";
  WriteHostFile("PELKO.opt", EncodeOptionsRecord(record));
  EXPECT_TRUE(ReadExtractSettings().extractUnassociated);
}

TEST_F(ExtractSettingsFileTest, ShortRecordTakesRestoreDefaultsForWhatItLacks) {
  // Only overwriteMode 0 and directoryMode 0: the rest as if there were no file.
  WriteHostFile("PELKO.opt", std::string(2, '\0'));
  ExtractSettings settings = ReadExtractSettings();
  EXPECT_EQ(settings.extractSwitches, " -jyo -jyc -jc0 -c0 -o2");
  EXPECT_FALSE(settings.extractUnassociated);
  WriteHostFile("PELKO.opt", "");
  EXPECT_EQ(ReadExtractSettings().extractSwitches, " -jyo0 -jyc0 -jc0 -c0 -o2");
}

}  // namespace
}  // namespace pelko::store
