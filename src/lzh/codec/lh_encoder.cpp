#include "lzh/codec/lh_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace pelko::lzh {
namespace {

// Input bytes parsed at a time: the grain of block splitting and of
// re-pricing in the optimal parse.
constexpr std::uint32_t kSegmentBytes = 16 * 1024;
// Tokens weighed at a time when deciding where a block ends.
constexpr std::size_t kBlockSplitTokens = 1024;
constexpr std::uint32_t kLookAhead = kMaxMatch + 8;
// Hash slots are fetched this many positions ahead of their use.
constexpr int kPrefetchDistance = 8;

// Lazy parse over hash chains (-lh5-).
constexpr int kLazyMaxChain = 32;
constexpr int kLazyGoodLength = 16;  // a match this long shortens the next search
constexpr int kLazyMaxLazy = 64;     // a match this long is taken at once
constexpr int kLazyNiceLength = 128;

// Optimal parse over the binary tree (-lh6-, -lh7-).
constexpr int kTreeDepth = 32;
constexpr int kTreeNiceLength = 128;  // a match this long is taken without weighing others
constexpr int kOptimalPasses = 2;
// The first pass only gathers counts for the second: offering each match
// at its longest few lengths is enough for that, and far cheaper.
constexpr int kFirstPassLengths = 3;

// Prices: recent counts halve with each segment; a symbol not seen lately
// still gets a finite price.
constexpr double kDecay = 0.5;
constexpr double kSmooth = 1.0;

constexpr std::int32_t kPriceScale = 16;  // prices in 1/16 bit
constexpr std::int32_t kUnreached = std::numeric_limits<std::int32_t>::max();

std::uint16_t MatchSymbol(int length) {
  return static_cast<std::uint16_t>(length + 256 - kMinMatch);
}

// How the shortest path reached a position: the token's length in the low
// half (1 for a literal), a match's offset in the high half.
constexpr std::uint32_t kLiteralStep = 1;

// Prices or lengths side by side, one lane per length offered in a step.
constexpr int kLanes = LhEncoder::kParseLanes;
using Lanes = std::int32_t __attribute__((vector_size(4 * kLanes)));
using StepLanes = std::uint32_t __attribute__((vector_size(4 * kLanes)));

template <typename V, typename T>
V Load(const T* p) {
  V v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <typename V, typename T>
void Store(T* p, V v) {
  std::memcpy(p, &v, sizeof v);
}

// Offers the lengths of the matches at one position, from `length` up and
// at most `lengthsPerMatch` of each: the hot loop of the optimal parse.
// Steps may read and write up to kLanes - 1 entries past the last length;
// lanes past it are left as they were.
void RelaxMatches(std::int32_t* cost, std::uint32_t* step, const std::int32_t* lengthPrice,
                  const std::int32_t* offsetPrice, std::int32_t base, const Match* matches,
                  int count, int length, int lengthsPerMatch) {
  static_assert(kLanes == 4, "the lane numbers are written out");
  const Lanes lane = {0, 1, 2, 3};
  for (int k = 0; k < count; ++k) {
    const int to = matches[k].length;
    length = std::max(length, to + 1 - lengthsPerMatch);
    const std::int32_t price = base + offsetPrice[PositionCode(matches[k].offset)];
    const std::uint32_t stepBase = std::uint32_t{matches[k].offset} << 16;
    for (; length <= to; length += kLanes) {
      const Lanes lengths = lane + length;
      const Lanes total = price + Load<Lanes>(lengthPrice + length);
      const Lanes old = Load<Lanes>(cost + length);
      const Lanes better = (total < old) & (lengths < to + 1);
      Store(cost + length, better ? total : old);
      const StepLanes steps = stepBase + __builtin_convertvector(lengths, StepLanes);
      Store(step + length, better ? steps : Load<StepLanes>(step + length));
    }
    length = to + 1;
  }
}

// Matches come with lengths and offsets ascending. A match costs the same
// bits as a longer one with the same position code, so only the longest of
// each code is worth weighing.
int KeepLongestPerCode(Match* matches, int count) {
  int kept = 0;
  for (int k = 0; k < count; ++k) {
    if (kept > 0 && PositionCode(matches[kept - 1].offset) == PositionCode(matches[k].offset))
      --kept;
    matches[kept++] = matches[k];
  }
  return kept;
}

}  // namespace

LhEncoder::LhEncoder(PackMethod method, ByteSink& sink)
    : method_(EncoderMethodOf(method)),
      optimal_(method != PackMethod::Lh5),
      bits_(sink),
      blocks_(method_, bits_),
      window_(std::size_t{1} << method_.dictionaryBits, 2 * kSegmentBytes + kLookAhead),
      position_(kFirstPosition) {
  if (optimal_) {
    tree_ = std::make_unique<BinaryTreeFinder>(method_.dictionaryBits);
    cost_.resize(kSegmentBytes + 1 + kLanes);
    step_.resize(kSegmentBytes + 1 + kLanes);
    listed_.resize(kSegmentBytes);
    found_list_.resize(kMaxMatch + 2);
    StartingPrices();
  } else {
    chains_ = std::make_unique<HashChainFinder>(method_.dictionaryBits);
  }
  segment_.reserve(kSegmentBytes + 1);
}

// Before anything is seen: literals at 8 bits, matches a little dearer the
// longer and farther they are.
void LhEncoder::StartingPrices() {
  prices_ = Prices{};
  for (int s = 0; s < 256; ++s) prices_.literalLength[s] = 8 * kPriceScale;
  for (int s = 256; s < kLiteralLengthCodes; ++s) {
    prices_.literalLength[s] = (6 + std::min(10, (s - 256) / 8)) * kPriceScale;
  }
  for (int p = 0; p < kMaxPositionCodes; ++p) prices_.position[p] = 4 * kPriceScale;
  recentLiteralLength_.fill(0);
  recentPosition_.fill(0);
}

void LhEncoder::Restart(ByteSink& sink) {
  // The new stream starts a whole dictionary past the old one's end: every
  // position the finders still hold then lies out of reach, as if cleared.
  std::uint32_t next = window_.End() + (std::uint32_t{1} << method_.dictionaryBits) + 1;
  if (next >= kRebaseThreshold) {
    const std::uint32_t delta = next - kFirstPosition;
    if (chains_) chains_->Rebase(delta);
    if (tree_) tree_->Rebase(delta);
    next = kFirstPosition;
  }
  window_.Restart(next);
  position_ = next;
  bytesIn_ = 0;
  segment_.clear();
  haveFound_ = false;
  found_ = Match{};
  bits_.Restart(sink);
  blocks_.Restart();
  if (optimal_) StartingPrices();
}

bool LhEncoder::Write(std::span<const std::byte> input) {
  while (!input.empty() && bits_.Ok()) {
    const std::size_t taken = window_.Append(input, position_);
    input = input.subspan(taken);
    bytesIn_ += taken;
    while (window_.End() - position_ >= kSegmentBytes + kLookAhead && bits_.Ok()) {
      PackSegment(false);
    }
  }
  return bits_.Ok();
}

bool LhEncoder::Finish() {
  while (window_.End() != position_ && bits_.Ok()) PackSegment(true);
  blocks_.Finish();
  return bits_.Finish();
}

void LhEncoder::PackSegment(bool final) {
  const std::uint32_t end =
      final ? std::min(window_.End(), position_ + kSegmentBytes) : position_ + kSegmentBytes;
  segment_.clear();
  if (optimal_) {
    ParseOptimal(end);
  } else {
    ParseLazy(end);
  }
  const std::span<const Token> tokens(segment_);
  for (std::size_t at = 0; at < tokens.size(); at += kBlockSplitTokens) {
    blocks_.AddSegment(tokens.subspan(at, std::min(kBlockSplitTokens, tokens.size() - at)));
  }
  if (optimal_) UpdatePrices();
  RebaseIfNeeded();
}

void LhEncoder::EmitLiteral(std::uint32_t position) {
  segment_.push_back(Token{*window_.At(position), 0});
}

void LhEncoder::EmitMatch(Match match) {
  segment_.push_back(Token{MatchSymbol(match.length), match.offset});
}

Match LhEncoder::FindLazy(std::uint32_t position, int maxChain) {
  const std::uint32_t available = window_.End() - position;
  if (available < kMinMatch) return Match{};
  const int lenLimit = static_cast<int>(std::min<std::uint32_t>(kMaxMatch, available));
  chains_->Prefetch(window_.At(position) + kPrefetchDistance);
  return chains_->InsertAndFind(position, window_, lenLimit, kMinMatch, maxChain, kLazyNiceLength);
}

void LhEncoder::InsertRange(std::uint32_t from, std::uint32_t to) {
  const std::uint32_t last = window_.End() >= kMinMatch ? window_.End() - kMinMatch : 0;
  for (std::uint32_t p = from; p < to && p <= last; ++p) chains_->Insert(p, window_);
}

// Lazy by one: a match is taken only when the match at the next byte is
// not longer.
void LhEncoder::ParseLazy(std::uint32_t segmentEnd) {
  auto usable = [](Match m) { return m.length >= kMinMatch; };
  while (position_ < segmentEnd) {
    Match current = haveFound_ ? found_ : FindLazy(position_, kLazyMaxChain);
    haveFound_ = false;
    if (!usable(current)) {
      EmitLiteral(position_++);
      continue;
    }
    if (current.length < kLazyMaxLazy && window_.End() - position_ > kMinMatch) {
      const int chain = current.length >= kLazyGoodLength ? kLazyMaxChain / 4 : kLazyMaxChain;
      const Match next = FindLazy(position_ + 1, chain);
      if (usable(next) && next.length > current.length) {
        EmitLiteral(position_++);
        found_ = next;
        haveFound_ = true;
        continue;
      }
      EmitMatch(current);
      InsertRange(position_ + 2, position_ + current.length);
    } else {
      EmitMatch(current);
      InsertRange(position_ + 1, position_ + current.length);
    }
    position_ += current.length;
  }
}

// Every match worth weighing at each position of the segment. A very long
// match is the only one kept, and the bytes it covers are only inserted:
// that keeps runs and repeats fast.
void LhEncoder::ListSegmentMatches(std::uint32_t n) {
  pool_.clear();
  std::uint32_t skipUntil = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::uint32_t here = position_ + i;
    const std::uint32_t available = window_.End() - here;
    const int lenLimit = static_cast<int>(std::min<std::uint32_t>(kMaxMatch, available));
    listed_[i] = Listed{static_cast<std::uint32_t>(pool_.size()), 0, i < skipUntil};
    if (lenLimit < kMinMatch) continue;
    tree_->Prefetch(window_.At(here) + kPrefetchDistance);
    tree_->PrefetchCandidate(window_.At(here) + kPrefetchDistance / 2, window_);
    if (i < skipUntil) {
      tree_->Insert(here, window_, lenLimit, kTreeDepth);
      continue;
    }
    Match* out = found_list_.data();
    int count = tree_->InsertAndList(here, window_, lenLimit, kTreeDepth, out);
    const int room = static_cast<int>(n - i);
    while (count > 0 && out[count - 1].length > room) {
      // Cut to the segment's end: the longest that still fits.
      if (count >= 2 && out[count - 2].length >= room) {
        --count;
      } else {
        out[count - 1].length = static_cast<std::uint16_t>(room);
        break;
      }
    }
    if (count > 0 && out[count - 1].length < kMinMatch) --count;
    count = KeepLongestPerCode(out, count);
    if (count > 0 && out[count - 1].length >= kTreeNiceLength) {
      out[0] = out[count - 1];
      count = 1;
      skipUntil = i + out[0].length;
      listed_[i].onlyLongest = true;
    }
    listed_[i].count = static_cast<std::uint16_t>(count);
    pool_.insert(pool_.end(), out, out + count);
  }
}

