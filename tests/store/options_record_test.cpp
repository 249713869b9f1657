#include "store/options_record.h"

#include <gtest/gtest.h>

#include "program_folder_fixture.h"
#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::store {
namespace {

using OptionsRecordFileTest = testing::ProgramFolderTest;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(OptionsRecordLayoutTest, DialogDefaultsGiveTheKnownBytes) {
  std::string expected = Bytes({0x01, 0x01, 0, 0, 0, 0, 0x00, 0, 0, 0, 0, 0x01, 0, 0, 0});
  expected.append(500, '\0');
  EXPECT_EQ(EncodeOptionsRecord(DialogOptionsDefaults()), expected);
}

TEST(OptionsRecordLayoutTest, EveryFieldSitsAtItsOffsetLittleEndian) {
  OptionsRecord record;
  record.overwriteMode = 2;
  record.directoryMode = 0;
  record.ignoreBrokenHeaders = 0x04030201;
  record.archiveFormat = 0xFF;
  record.extractUnassociated = 0x08070605;
  record.keepNewer = -2;
  record.destinationFolder = "D:\\restore\\";
  std::string bytes = EncodeOptionsRecord(record);
  ASSERT_EQ(bytes.size(), 515u);
  std::string head = Bytes(
      {0x02, 0x00, 0x01, 0x02, 0x03, 0x04, 0xFF, 0x05, 0x06, 0x07, 0x08, 0xFE, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(bytes.substr(0, 15), head);
  EXPECT_EQ(bytes.substr(15, 11), "D:\\restore\\");
  EXPECT_EQ(bytes.substr(26), std::string(489, '\0'));
  EXPECT_EQ(DecodeOptionsRecord(bytes, RestoreOptionsDefaults()), record);
}

TEST(OptionsRecordLayoutTest, ShortRecordUsesTheFieldsItHolds) {
  // overwriteMode, directoryMode, ignoreBrokenHeaders and archiveFormat only;
  // extractUnassociated is cut off after two of its four bytes.
  std::string bytes = Bytes({0x00, 0x02, 0x01, 0, 0, 0, 0x02, 0x01, 0x00});
  OptionsRecord record = DecodeOptionsRecord(bytes, RestoreOptionsDefaults());
  EXPECT_EQ(record.overwriteMode, 0);
  EXPECT_EQ(record.directoryMode, 2);
  EXPECT_EQ(record.ignoreBrokenHeaders, 1);
  EXPECT_EQ(record.archiveFormat, 2);
  EXPECT_EQ(record.extractUnassociated, 0);
  EXPECT_EQ(record.keepNewer, RestoreOptionsDefaults().keepNewer);
  EXPECT_EQ(record.destinationFolder, "");
  EXPECT_EQ(DecodeOptionsRecord("", DialogOptionsDefaults()), DialogOptionsDefaults());
}

TEST(OptionsRecordLayoutTest, DestinationIsUsedWhenItsTerminatorIsHeld) {
  OptionsRecord defaults = DialogOptionsDefaults();
  defaults.destinationFolder = "DEFAULT";
  std::string head = EncodeOptionsRecord(DialogOptionsDefaults()).substr(0, 15);
  EXPECT_EQ(DecodeOptionsRecord(head + "C:\\out\\" + '\0', defaults).destinationFolder,
            "C:\\out\\");
  EXPECT_EQ(DecodeOptionsRecord(head + "C:\\ou", defaults).destinationFolder, "DEFAULT");
}

TEST(OptionsRecordLayoutTest, DestinationWithoutTerminatorIsCutToWhatAWriterStores) {
  std::string head = EncodeOptionsRecord(DialogOptionsDefaults()).substr(0, 15);
  std::string hyou = cp932::FromUtf8Literal("表");
  // 498 'x' then a double-byte character whose second byte would be byte 500.
  std::string field = std::string(498, 'x') + hyou;
  ASSERT_EQ(field.size(), 500u);
  std::string folder =
      DecodeOptionsRecord(head + field + "trailing", DialogOptionsDefaults()).destinationFolder;
  EXPECT_EQ(folder, std::string(498, 'x'));
}

TEST(OptionsRecordLayoutTest, ModesOutsideTheirRangeAreKeptAsRead) {
  std::string bytes = EncodeOptionsRecord(DialogOptionsDefaults());
  bytes[0] = 7;
  bytes[1] = static_cast<char>(0x80);
  OptionsRecord record = DecodeOptionsRecord(bytes, DialogOptionsDefaults());
  EXPECT_EQ(record.overwriteMode, 7);
  EXPECT_EQ(record.directoryMode, 0x80);
}

TEST_F(OptionsRecordFileTest, MissingRecordIsReportedSoTheReaderTakesItsDefaults) {
  EXPECT_FALSE(ReadOptionsRecord(DialogOptionsDefaults()).has_value());
}

TEST_F(OptionsRecordFileTest, WrittenRecordIsReadBack) {
  OptionsRecord record;
  record.overwriteMode = 0;
  record.extractUnassociated = 1;
  record.destinationFolder = cp932::FromUtf8Literal("D:\\復元\\");
  ASSERT_TRUE(WriteOptionsRecord(record));
  EXPECT_EQ(ReadHostFile("PELKO.opt"), EncodeOptionsRecord(record));
  EXPECT_EQ(ReadOptionsRecord(RestoreOptionsDefaults()), record);
}

TEST_F(OptionsRecordFileTest, LongerFileIsReadForItsFirst515Bytes) {
  OptionsRecord record;
  record.destinationFolder = "C:\\x\\";
  WriteHostFile("PELKO.opt", EncodeOptionsRecord(record) + "garbage");
  EXPECT_EQ(ReadOptionsRecord(RestoreOptionsDefaults()), record);
}

TEST_F(OptionsRecordFileTest, OverlongDestinationIsRefusedBeforeTheFileIsTouched) {
  OptionsRecord previous;
  previous.destinationFolder = "C:\\kept\\";
  ASSERT_TRUE(WriteOptionsRecord(previous));

  OptionsRecord tooLong;
  tooLong.destinationFolder = std::string(500, 'x');
  EXPECT_FALSE(WriteOptionsRecord(tooLong));
  EXPECT_EQ(win::GetLastError(), win::ERROR_FILENAME_EXCED_RANGE);

  OptionsRecord withNul;
  withNul.destinationFolder = std::string("C:\\a\0b", 6);
  EXPECT_FALSE(WriteOptionsRecord(withNul));
  EXPECT_EQ(ReadHostFile("PELKO.opt"), EncodeOptionsRecord(previous));

  OptionsRecord longest;
  longest.destinationFolder = std::string(499, 'y');
  EXPECT_TRUE(WriteOptionsRecord(longest));
  EXPECT_EQ(ReadOptionsRecord(DialogOptionsDefaults()), longest);
}

}  // namespace
}  // namespace pelko::store
