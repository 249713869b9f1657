#include "lzh/codec/huffman_encoding.h"

#include <algorithm>
#include <array>

namespace pelko::lzh {
namespace {

constexpr int kDepthLimit = 32;
constexpr std::size_t kMaxSymbols = 1024;

}  // namespace

int BuildCodeLengths(std::span<const std::uint32_t> frequencies, int maxLength,
                     std::span<std::uint8_t> lengths) {
  std::fill(lengths.begin(), lengths.end(), std::uint8_t{0});
  // Used symbols by ascending frequency (ties by symbol), as one sortable key.
  std::array<std::uint64_t, kMaxSymbols> keys;
  int used = 0;
  for (std::size_t s = 0; s < frequencies.size() && s < kMaxSymbols; ++s) {
    if (frequencies[s] != 0) keys[used++] = std::uint64_t{frequencies[s]} << 16 | s;
  }
  if (used < 2) return used;
  std::sort(keys.begin(), keys.begin() + used);

  // Two-queue Huffman: leaves 0..used-1 in key order, internal nodes after;
  // both queues stay sorted, so each step takes the two lightest fronts.
  std::array<std::uint64_t, 2 * kMaxSymbols> weight;
  std::array<int, 2 * kMaxSymbols> parent;
  for (int i = 0; i < used; ++i) weight[i] = keys[i] >> 16;
  int nextLeaf = 0;
  int nextInternal = used;
  int created = used;
  auto takeLightest = [&]() {
    if (nextLeaf < used && (nextInternal >= created || weight[nextLeaf] <= weight[nextInternal])) {
      return nextLeaf++;
    }
    return nextInternal++;
  };
  while (created < 2 * used - 1) {
    const int a = takeLightest();
    const int b = takeLightest();
    weight[created] = weight[a] + weight[b];
    parent[a] = created;
    parent[b] = created;
    ++created;
  }
  std::array<int, 2 * kMaxSymbols> depth;
  depth[2 * used - 2] = 0;
  // Count leaves per length, clamping the deep ones, then restore the Kraft
  // equality by moving leaves down: each step removes one unit of excess.
  std::array<int, kDepthLimit + 1> count{};
  for (int node = 2 * used - 3; node >= 0; --node) {
    depth[node] = depth[parent[node]] + 1;
    if (node < used) ++count[std::min(depth[node], maxLength)];
  }
  std::uint64_t kraft = 0;
  for (int len = 1; len <= maxLength; ++len)
    kraft += std::uint64_t(count[len]) << (maxLength - len);
  const std::uint64_t full = std::uint64_t{1} << maxLength;
  while (kraft > full) {
    --count[maxLength];
    for (int len = maxLength - 1; len > 0; --len) {
      if (count[len] != 0) {
        --count[len];
        count[len + 1] += 2;
        break;
      }
    }
    --kraft;
  }
  // Longest codes to the rarest symbols.
  int index = 0;
  for (int len = maxLength; len > 0; --len) {
    for (int k = 0; k < count[len]; ++k) {
      lengths[keys[index++] & 0xFFFF] = static_cast<std::uint8_t>(len);
    }
  }
  return used;
}

void BuildCanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes) {
  std::array<std::uint32_t, 18> count{};
  for (std::uint8_t len : lengths) ++count[len];
  std::array<std::uint32_t, 18> next{};
  std::uint32_t code = 0;
  for (int len = 1; len <= 16; ++len) {
    next[len] = code;
    code = (code + count[len]) << 1;
  }
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    codes[s] = lengths[s] == 0 ? 0 : static_cast<std::uint16_t>(next[lengths[s]]++);
  }
}

}  // namespace pelko::lzh
