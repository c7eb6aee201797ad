// Near-optimal parsing: the matches of every position of a chunk are found once with the
// binary-tree match finder, then a shortest-path search over the chunk picks literals,
// matches and repeated-offset matches by their cost in bits under Huffman codes built from
// the previous pass's statistics. The repeated-offset queue is carried along each path.
#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

#include "cab/lzx_huffman.h"
#include "cab/lzx_matchfinder.h"
#include "cab/lzx_parser.h"

namespace bvq::cab::lzx {
namespace {

constexpr uint32_t kInfinite = std::numeric_limits<uint32_t>::max();

inline uint32_t Extend(const uint8_t* a, const uint8_t* b, uint32_t limit) {
  uint32_t len = 0;
  while (len + 8 <= limit) {
    uint64_t x, y;
    std::memcpy(&x, a + len, 8);
    std::memcpy(&y, b + len, 8);
    if (x != y) return len + (__builtin_ctzll(x ^ y) >> 3);
    len += 8;
  }
  while (len < limit && a[len] == b[len]) ++len;
  return len;
}

// Costs in 1/16 bit of every symbol under the current codes.
struct CostModel {
  static constexpr uint32_t kScale = 16;
  uint32_t main[kMaxMainSymbols];
  uint32_t length[kNumLengthSymbols];
  uint32_t aligned[kNumAlignedSymbols];
  bool useAligned = false;

  void SetDefaults(int numMain) {
    for (int i = 0; i < kNumChars; ++i) main[i] = 8 * kScale;
    for (int i = kNumChars; i < numMain; ++i) {
      int slot = (i - kNumChars) / 8, lh = (i - kNumChars) % 8;
      main[i] = (slot < kNumRepeats ? 7 : 9 + slot / 8) * kScale + lh * kScale / 2;
    }
    for (uint32_t& c : length) c = 7 * kScale;
    for (uint32_t& c : aligned) c = 3 * kScale;
    useAligned = false;
  }

  void SetFromStats(const BlockStats& s, int numMain) {
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

  // Cost of the offset part (footer) of a match with formatted offset `f` in slot `slot`.
  uint32_t Footer(int slot, uint32_t f) const {
    uint32_t extra = kSlots.extraBits[slot];
    if (useAligned && extra >= 3) return (extra - 3) * kScale + aligned[(f - kSlots.base[slot]) & 7];
    return extra * kScale;
  }
  // Cost of the length part and main symbol of a match of length `len` in slot `slot`.
  uint32_t Symbol(int slot, uint32_t len) const {
    uint32_t lh = len - kMinMatch;
    if (lh < kNumPrimaryLengths) return main[kNumChars + slot * 8 + lh];
    return main[kNumChars + slot * 8 + kNumPrimaryLengths] + length[lh - kNumPrimaryLengths];
  }
};

struct Node {
  uint32_t cost;
  uint32_t len;    // item that ends here: 0 literal, else match length
  uint32_t value;  // literal byte or formatted offset
  uint32_t r[kNumRepeats];
};

class OptimalParser final : public Parser {
 public:
  OptimalParser(int windowBits, const ParserTuning& t)
      : numMain_(kNumChars + 8 * NumPositionSlots(windowBits)),
        mf_(windowBits, MaxDistance(windowBits), t.maxDepth, t.niceLen), niceLen_(t.niceLen), passes_(t.passes) {
    model_.SetDefaults(numMain_);
  }

  void Reset() override {
    mf_.Reset();
    model_.SetDefaults(numMain_);
  }

  void Parse(const ParseInput& in, RepeatQueue& queue, std::vector<Item>& out) override {
    FindMatches(in);
    const RepeatQueue start = queue;
    std::vector<Item> items;
    for (int pass = 0; pass < passes_; ++pass) {
      items.clear();
      RepeatQueue q = start;
      ShortestPath(in, q, items);
      BlockStats stats;
      for (const Item& it : items) stats.Add(it);
      model_.SetFromStats(stats, numMain_);
      if (pass + 1 == passes_) queue = q;
    }
    out.insert(out.end(), items.begin(), items.end());
  }

 private:
  // Runs the match finder over the chunk and keeps every position's matches.
  void FindMatches(const ParseInput& in) {
    const uint32_t n = in.end - in.start;
    first_.assign(n + 1, 0);
    matches_.clear();
    matches_.reserve(size_t{n} * 2);
    Match tmp[BtMatchFinder::kMaxMatchesPerPosition];
    for (uint32_t i = 0; i < n;) {
      const uint32_t p = in.start + i;
      const uint8_t* cur = in.data + (p - in.base);
      const uint32_t avail = in.end - p, history = p - in.base;
      uint32_t c = mf_.Find(cur, p, avail, history, tmp);
      first_[i] = static_cast<uint32_t>(matches_.size());
      matches_.insert(matches_.end(), tmp, tmp + c);
      ++i;
      if (c && tmp[c - 1].len >= niceLen_) {
        // A long match: the path search takes it whole, and the strings it covers are
        // already in the tree at their earlier copy, so they are left out.
        for (uint32_t k = 1; k < tmp[c - 1].len && i < n; ++k) first_[i++] = static_cast<uint32_t>(matches_.size());
      }
    }
    first_[n] = static_cast<uint32_t>(matches_.size());
  }

  void Relax(uint32_t j, uint32_t cost, uint32_t len, uint32_t value, const uint32_t* r) {
    Node& nd = nodes_[j];
    if (cost < nd.cost) {
      nd.cost = cost;
      nd.len = len;
      nd.value = value;
      std::memcpy(nd.r, r, sizeof nd.r);
    }
  }

  void ShortestPath(const ParseInput& in, RepeatQueue& q, std::vector<Item>& out) {
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
      const uint32_t count = first_[i + 1] - first_[i];
      const Match* pm = matches_.data() + first_[i];
      Relax(i + 1, nd.cost + model_.main[*cur], 0, *cur, nd.r);
      if (limit < kMinMatch) continue;
      uint32_t repLen[kNumRepeats] = {};
      int longRep = -1;
      for (int k = 0; k < kNumRepeats; ++k) {
        const uint32_t d = nd.r[k];
        if (d > history) continue;
        repLen[k] = Extend(cur - d, cur, limit);
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

  int numMain_;
  BtMatchFinder mf_;
  uint32_t niceLen_;
  int passes_;
  CostModel model_;
  std::vector<uint32_t> first_;  // index of each position's first match; one more at the end
  std::vector<Match> matches_;
  std::vector<Node> nodes_;
};

}  // namespace

std::unique_ptr<Parser> MakeOptimalParser(int windowBits, const ParserTuning& tuning) {
  return std::make_unique<OptimalParser>(windowBits, tuning);
}

}  // namespace bvq::cab::lzx
