#include "lzh_test_support.h"

#include <array>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "lzh/codec/crc16.h"

namespace pelko::lzh::test {

std::string FixturePath(std::string_view relative) {
  return std::string(PELKO_LZH_FIXTURES) + "/" + std::string(relative);
}

std::string ReadFixture(std::string_view relative) {
  std::ifstream file(FixturePath(relative), std::ios::binary);
  if (!file) throw std::runtime_error("missing fixture " + std::string(relative));
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

namespace {

constexpr std::array<std::uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

}  // namespace

std::string Sha256Hex(std::string_view bytes) {
  std::uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::string message(bytes);
  const std::uint64_t bitLength = static_cast<std::uint64_t>(bytes.size()) * 8;
  message.push_back(static_cast<char>(0x80));
  while (message.size() % 64 != 56) message.push_back('\0');
  for (int i = 7; i >= 0; --i) message.push_back(static_cast<char>(bitLength >> (8 * i)));
  for (std::size_t block = 0; block < message.size(); block += 64) {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i) {
      const auto* p = reinterpret_cast<const unsigned char*>(message.data() + block + 4 * i);
      w[i] = (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
             (std::uint32_t{p[2]} << 8) | p[3];
    }
    for (int i = 16; i < 64; ++i) {
      const std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
      const std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], k = h[7];
    for (int i = 0; i < 64; ++i) {
      const std::uint32_t t1 =
          k + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
      const std::uint32_t t2 =
          (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
      k = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
    h[5] += f;
    h[6] += g;
    h[7] += k;
  }
  std::string hex;
  char part[9];
  for (std::uint32_t v : h) {
    std::snprintf(part, sizeof part, "%08x", v);
    hex += part;
  }
  return hex;
}

std::string HexDecode(std::string_view hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return out;
}

const std::string& ManifestRow::operator[](std::string_view column) const {
  for (std::size_t i = 0; i < columns->size(); ++i) {
    if ((*columns)[i] == column) return cells.at(i);
  }
  throw std::runtime_error("no manifest column " + std::string(column));
}

std::vector<ManifestRow> Manifest::RowsOf(std::string_view archive) const {
  std::vector<ManifestRow> out;
  for (const auto& row : rows) {
    if (!row.empty() && row[0] == archive) out.push_back({row, &columns});
  }
  return out;
}

std::vector<std::string> Manifest::Archives() const {
  std::vector<std::string> out;
  for (const auto& row : rows) {
    if (!row.empty() && (out.empty() || out.back() != row[0])) out.push_back(row[0]);
  }
  return out;
}

Manifest LoadManifest(std::string_view relative) {
  std::istringstream text(ReadFixture(relative));
  Manifest manifest;
  std::string line;
  bool first = true;
  while (std::getline(text, line)) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', start);
      cells.push_back(
          line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (first) {
      manifest.columns = cells;
      first = false;
    } else if (!line.empty()) {
      manifest.rows.push_back(cells);
    }
  }
  return manifest;
}

std::uint16_t Crc16Of(std::string_view bytes) {
  return Crc16(std::as_bytes(std::span(bytes.data(), bytes.size())));
}

namespace {

void Put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::string Level2Header(const HandEntry& e) {
  std::vector<std::string> extended;
  extended.push_back(std::string("\x00\x00\x00", 3));  // header CRC, filled in below
  extended.push_back("\x01" + e.name);
  if (!e.directory.empty()) extended.push_back("\x02" + e.directory);
  for (const auto& x : e.extraExtended) extended.push_back(x);
  std::string h;
  Put16(h, 0);  // total size, filled in below
  h += e.method;
  Put32(h, static_cast<std::uint32_t>(e.packed.size()));
  Put32(h, e.originalSize);
  Put32(h, e.time);
  h.push_back(0x20);
  h.push_back(2);
  Put16(h, e.crc);
  h.push_back('M');
  Put16(h, static_cast<std::uint32_t>(extended[0].size() + 2));
  for (std::size_t i = 0; i < extended.size(); ++i) {
    h += extended[i];
    Put16(h, i + 1 < extended.size() ? static_cast<std::uint32_t>(extended[i + 1].size() + 2) : 0);
  }
  if ((h.size() & 0xFF) == 0) h.push_back('\0');
  h[0] = static_cast<char>(h.size() & 0xFF);
  h[1] = static_cast<char>(h.size() >> 8);
  const std::uint16_t crc = Crc16Of(h);
  const std::size_t at = 26 + 1;  // type byte of the first extended header, then its body
  h[at] = static_cast<char>(crc & 0xFF);
  h[at + 1] = static_cast<char>(crc >> 8);
  return h;
}

std::string Level0Header(const HandEntry& e) {
  std::string h;
  h.push_back(0);  // size, below
  h.push_back(0);  // checksum, below
  h += e.method;
  Put32(h, static_cast<std::uint32_t>(e.packed.size()));
  Put32(h, e.originalSize);
  Put32(h, 0x58221883);
  h.push_back(0x20);
  h.push_back(0);
  h.push_back(static_cast<char>(e.name.size()));
  h += e.name;
  Put16(h, e.crc);
  h[0] = static_cast<char>(h.size() - 2);
  unsigned sum = 0;
  for (std::size_t i = 2; i < h.size(); ++i) sum += static_cast<unsigned char>(h[i]);
  h[1] = static_cast<char>(sum & 0xFF);
  return h;
}

std::string StoredEntry(std::string_view path, std::string_view content, int level) {
  HandEntry e;
  e.packed = std::string(content);
  e.originalSize = static_cast<std::uint32_t>(content.size());
  e.crc = Crc16Of(content);
  e.name = std::string(path);
  return (level == 0 ? Level0Header(e) : Level2Header(e)) + e.packed;
}

}  // namespace pelko::lzh::test
