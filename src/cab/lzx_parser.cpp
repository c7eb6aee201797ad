#include "cab/lzx_parser.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "cab/lzx_huffman.h"
#include "cab/lzx_match_length.h"

namespace bvq::cab::lzx {
namespace {

constexpr uint32_t kInfinite = std::numeric_limits<uint32_t>::max();
// How far ahead the match finder's hash tables are fetched into the cache.
constexpr uint32_t kPrefetchAhead = 4;

}  // namespace

void Parser::CostModel::SetDefaults(int numMain) {
  for (int i = 0; i < kNumChars; ++i) main[i] = 8 * kScale;
  for (int i = kNumChars; i < numMain; ++i) {
    int slot = (i - kNumChars) / 8, lh = (i - kNumChars) % 8;
    main[i] = (slot < kNumRepeats ? 7 : 9 + slot / 8) * kScale + lh * kScale / 2;
  }
  for (uint32_t& c : length) c = 7 * kScale;
  for (uint32_t& c : aligned) c = 3 * kScale;
  useAligned = false;
}

void Parser::CostModel::SetFromStats(const BlockStats& s, int numMain) {
  uint8_t lens[kMaxMainSymbols];
  BuildCodeLengths(s.main.data(), numMain, kMaxCodeLength, lens);
  for (int i = 0; i < numMain; ++i) main[i] = (lens[i] && s.main[i] ? lens[i] : 15) * kScale;
  BuildCodeLengths(s.length.data(), kNumLengthSymbols, kMaxCodeLength, lens);
  for (int i = 0; i < kNumLengthSymbols; ++i) length[i] = (lens[i] && s.length[i] ? lens[i] : 12) * kScale;
  BuildCodeLengths(s.aligned.data(), kNumAlignedSymbols, kMaxAlignedLength, lens);
  uint64_t alignedBits = s.alignedFooterBits;
  for (int i = 0; i < kNumAlignedSymbols; ++i) {
    aligned[i] = (lens[i] ? lens[i] : 7) * kScale;
    alignedBits += uint64_t{s.aligned[i]} * lens[i];
  }
  useAligned = alignedBits + 24 < s.verbatimFooterBits;
}


Parser::Parser(int windowBits, const ParserTuning& t)
    : numMain_(kNumChars + 8 * NumPositionSlots(windowBits)),
      mf_(windowBits, MaxDistance(windowBits), t.maxDepth, t.niceLen), niceLen_(t.niceLen), skipLen_(std::min(t.skipLen, t.niceLen)), passes_(t.passes) {
  model_.SetDefaults(numMain_);
}

void Parser::Reset() {
  mf_.Reset();
  model_.SetDefaults(numMain_);
  literalShare_ = 1.0;
  firstChunk_ = true;
}

void Parser::Parse(const ParseInput& in, const MatchCache& cache, RepeatQueue& queue, std::vector<Item>& out) {
  const RepeatQueue start = queue;
  const size_t first = out.size();
  EstimateLiteralCosts(in);
  // The first chunk of a folder starts from guessed match costs: one more pass there.
  const int passes = passes_ + (firstChunk_ ? 1 : 0);
  firstChunk_ = false;
  for (int pass = 0; pass < passes; ++pass) {
    out.resize(first);
    RepeatQueue q = start;
    ShortestPath(in, cache, q, out);
    BlockStats stats;
    for (size_t k = first; k < out.size(); ++k) stats.Add(out[k]);
    model_.SetFromStats(stats, numMain_);
    uint64_t literals = 0, symbols = 0;
    for (int k = 0; k < numMain_; ++k) {
      symbols += stats.main[k];
      if (k < kNumChars) literals += stats.main[k];
    }
    literalShare_ = symbols ? std::max(0.05, static_cast<double>(literals) / static_cast<double>(symbols)) : 1.0;
    queue = q;
  }
}

// Literal costs for the first pass come from this chunk's own byte counts, made dearer by
// the share of the main tree that matches took in the chunk before: carrying over the
// previous chunk's literal costs would keep a parse on matches where literals pay.
void Parser::EstimateLiteralCosts(const ParseInput& in) {
  uint32_t hist[kNumChars] = {};
  const uint8_t* p = in.data + (in.start - in.base);
  const uint32_t n = in.end - in.start;
  for (uint32_t i = 0; i < n; ++i) hist[p[i]]++;
  const double share = std::log2(1.0 / literalShare_);
  for (int b = 0; b < kNumChars; ++b) {
    double bits = std::log2(n / std::max(hist[b], 1u) * (hist[b] ? 1.0 : 2.0)) + share;
    bits = std::clamp(bits, 1.0, double{kMaxCodeLength});
    model_.main[b] = static_cast<uint32_t>(bits * CostModel::kScale + 0.5);
  }
}

void Parser::FindMatches(const ParseInput& in, MatchCache& cache) {
  const uint32_t n = in.end - in.start;
  cache.first.assign(n + 1, 0);
  cache.matches.clear();
  cache.matches.reserve(size_t{n} * 2);
  Match tmp[BtMatchFinder::kMaxMatchesPerPosition];
  for (uint32_t i = 0; i < n;) {
    const uint32_t p = in.start + i;
    const uint8_t* cur = in.data + (p - in.base);
    if (i + kPrefetchAhead + 4 <= n) mf_.Prefetch(cur + kPrefetchAhead);
    const uint32_t c = mf_.Find(cur, p, in.end - p, p - in.base, tmp);
    cache.first[i] = static_cast<uint32_t>(cache.matches.size());
    cache.matches.insert(cache.matches.end(), tmp, tmp + c);
    ++i;
    if (c && tmp[c - 1].len >= skipLen_) {
      // A long match: the strings it covers are already in the tree at their earlier
      // copy, so they are neither searched nor entered.
      for (uint32_t k = 1; k < tmp[c - 1].len && i < n; ++k) cache.first[i++] = static_cast<uint32_t>(cache.matches.size());
    }
  }
  cache.first[n] = static_cast<uint32_t>(cache.matches.size());
}

void Parser::ShortestPath(const ParseInput& in, const MatchCache& cache, RepeatQueue& q, std::vector<Item>& out) {
  const uint32_t n = in.end - in.start;
  nodes_.resize(n + 1);
  for (uint32_t i = 1; i <= n; ++i) nodes_[i].cost = kInfinite;
  nodes_[0].cost = 0;
  std::memcpy(nodes_[0].r, q.r.data(), sizeof nodes_[0].r);
  for (uint32_t i = 0; i < n; ++i) {
    const Node nd = nodes_[i];
    const uint32_t p = in.start + i;
    const uint8_t* cur = in.data + (p - in.base);
    const uint32_t frameEnd = (p / kFrameSize + 1) * kFrameSize;
    const uint32_t limit = std::min({in.end, frameEnd, p + kMaxMatch}) - p;
    const uint32_t history = p - in.base;
    const uint32_t count = cache.first[i + 1] - cache.first[i];
    const Match* pm = cache.matches.data() + cache.first[i];
    Relax(i + 1, nd.cost + model_.main[*cur], 0, *cur, nd.r);
    if (limit < kMinMatch) continue;
    uint32_t repLen[kNumRepeats] = {};
    int longRep = -1;
    for (int k = 0; k < kNumRepeats; ++k) {
      const uint32_t d = nd.r[k];
      if (d > history) continue;
      repLen[k] = MatchLength(cur - d, cur, 0, limit);
      if (repLen[k] >= niceLen_ && (longRep < 0 || repLen[k] > repLen[longRep])) longRep = k;
    }
    const uint32_t longest = count ? std::min(pm[count - 1].len, limit) : 0;
    if (longRep >= 0 && repLen[longRep] + 8 >= longest) {
      // A long repeat: take it whole and continue after it.
      uint32_t r[kNumRepeats] = {nd.r[0], nd.r[1], nd.r[2]};
      std::swap(r[0], r[longRep]);
      Relax(i + repLen[longRep], nd.cost + model_.Symbol(longRep, repLen[longRep]), repLen[longRep], longRep, r);
      i += repLen[longRep] - 1;
      continue;
    }
    if (longest >= niceLen_ && count) {
      const uint32_t d = pm[count - 1].dist, f = d + 2;
      const int slot = SlotOf(f);
      const uint32_t r[kNumRepeats] = {d, nd.r[0], nd.r[1]};
      Relax(i + longest, nd.cost + model_.Footer(slot, f) + model_.Symbol(slot, longest), longest, f, r);
      i += longest - 1;
      continue;
    }
    for (int k = 0; k < kNumRepeats; ++k) {
      const uint32_t len = repLen[k];
      if (len < kMinMatch) continue;
      uint32_t r[kNumRepeats] = {nd.r[0], nd.r[1], nd.r[2]};
      std::swap(r[0], r[k]);
      const uint32_t base = nd.cost;
      for (uint32_t l = kMinMatch; l <= len; ++l) Relax(i + l, base + model_.Symbol(k, l), l, k, r);
    }
    uint32_t prevLen = 1;
    for (uint32_t k = 0; k < count; ++k) {
      const uint32_t len = std::min(pm[k].len, limit);
      if (len <= prevLen) continue;
      const uint32_t d = pm[k].dist;
      if (d == nd.r[0] || d == nd.r[1] || d == nd.r[2]) {
        prevLen = len;
        continue;
      }
      const uint32_t f = d + 2;
      const int slot = SlotOf(f);
      const uint32_t base = nd.cost + model_.Footer(slot, f);
      const uint32_t r[kNumRepeats] = {d, nd.r[0], nd.r[1]};
      for (uint32_t l = prevLen + 1; l <= len; ++l) Relax(i + l, base + model_.Symbol(slot, l), l, f, r);
      prevLen = len;
    }
  }
  // Walk back from the end and emit the path forwards.
  size_t first = out.size();
  for (uint32_t j = n; j > 0;) {
    const Node& nd = nodes_[j];
    out.push_back({nd.len, nd.value});
    j -= nd.len ? nd.len : 1;
  }
  std::reverse(out.begin() + static_cast<long>(first), out.end());
  std::memcpy(q.r.data(), nodes_[n].r, sizeof nodes_[n].r);
}

}  // namespace bvq::cab::lzx
