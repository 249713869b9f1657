// Finding earlier occurrences of the bytes ahead: a sliding window over the
// input, and two finders on it — hash chains for the fast lazy parse and a
// binary tree that lists every useful match for the optimal parse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

namespace pelko::lzh {

// A match `length` bytes long starting `offset + 1` bytes back.
struct Match {
  std::uint16_t length = 0;
  std::uint16_t offset = 0;
};

// Input bytes addressed by an absolute position: the dictionary behind the
// current position and the look-ahead in front of it.
class EncoderWindow {
 public:
  // Keeps `history` bytes behind the position and room for `ahead` in front.
  EncoderWindow(std::size_t history, std::size_t ahead);

  const std::uint8_t* At(std::uint32_t position) const {
    return bytes_.get() + (position - start_);
  }
  std::uint32_t Start() const { return start_; }
  std::uint32_t End() const { return start_ + static_cast<std::uint32_t>(size_); }
  // Copies as much of `input` as fits; drops what lies more than `history`
  // bytes behind `position` to make room first.
  std::size_t Append(std::span<const std::byte> input, std::uint32_t position);
  // Empties the window; the next byte appended is at `position`.
  void Restart(std::uint32_t position) {
    start_ = position;
    size_ = 0;
  }
  // All positions move down by `delta` (to keep them far from wrapping).
  void Rebase(std::uint32_t delta) { start_ -= delta; }

 private:
  std::size_t history_;
  std::size_t capacity_;
  std::unique_ptr<std::uint8_t[]> bytes_;  // capacity_ + slack for wide compares
  std::uint32_t start_;                    // position of bytes_[0]
  std::size_t size_ = 0;
};

// Length of the common prefix of a and b, at most `limit` (both readable for
// `limit` bytes plus 8 bytes of slack).
inline int CommonLength(const std::uint8_t* a, const std::uint8_t* b, int limit) {
  int len = 0;
  while (len < limit) {
    std::uint64_t x;
    std::uint64_t y;
    std::memcpy(&x, a + len, 8);
    std::memcpy(&y, b + len, 8);
    const std::uint64_t diff = x ^ y;
    if (diff != 0) {
      len += __builtin_ctzll(diff) / 8;
      return len < limit ? len : limit;
    }
    len += 8;
  }
  return limit;
}

inline std::uint32_t Hash3(const std::uint8_t* p, int bits) {
  const std::uint32_t v =
      std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16;
  return (v * 2654435761u) >> (32 - bits);
}

inline std::uint32_t Hash4(const std::uint8_t* p, int bits) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return (v * 2654435761u) >> (32 - bits);
}

// Positions stored in the finders' tables: 0 means none, so real positions
// start high enough that "none" always lies outside the window.
inline constexpr std::uint32_t kFirstPosition = 1u << 20;
// When positions reach this, everything is moved down.
inline constexpr std::uint32_t kRebaseThreshold = 0xC0000000u;

class HashChainFinder {
 public:
  explicit HashChainFinder(int dictionaryBits);

  // Inserts `position` and returns the longest match there (length 0 if
  // none of at least `minLength` bytes), walking at most `maxChain` links
  // and stopping at `niceLength`.
  Match InsertAndFind(std::uint32_t position, const EncoderWindow& window, int lenLimit,
                      int minLength, int maxChain, int niceLength);
  void Insert(std::uint32_t position, const EncoderWindow& window);
  void Rebase(std::uint32_t delta);
  void Prefetch(const std::uint8_t* ahead) const {
    __builtin_prefetch(&head_[Hash3(ahead, kHashBits)], 1);
  }

 private:
  static constexpr int kHashBits = 15;
  std::uint32_t dictionarySize_;
  std::unique_ptr<std::uint32_t[]> head_;
  std::unique_ptr<std::uint32_t[]> previous_;
};

class BinaryTreeFinder {
 public:
  explicit BinaryTreeFinder(int dictionaryBits);

  // Inserts `position` and writes into `out` every match that is longer
  // than all closer ones (lengths ascending, at least 3); returns how many.
  int InsertAndList(std::uint32_t position, const EncoderWindow& window, int lenLimit, int maxDepth,
                    Match* out);
  // Asks the memory for the table slots of a position about to come: the
  // hash heads are the finder's cache misses.
  void Prefetch(const std::uint8_t* ahead) const {
    __builtin_prefetch(&head_[Hash4(ahead, kHashBits)], 1);
    __builtin_prefetch(&head3_[Hash3(ahead, kHash3Bits)], 1);
  }
  // Second stage, a few positions later: the first candidate's links and
  // bytes, now that its head slot is in the cache.
  void PrefetchCandidate(const std::uint8_t* ahead, const EncoderWindow& window) const {
    const std::uint32_t candidate = head_[Hash4(ahead, kHashBits)];
    if (candidate < window.Start()) return;
    __builtin_prefetch(&children_[std::size_t{2} * (candidate & (cyclicSize_ - 1))], 1);
    __builtin_prefetch(window.At(candidate), 0);
  }
  // Inserts without listing.
  void Insert(std::uint32_t position, const EncoderWindow& window, int lenLimit, int maxDepth);
  void Rebase(std::uint32_t delta);

 private:
  template <bool kList>
  int Walk(std::uint32_t position, const EncoderWindow& window, int lenLimit, int maxDepth,
           Match* out);

  // Trees are keyed by 4 bytes; the nearest 3-byte match comes from a
  // table of its own.
  static constexpr int kHashBits = 17;
  static constexpr int kHash3Bits = 16;
  std::uint32_t cyclicSize_;
  std::unique_ptr<std::uint32_t[]> head_;
  std::unique_ptr<std::uint32_t[]> head3_;
  std::unique_ptr<std::uint32_t[]> children_;  // two per cyclic slot: smaller, larger
};

}  // namespace pelko::lzh
