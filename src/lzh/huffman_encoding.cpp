#include "lzh/huffman_encoding.h"

#include <algorithm>
#include <array>
#include <vector>

namespace pelko::lzh {
namespace {

constexpr int kDepthLimit = 32;

// Depth of every leaf of a Huffman tree over `order` (symbols sorted by
// ascending frequency), built with the two-queue method.
void LeafDepths(std::span<const std::uint32_t> frequencies, const std::vector<int>& order,
                std::vector<int>& depth) {
  const int leaves = static_cast<int>(order.size());
  // Nodes 0..leaves-1 are leaves in `order`; internal nodes follow.
  std::vector<std::uint64_t> weight(2 * leaves - 1);
  std::vector<int> parent(2 * leaves - 1, -1);
  for (int i = 0; i < leaves; ++i) weight[i] = frequencies[order[i]];
  int nextLeaf = 0;
  int nextInternal = leaves;
  int created = leaves;
  auto takeSmallest = [&]() {
    if (nextLeaf < leaves && (nextInternal >= created || weight[nextLeaf] <= weight[nextInternal])) {
      return nextLeaf++;
    }
    return nextInternal++;
  };
  while (created < 2 * leaves - 1) {
    const int a = takeSmallest();
    const int b = takeSmallest();
    weight[created] = weight[a] + weight[b];
    parent[a] = created;
    parent[b] = created;
    ++created;
  }
  std::vector<int> nodeDepth(2 * leaves - 1, 0);
  for (int node = 2 * leaves - 3; node >= 0; --node) nodeDepth[node] = nodeDepth[parent[node]] + 1;
  depth.assign(nodeDepth.begin(), nodeDepth.begin() + leaves);
}

}  // namespace

int BuildCodeLengths(std::span<const std::uint32_t> frequencies, int maxLength,
                     std::span<std::uint8_t> lengths) {
  std::fill(lengths.begin(), lengths.end(), std::uint8_t{0});
  std::vector<int> order;
  for (std::size_t s = 0; s < frequencies.size(); ++s) {
    if (frequencies[s] != 0) order.push_back(static_cast<int>(s));
  }
  const int used = static_cast<int>(order.size());
  if (used < 2) return used;
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return frequencies[a] < frequencies[b]; });
  std::vector<int> depth;
  LeafDepths(frequencies, order, depth);

  // Count leaves per length, clamping the deep ones, then restore the Kraft
  // equality by moving leaves down: each step removes one unit of excess.
  std::array<int, kDepthLimit + 1> count{};
  for (int d : depth) ++count[std::min(d, maxLength)];
  std::uint64_t kraft = 0;
  for (int len = 1; len <= maxLength; ++len) kraft += std::uint64_t(count[len]) << (maxLength - len);
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
    for (int k = 0; k < count[len]; ++k) lengths[order[index++]] = static_cast<std::uint8_t>(len);
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
