// Damaged archives are errors, never a silent success or a silent end.
#include <gtest/gtest.h>

#include "lzh/archive/archive_reader.h"
#include "lzh/archive/extractor.h"
#include "lzh/archive/memory_stream.h"
#include "lzh/lzh_test_support.h"

namespace pelko::lzh {
namespace {

using test::ReadFixture;

TEST(DamagedArchive, TruncatedDataIsReportedAsTruncated) {
  MemoryStream stream(ReadFixture("damaged_truncated.lzh"));
  ArchiveReader reader(stream);
  Entry entry;
  ASSERT_EQ(reader.Next(entry), ReadStep::Entry);
  NullSink sink;
  EXPECT_EQ(reader.Extract(entry, sink), LzhError::Truncated);
  EXPECT_EQ(reader.Next(entry), ReadStep::Error);
  EXPECT_EQ(reader.Error(), LzhError::Truncated);
}

TEST(DamagedArchive, FlippedDataByteFailsTheCrc) {
  MemoryStream stream(ReadFixture("damaged_flipbyte.lzh"));
  ArchiveReader reader(stream);
  Entry entry;
  ASSERT_EQ(reader.Next(entry), ReadStep::Entry);
  NullSink sink;
  const LzhError error = reader.Extract(entry, sink);
  EXPECT_TRUE(error == LzhError::CrcMismatch || error == LzhError::BadData ||
              error == LzhError::SizeMismatch)
      << Describe(error);
}

TEST(DamagedArchive, BadLevel1ChecksumIsAnErrorNotTheEnd) {
  MemoryStream stream(ReadFixture("damaged_badsum_h1.lzh"));
  ArchiveReader reader(stream);
  Entry entry;
  EXPECT_EQ(reader.Next(entry), ReadStep::Error);
  EXPECT_EQ(reader.Error(), LzhError::BadChecksum);
  EXPECT_EQ(reader.ErrorOffset(), 0u);
  EXPECT_EQ(reader.Next(entry), ReadStep::Error) << "the error stays until the caller resumes";
}

TEST(DamagedArchive, BadLevel2HeaderCrcIsAnErrorNotTheEnd) {
  MemoryStream stream(ReadFixture("damaged_badcrc_h2.lzh"));
  ArchiveReader reader(stream);
  Entry entry;
  EXPECT_EQ(reader.Next(entry), ReadStep::Error);
  EXPECT_EQ(reader.Error(), LzhError::BadHeaderCrc);
}

TEST(DamagedArchive, ThirdPartyTruncatedArchiveFails) {
  MemoryStream stream(ReadFixture("third_party/lhasa/regression__truncated.lzh"));
  ArchiveReader reader(stream);
  Entry entry;
  ASSERT_EQ(reader.Next(entry), ReadStep::Entry);
  NullSink sink;
  EXPECT_EQ(reader.Extract(entry, sink), LzhError::Truncated);
}

TEST(DamagedArchive, NoDamagedFixtureTestsAsSuccess) {
  for (const char* name :
       {"damaged_truncated.lzh", "damaged_flipbyte.lzh", "damaged_badsum_h1.lzh",
        "damaged_badcrc_h2.lzh", "third_party/lhasa/regression__truncated.lzh"}) {
    MemoryStream stream(ReadFixture(name));
    ExtractOptions options;
    options.testOnly = true;
    EXPECT_FALSE(ExtractArchive(stream, options).Succeeded()) << name;
  }
}

TEST(ResumeAfterBrokenHeader, SkipsOnlyTheBrokenEntry) {
  // The first of twelve headers fails its sum; the other eleven still read.
  MemoryStream stream(ReadFixture("damaged_badsum_h1.lzh"));
  ArchiveReader reader(stream);
  Entry entry;
  ASSERT_EQ(reader.Next(entry), ReadStep::Error);
  ASSERT_TRUE(reader.Resume());
  int entries = 0;
  ReadStep step;
  while ((step = reader.Next(entry)) == ReadStep::Entry) {
    NullSink sink;
    EXPECT_EQ(reader.Extract(entry, sink), LzhError::None) << entry.header.path;
    ++entries;
  }
  EXPECT_EQ(step, ReadStep::End);
  EXPECT_EQ(entries, 11);
}

TEST(ResumeAfterBrokenHeader, FindsTheNextHeaderAfterABrokenOneInTheMiddle) {
  std::string bytes = ReadFixture("lhaunix_h2_lh5_tree.lzh");
  bytes[161 + 2] = 'X';  // the method id of the third header ("tree" folder)
  MemoryStream stream(bytes);
  ExtractOptions options;
  options.testOnly = true;
  options.resumeAfterBrokenHeader = true;
  const ExtractReport report = ExtractArchive(stream, options);
  ASSERT_EQ(report.brokenHeaders.size(), 1u);
  EXPECT_EQ(report.brokenHeaders[0].offset, 161u);
  EXPECT_EQ(report.entries.size(), 11u);
  EXPECT_FALSE(report.Succeeded()) << "a skipped header is still a failure";
}

TEST(ResumeAfterBrokenHeader, WithoutResumeExtractionStopsAtTheBrokenHeader) {
  std::string bytes = ReadFixture("lhaunix_h2_lh5_tree.lzh");
  bytes[161 + 2] = 'X';
  MemoryStream stream(bytes);
  ExtractOptions options;
  options.testOnly = true;
  const ExtractReport report = ExtractArchive(stream, options);
  EXPECT_EQ(report.entries.size(), 2u);
  ASSERT_EQ(report.brokenHeaders.size(), 1u);
  EXPECT_FALSE(report.Succeeded());
}

TEST(ArchiveStart, TextFileIsNotAnArchive) {
  MemoryStream stream(std::string("this is not an archive at all, just some text\n"));
  ArchiveReader reader(stream);
  Entry entry;
  EXPECT_EQ(reader.Next(entry), ReadStep::Error);
  EXPECT_EQ(reader.Error(), LzhError::BadHeader);
}

TEST(ArchiveStart, SelfExtractorStubIsSkipped) {
  MemoryStream stream(std::string("MZ") + std::string(300, '\x90') +
                      ReadFixture("lhaunix_h2_lh5_tree.lzh"));
  ArchiveReader reader(stream);
  Entry entry;
  ASSERT_EQ(reader.Next(entry), ReadStep::Entry);
  EXPECT_EQ(entry.headerOffset, 302u);
  EXPECT_EQ(entry.header.path, "empty.txt");
}

TEST(ArchiveStart, EmptyFileIsAnEmptyArchive) {
  MemoryStream stream;
  ArchiveReader reader(stream);
  Entry entry;
  EXPECT_EQ(reader.Next(entry), ReadStep::End);
}

}  // namespace
}  // namespace pelko::lzh