// Shortest path through the segment at the given prices: every position is
// reached by a literal or by any length of any listed match.
void LhEncoder::ShortestPath(std::uint32_t n, const Prices& prices, int lengthsPerMatch) {
  std::fill(cost_.begin(), cost_.begin() + n + 1, kUnreached);
  cost_[0] = 0;
  // lengthPrice[l] is the price of the symbol of a match l bytes long.
  const Price* lengthPrice = prices.literalLength.data() + 256 - kMinMatch;
  // offsetPrice[p]: position code p with its p - 1 extra bits.
  std::array<Price, kMaxPositionCodes> offsetPrice;
  for (int p = 0; p < kMaxPositionCodes; ++p) {
    offsetPrice[p] = prices.position[p] + kPriceScale * (p > 1 ? p - 1 : 0);
  }
  for (std::uint32_t i = 0; i < n; ++i) {
    const Listed& listed = listed_[i];
    if (listed.skipped) continue;
    const Price base = cost_[i];
    const std::uint8_t byte = *window_.At(position_ + i);
    if (base + prices.literalLength[byte] < cost_[i + 1]) {
      cost_[i + 1] = base + prices.literalLength[byte];
      step_[i + 1] = kLiteralStep;
    }
    const Match* matches = pool_.data() + listed.start;
    RelaxMatches(cost_.data() + i, step_.data() + i, lengthPrice, offsetPrice.data(), base, matches,
                 listed.count, listed.onlyLongest ? matches[0].length : kMinMatch, lengthsPerMatch);
  }
  // Walk back from the end, then put the tokens in order.
  segment_.clear();
  for (std::uint32_t k = n; k > 0;) {
    const std::uint32_t step = step_[k];
    const std::uint32_t length = step & 0xFFFF;
    if (length == 1) {
      segment_.push_back(Token{*window_.At(position_ + k - 1), 0});
    } else {
      segment_.push_back(
          Token{MatchSymbol(static_cast<int>(length)), static_cast<std::uint16_t>(step >> 16)});
    }
    k -= length;
  }
  std::reverse(segment_.begin(), segment_.end());
}

