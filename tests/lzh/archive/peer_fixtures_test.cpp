// Archives made by other LZH tools read back exactly as their manifests say.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lzh/archive/archive_reader.h"
#include "lzh/archive/memory_stream.h"
#include "lzh/archive/path_names.h"
#include "lzh/lzh_test_support.h"

namespace pelko::lzh {
namespace {

using test::LoadManifest;
using test::ReadFixture;

struct ReadEntry {
  Entry entry;
  LzhError extracted = LzhError::None;
  std::string content;
};

// Walks the whole archive, extracting every entry; fails the test on any
// reader error.
std::vector<ReadEntry> ReadAll(const std::string& bytes) {
  MemoryStream stream(bytes);
  ArchiveReader reader(stream);
  std::vector<ReadEntry> out;
  Entry entry;
  ReadStep step;
  while ((step = reader.Next(entry)) == ReadStep::Entry) {
    StringSink sink;
    ReadEntry read{entry, reader.Extract(entry, sink), {}};
    read.content = sink.bytes;
    out.push_back(std::move(read));
  }
  EXPECT_EQ(step, ReadStep::End) << Describe(reader.Error()) << " at " << reader.ErrorOffset();
  return out;
}

// The stored path as our Header keeps it: '\' between components, no
// trailing separator on a folder.
std::string ExpectedPath(const std::string& storedHex, bool isDirectory) {
  std::string path = NormaliseSeparators(test::HexDecode(storedHex));
  if (isDirectory && !path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

class PeerFixture : public ::testing::TestWithParam<std::string> {};

TEST_P(PeerFixture, EveryMemberMatchesTheManifest) {
  const auto manifest = LoadManifest("MANIFEST.tsv");
  const auto rows = manifest.RowsOf(GetParam());
  ASSERT_FALSE(rows.empty());
  const auto entries = ReadAll(ReadFixture(GetParam()));
  ASSERT_EQ(entries.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    const auto& got = entries[i];
    SCOPED_TRACE(row["stored_path_escaped"]);
    const bool isDirectory = row["method"] == "-lhd-";
    EXPECT_EQ(got.entry.header.Method(), row["method"]);
    EXPECT_EQ(got.entry.header.path, ExpectedPath(row["stored_path_hex"], isDirectory));
    EXPECT_EQ(std::to_string(got.entry.header.level), row["header_level"]);
    EXPECT_EQ(std::to_string(got.entry.headerOffset), row["header_offset"]);
    EXPECT_EQ(std::to_string(got.entry.header.originalSize), row["size"]);
    EXPECT_EQ(std::to_string(got.entry.header.packedSize), row["packed_size"]);
    EXPECT_EQ(got.extracted, LzhError::None) << Describe(got.extracted);
    if (isDirectory) {
      EXPECT_TRUE(got.content.empty());
      continue;
    }
    char crc[5];
    std::snprintf(crc, sizeof crc, "%04x", test::Crc16Of(got.content));
    EXPECT_EQ(crc, row["crc16"]);
    EXPECT_EQ(test::Sha256Hex(got.content), row["sha256"]);
  }
}

std::vector<std::string> PeerArchives() {
  std::vector<std::string> out;
  for (const auto& name : LoadManifest("MANIFEST.tsv").Archives()) {
    if (name.rfind("damaged_", 0) != 0) out.push_back(name);
  }
  return out;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param.substr(0, info.param.find('.'));
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(LhaForUnixAndJlha, PeerFixture, ::testing::ValuesIn(PeerArchives()),
                         TestName);

// Archives from Windows, DOS and OS/2 tools (lhasa's test archives): every
// member decodes with its CRC matching, and the header fields are as listed.
class ThirdPartyFixture : public ::testing::TestWithParam<std::string> {};

TEST_P(ThirdPartyFixture, EveryMemberDecodesWithItsCrc) {
  const auto manifest = LoadManifest("third_party/lhasa/MANIFEST.tsv");
  const auto rows = manifest.RowsOf(GetParam());
  ASSERT_FALSE(rows.empty());
  const auto entries = ReadAll(ReadFixture("third_party/lhasa/" + GetParam()));
  ASSERT_EQ(entries.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    const auto& got = entries[i];
    SCOPED_TRACE(row["stored_path_escaped"]);
    EXPECT_EQ(got.entry.header.Method(), row["method"]);
    EXPECT_EQ(std::to_string(got.entry.header.level), row["header_level"]);
    EXPECT_EQ(std::to_string(got.entry.header.originalSize), row["size"]);
    EXPECT_EQ(got.extracted, LzhError::None) << Describe(got.extracted);
    EXPECT_EQ(got.content.size(), got.entry.header.originalSize);
    char crc[5];
    std::snprintf(crc, sizeof crc, "%04x", test::Crc16Of(got.content));
    EXPECT_EQ(crc, row["header_crc16"]);
  }
}

std::vector<std::string> ThirdPartyArchives() {
  std::vector<std::string> out;
  for (const auto& name : LoadManifest("third_party/lhasa/MANIFEST.tsv").Archives()) {
    // Not ours to read: -lhx- (an UNLHA32 extension), hostile paths and the
    // truncated archive have tests of their own.
    if (name.rfind("regression__", 0) == 0 || name == "unlha32__h2_lhx.lzh") continue;
    out.push_back(name);
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(WindowsDosOs2Tools, ThirdPartyFixture,
                         ::testing::ValuesIn(ThirdPartyArchives()), TestName);

}  // namespace
}  // namespace pelko::lzh
