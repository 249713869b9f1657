#include "lzh/codec/match_finder.h"

#include <algorithm>

namespace pelko::lzh {
namespace {

constexpr std::size_t kSlack = 16;

void RebaseTable(std::uint32_t* table, std::size_t count, std::uint32_t delta) {
  for (std::size_t i = 0; i < count; ++i) table[i] = table[i] > delta ? table[i] - delta : 0;
}

}  // namespace

EncoderWindow::EncoderWindow(std::size_t history, std::size_t ahead)
    : history_(history),
      capacity_(history + ahead),
      bytes_(new std::uint8_t[history + ahead + kSlack]()),
      start_(kFirstPosition) {}

std::size_t EncoderWindow::Append(std::span<const std::byte> input, std::uint32_t position) {
  if (size_ == capacity_) {
    const std::uint32_t keepFrom =
        position - start_ > history_ ? position - static_cast<std::uint32_t>(history_) : start_;
    const std::size_t drop = keepFrom - start_;
    std::memmove(bytes_.get(), bytes_.get() + drop, size_ - drop);
    size_ -= drop;
    start_ = keepFrom;
  }
  const std::size_t n = std::min(input.size(), capacity_ - size_);
  std::memcpy(bytes_.get() + size_, input.data(), n);
  size_ += n;
  std::memset(bytes_.get() + size_, 0, kSlack);
  return n;
}

HashChainFinder::HashChainFinder(int dictionaryBits)
    : dictionarySize_(1u << dictionaryBits),
      head_(new std::uint32_t[std::size_t{1} << kHashBits]()),
      previous_(new std::uint32_t[dictionarySize_]()) {}

void HashChainFinder::Insert(std::uint32_t position, const EncoderWindow& window) {
  const std::uint32_t h = Hash3(window.At(position), kHashBits);
  previous_[position & (dictionarySize_ - 1)] = head_[h];
  head_[h] = position;
}

Match HashChainFinder::InsertAndFind(std::uint32_t position, const EncoderWindow& window,
                                     int lenLimit, int minLength, int maxChain, int niceLength) {
  const std::uint8_t* here = window.At(position);
  const std::uint32_t h = Hash3(here, kHashBits);
  std::uint32_t candidate = head_[h];
  previous_[position & (dictionarySize_ - 1)] = candidate;
  head_[h] = position;

  Match best;
  int bestLength = minLength - 1;
  // Distances stop one short of the dictionary size: every decoder's window
  // holds them.
  const std::uint32_t lowest = position - (dictionarySize_ - 1);
  niceLength = std::min(niceLength, lenLimit);
  while (candidate >= lowest && candidate < position && maxChain-- > 0) {
    const std::uint8_t* there = window.At(candidate);
    if (there[bestLength] == here[bestLength] && there[0] == here[0]) {
      const int len = CommonLength(here, there, lenLimit);
      if (len > bestLength) {
        bestLength = len;
        best.length = static_cast<std::uint16_t>(len);
        best.offset = static_cast<std::uint16_t>(position - candidate - 1);
        if (len >= niceLength) break;
      }
    }
    candidate = previous_[candidate & (dictionarySize_ - 1)];
  }
  return best;
}

void HashChainFinder::Rebase(std::uint32_t delta) {
  RebaseTable(head_.get(), std::size_t{1} << kHashBits, delta);
  RebaseTable(previous_.get(), dictionarySize_, delta);
}

BinaryTreeFinder::BinaryTreeFinder(int dictionaryBits)
    : cyclicSize_(1u << dictionaryBits),
      head_(new std::uint32_t[std::size_t{1} << kHashBits]()),
      head3_(new std::uint32_t[std::size_t{1} << kHash3Bits]()),
      children_(new std::uint32_t[2 * std::size_t{cyclicSize_}]()) {}

// The tree of each hash bucket holds earlier positions ordered by the bytes
// that follow them, newest at the root; inserting walks it once, re-linking
// the path around the new root, and meets the candidates nearest in content.
template <bool kList>
int BinaryTreeFinder::Walk(std::uint32_t position, const EncoderWindow& window, int lenLimit,
                           int maxDepth, Match* out) {
  const std::uint8_t* here = window.At(position);
  int found = 0;
  int bestLength = 2;
  const std::uint32_t h3 = Hash3(here, kHash3Bits);
  const std::uint32_t near = head3_[h3];
  head3_[h3] = position;
  if (kList && near != 0 && position - near < cyclicSize_) {
    const int len = CommonLength(here, window.At(near), std::min(lenLimit, 3));
    if (len == 3) {
      bestLength = 3;
      out[found++] = Match{3, static_cast<std::uint16_t>(position - near - 1)};
    }
  }
  if (lenLimit < 4) return found;
  const std::uint32_t h = Hash4(here, kHashBits);
  std::uint32_t candidate = head_[h];
  head_[h] = position;
  // Locals, not members: the links written below could alias them.
  const std::uint32_t cyclicSize = cyclicSize_;
  const std::uint32_t mask = cyclicSize - 1;
  std::uint32_t* const children = children_.get();
  std::uint32_t* smallerLink = &children[std::size_t{2} * (position & mask)];
  std::uint32_t* largerLink = smallerLink + 1;
  int smallerLength = 0;
  int largerLength = 0;
  for (;;) {
    const std::uint32_t delta = position - candidate;
    if (maxDepth-- <= 0 || candidate == 0 || delta >= cyclicSize) {
      *smallerLink = 0;
      *largerLink = 0;
      return found;
    }
    std::uint32_t* pair = &children[std::size_t{2} * (candidate & mask)];
    const std::uint8_t* there = here - delta;
    int len = std::min(smallerLength, largerLength);
    len += CommonLength(here + len, there + len, lenLimit - len);
    if (kList && len > bestLength) {
      bestLength = len;
      out[found].length = static_cast<std::uint16_t>(len);
      out[found].offset = static_cast<std::uint16_t>(delta - 1);
      ++found;
    }
    if (len >= lenLimit) {
      // Same bytes as far as we look: the candidate's subtrees become ours.
      *smallerLink = pair[0];
      *largerLink = pair[1];
      return found;
    }
    if (there[len] < here[len]) {
      *smallerLink = candidate;
      smallerLink = pair + 1;
      candidate = *smallerLink;
      smallerLength = len;
    } else {
      *largerLink = candidate;
      largerLink = pair;
      candidate = *largerLink;
      largerLength = len;
    }
  }
}

int BinaryTreeFinder::InsertAndList(std::uint32_t position, const EncoderWindow& window,
                                    int lenLimit, int maxDepth, Match* out) {
  return Walk<true>(position, window, lenLimit, maxDepth, out);
}

void BinaryTreeFinder::Insert(std::uint32_t position, const EncoderWindow& window, int lenLimit,
                              int maxDepth) {
  Walk<false>(position, window, lenLimit, maxDepth, nullptr);
}

void BinaryTreeFinder::Rebase(std::uint32_t delta) {
  RebaseTable(head_.get(), std::size_t{1} << kHashBits, delta);
  RebaseTable(head3_.get(), std::size_t{1} << kHash3Bits, delta);
  RebaseTable(children_.get(), 2 * std::size_t{cyclicSize_}, delta);
}

}  // namespace pelko::lzh