// Parsed roughly at the prices of the input before, then fully at prices
// that include the counts of that first parse.
void LhEncoder::ParseOptimal(std::uint32_t segmentEnd) {
  const std::uint32_t n = segmentEnd - position_;
  ListSegmentMatches(n);
  ShortestPath(n, prices_, kFirstPassLengths);
  for (int pass = 1; pass < kOptimalPasses; ++pass) {
    ShortestPath(n, PricesWith(segment_), kMaxMatch);
  }
  position_ = segmentEnd;
}

// Prices follow the recent statistics: each segment's counts weigh as much
// as everything before, so the parse adapts within a few segments.
LhEncoder::Prices LhEncoder::PricesWith(std::span<const Token> tokens) const {
  std::array<double, kLiteralLengthCodes> literalLength = recentLiteralLength_;
  std::array<double, kMaxPositionCodes> position = recentPosition_;
  for (double& f : literalLength) f *= kDecay;
  for (double& f : position) f *= kDecay;
  for (const Token& t : tokens) {
    literalLength[t.symbol] += 1;
    if (t.symbol >= 256) position[PositionCode(t.offset)] += 1;
  }
  auto price = [](double f, double total) {
    const double bits = std::log2((total + 1.0) / (f + kSmooth));
    return static_cast<Price>(std::clamp(bits, 1.0, 18.0) * kPriceScale);
  };
  Prices prices;
  double total = 0;
  for (double f : literalLength) total += f;
  for (int s = 0; s < kLiteralLengthCodes; ++s)
    prices.literalLength[s] = price(literalLength[s], total);
  double positions = 0;
  for (double f : position) positions += f;
  for (int p = 0; p < method_.positionCodes; ++p)
    prices.position[p] = price(position[p], positions);
  return prices;
}

void LhEncoder::UpdatePrices() {
  prices_ = PricesWith(segment_);
  for (double& f : recentLiteralLength_) f *= kDecay;
  for (double& f : recentPosition_) f *= kDecay;
  for (const Token& t : segment_) {
    recentLiteralLength_[t.symbol] += 1;
    if (t.symbol >= 256) recentPosition_[PositionCode(t.offset)] += 1;
  }
}

void LhEncoder::RebaseIfNeeded() {
  if (position_ < kRebaseThreshold) return;
  const std::uint32_t delta = window_.Start() - kFirstPosition;
  window_.Rebase(delta);
  if (chains_) chains_->Rebase(delta);
  if (tree_) tree_->Rebase(delta);
  position_ -= delta;
}

}  // namespace pelko::lzh
