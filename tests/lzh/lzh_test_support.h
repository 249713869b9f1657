// Shared helpers of the LZH tests: fixtures, digests, the fixtures' manifest,
// and a builder for hand-made archives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lzh/archive/header.h"

namespace pelko::lzh::test {

// Host path of a file in tests/fixtures/lzh.
std::string FixturePath(std::string_view relative);
std::string ReadFixture(std::string_view relative);

std::string Sha256Hex(std::string_view bytes);
std::string HexDecode(std::string_view hex);

// One row of MANIFEST.tsv, by column name.
struct ManifestRow {
  std::vector<std::string> cells;
  const std::vector<std::string>* columns;
  const std::string& operator[](std::string_view column) const;
};
struct Manifest {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
  std::vector<ManifestRow> RowsOf(std::string_view archive) const;
  std::vector<std::string> Archives() const;
};
Manifest LoadManifest(std::string_view relative);

// Hand-made entries: a level-2 or level-0 header around given packed bytes.
struct HandEntry {
  std::string method = "-lh0-";
  std::string directory;  // ext 0x02 as stored (0xFF separators), level 2 only
  std::string name;       // level 0: the whole stored path
  std::string packed;
  std::uint32_t originalSize = 0;
  std::uint16_t crc = 0;
  std::uint32_t time = 0x5F5E1000;
  std::vector<std::string> extraExtended;  // whole bodies with type byte first
};
std::string Level2Header(const HandEntry& e);  // header CRC included
std::string Level0Header(const HandEntry& e);
std::string StoredEntry(std::string_view path, std::string_view content, int level = 2);
std::uint16_t Crc16Of(std::string_view bytes);

}  // namespace pelko::lzh::test
