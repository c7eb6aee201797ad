#include "cab/lzx_parser.h"

#include <algorithm>

#include "cab/lzx_match_length.h"

namespace bvq::cab::lzx {
namespace {

// The longest match allowed at folder position p: within the chunk and the frame.
uint32_t MatchLimit(const ParseInput& in, uint32_t p) {
  const uint32_t frameEnd = (p / kFrameSize + 1) * kFrameSize;
  return std::min({in.end, frameEnd, p + kMaxMatch}) - p;
}

}  // namespace

Parser::Parser(int windowBits, const ParserTuning& t)
    : numMain_(kNumChars + 8 * NumPositionSlots(windowBits)),
      innerStride_(std::max(1u, t.innerStride)), niceLen_(t.niceLen), lookAhead_(t.lookAhead),
      optimalPasses_(t.optimalPasses), relaxLong_(std::max(1u, t.relaxLong)),
      skipAfter_(t.skipAfter ? t.skipAfter : ~0u), skipStride_(std::max(1u, t.skipStride)) {
  if (t.treeDepth) tree_.emplace(windowBits, t.hashBits, t.treeDepth, t.niceLen);
  else buckets_.emplace(MaxDistance(windowBits), t.hashBits, t.ways, t.niceLen, t.longWays);
  model_.SetDefaults(numMain_);
}

void Parser::Reset() {
  if (tree_) tree_->Reset();
  else buckets_->Reset();
  model_.SetDefaults(numMain_);
}

void Parser::EnterRange(const ParseInput& in, uint32_t from, uint32_t to, uint32_t stride) {
  // The finder is chosen once for the loop: Insert's choice at every position costs 2 %
  // more instructions over a whole parse.
  const uint32_t end = in.start + to;
  if (buckets_) {
    const uint32_t p = in.start + from;
    if (p < end) buckets_->InsertRange(in.data + (p - in.base), p, end - p, stride, in.end - p);
  } else {
    for (uint32_t p = in.start + from; p < end; p += stride) tree_->Insert(in.data + (p - in.base), p, in.end - p, p - in.base);
  }
}

void Parser::Enter(const ParseInput& in, uint32_t stride) { EnterRange(in, 0, in.end - in.start, stride); }

Parser::Choice Parser::Best(const ParseInput& in, uint32_t i, const RepeatQueue& q) {
  const uint32_t p = in.start + i;
  const uint8_t* cur = in.data + (p - in.base);
  const uint32_t limit = MatchLimit(in, p);
  const uint32_t history = p - in.base;
  const uint32_t* lit = litCost_.data() + i;
  Choice best;
  if (limit < kMinMatch) {
    Insert(in, p);
    return best;
  }
  for (int k = 0; k < kNumRepeats; ++k) {
    const uint32_t d = q.r[k];
    if (d > history) continue;
    const uint32_t len = MatchLength(cur - d, cur, 0, limit);
    if (len < kMinMatch) continue;
    const int32_t gain = static_cast<int32_t>(lit[len] - lit[0]) - static_cast<int32_t>(model_.Symbol(k, len));
    if (gain > best.gain) best = {len, static_cast<uint32_t>(k), gain};
  }
  Match found[kMaxMatchesPerPosition];
  const uint32_t n = Find(in, p, limit, found);
  for (uint32_t k = 0; k < n; ++k) {
    const uint32_t len = found[k].len, d = found[k].dist;
    if (len <= best.len || d == q.r[0] || d == q.r[1] || d == q.r[2]) continue;
    const uint32_t f = d + 2;
    const int slot = SlotOf(f);
    const int32_t gain = static_cast<int32_t>(lit[len] - lit[0]) -
                         static_cast<int32_t>(model_.Symbol(slot, len) + model_.Footer(slot, f));
    if (gain > best.gain) best = {len, f, gain};
  }
  return best;
}

void Parser::Parse(const ParseInput& in, RepeatQueue& q, std::vector<Item>& out, std::vector<BlockStats>& frames) {
  const size_t first = out.size();
  if (optimalPasses_ > 0) {
    ParseOptimal(in, q, out, frames);
  } else {
    ParseLazy(in, q, out);
    CountFrames(in, out, first, frames);
  }
}

void Parser::CountFrames(const ParseInput& in, const std::vector<Item>& out, size_t first, std::vector<BlockStats>& frames) {
  const uint32_t n = in.end - in.start;
  frames.assign((n + kFrameSize - 1) / kFrameSize, BlockStats{});
  BlockStats all;
  size_t k = first;
  for (size_t f = 0; f < frames.size(); ++f) {
    const uint32_t len = std::min<uint32_t>(kFrameSize, n - static_cast<uint32_t>(f) * kFrameSize);
    for (uint32_t covered = 0; covered < len; ++k) {
      frames[f].Add(out[k]);
      covered += out[k].len ? out[k].len : 1;
    }
    all.Merge(frames[f]);
  }
  model_.SetFromStats(all, numMain_);
}

void Parser::ParseLazy(const ParseInput& in, RepeatQueue& q, std::vector<Item>& out) {
  const uint8_t* data = in.data + (in.start - in.base);
  const uint32_t n = in.end - in.start;
  model_.EstimateLiterals(data, n);
  litCost_.resize(n + 1);
  litCost_[0] = 0;
  for (uint32_t i = 0; i < n; ++i) litCost_[i + 1] = litCost_[i] + model_.main[data[i]];
  uint32_t i = 0;
  uint32_t literalRun = 0;  // literals since the last match
  while (i < n) {
    Choice c;
    if (literalRun < skipAfter_ || literalRun % skipStride_ == 0) c = Best(in, i, q);
    else Insert(in, in.start + i);  // deep in a stretch without matches: entered only
    if (c.len == 0) {
      out.push_back({0, data[i]});
      ++i;
      ++literalRun;
      continue;
    }
    literalRun = 0;
    // Put the match off while one of the next positions offers more; `entered` is the
    // end of the positions entered so far (all inside the match).
    uint32_t entered = i + 1;
    while (c.len < niceLen_) {
      uint32_t k = 1;
      Choice later;
      for (; k <= lookAhead_ && k < c.len && i + k < n; ++k) {
        later = Best(in, i + k, q);
        entered = i + k + 1;
        if (later.len && later.gain > c.gain) break;
      }
      if (k > lookAhead_ || k >= c.len || i + k >= n) break;
      for (uint32_t j = 0; j < k; ++j) out.push_back({0, data[i + j]});
      i += k;
      c = later;
    }
    const Item it{c.len, c.value};
    out.push_back(it);
    q.Apply(it);
    EnterRange(in, entered, i + c.len, innerStride_);
    i += c.len;
  }
}

void Parser::FindAll(const ParseInput& in) {
  const uint32_t n = in.end - in.start;
  matchStart_.assign(n + 1, 0);
  matches_.clear();
  Match found[kMaxMatchesPerPosition];
  for (uint32_t i = 0; i < n;) {
    const uint32_t p = in.start + i;
    const uint32_t limit = MatchLimit(in, p);
    matchStart_[i] = static_cast<uint32_t>(matches_.size());
    ++i;
    if (limit < kMinMatch) {
      Insert(in, p);
      continue;
    }
    const uint32_t count = Find(in, p, limit, found);
    matches_.insert(matches_.end(), found, found + count);
    if (count && found[count - 1].len >= niceLen_) {
      // The path takes such a match whole: the positions it covers are only entered.
      const uint32_t from = i, skipEnd = std::min(n, i - 1 + found[count - 1].len);
      for (; i < skipEnd; ++i) matchStart_[i] = static_cast<uint32_t>(matches_.size());
      EnterRange(in, from, skipEnd, innerStride_);
    }
  }
  matchStart_[n] = static_cast<uint32_t>(matches_.size());
}

void Parser::ParseOptimal(const ParseInput& in, RepeatQueue& q, std::vector<Item>& out, std::vector<BlockStats>& frames) {
  const uint8_t* data = in.data + (in.start - in.base);
  const uint32_t n = in.end - in.start;
  model_.EstimateLiterals(data, n);
  FindAll(in);
  const RepeatQueue start = q;
  const size_t first = out.size();
  for (int pass = 0; pass < optimalPasses_; ++pass) {
    out.resize(first);
    q = start;
    ShortestPath(in, q, out);
    CountFrames(in, out, first, frames);
  }
}

void Parser::RelaxLengths(uint32_t i, uint32_t base, int slot, uint32_t lo, uint32_t hi, uint32_t value) {
  // Lengths up to kMinMatch + kNumPrimaryLengths - 1 are coded in the main symbol alone;
  // longer ones share the main symbol and add a length symbol each.
  const uint32_t* head = model_.main + kNumChars + slot * 8 - kMinMatch;
  uint32_t l = lo;
  for (; l <= hi && l < kMinMatch + kNumPrimaryLengths; ++l) Relax(i + l, base + head[l], Pack(l, value));
  const uint32_t longBase = base + head[kMinMatch + kNumPrimaryLengths];
  const uint32_t* tail = model_.length - kMinMatch - kNumPrimaryLengths;
  if (hi >= l + relaxLong_) l = hi + 1 - relaxLong_;
  for (; l <= hi; ++l) Relax(i + l, longBase + tail[l], Pack(l, value));
}

void Parser::ShortestPath(const ParseInput& in, RepeatQueue& q, std::vector<Item>& out) {
  constexpr uint32_t kInfinite = ~0u;
  constexpr uint32_t kValueMask = (1u << kValueBits) - 1;
  const uint32_t n = in.end - in.start;
  nodes_.resize(n + 1);
  queues_.resize(n + 1);
  for (uint32_t i = 1; i <= n; ++i) nodes_[i].cost = kInfinite;
  nodes_[0] = {0, 0};
  queues_[0] = q;
  for (uint32_t i = 0; i < n; ++i) {
    const uint32_t cost = nodes_[i].cost;
    if (i > 0) {
      // The queue here follows from the item that reaches this position and the queue
      // where that item starts, which was settled before.
      const uint32_t len = nodes_[i].item >> kValueBits;
      RepeatQueue r = queues_[i - (len ? len : 1)];
      r.Apply({len, nodes_[i].item & kValueMask});
      queues_[i] = r;
    }
    const RepeatQueue& rq = queues_[i];
    const uint32_t p = in.start + i;
    const uint8_t* cur = in.data + (p - in.base);
    const uint32_t limit = MatchLimit(in, p);
    const uint32_t history = p - in.base;
    const uint32_t count = matchStart_[i + 1] - matchStart_[i];
    const Match* pm = matches_.data() + matchStart_[i];
    Relax(i + 1, cost + model_.main[*cur], Pack(0, *cur));
    if (limit < kMinMatch) continue;
    uint32_t repLen[kNumRepeats] = {};
    int longRep = -1;
    for (int k = 0; k < kNumRepeats; ++k) {
      const uint32_t d = rq.r[k];
      if (d > history) continue;
      repLen[k] = MatchLength(cur - d, cur, 0, limit);
      if (repLen[k] >= niceLen_ && (longRep < 0 || repLen[k] > repLen[longRep])) longRep = k;
    }
    const uint32_t longest = count ? pm[count - 1].len : 0;
    if (longRep >= 0 && repLen[longRep] + 8 >= longest) {
      // A long repeat: take it whole and go on after it.
      const uint32_t l = repLen[longRep];
      Relax(i + l, cost + model_.Symbol(longRep, l), Pack(l, longRep));
      i += l - 1;
      continue;
    }
    if (longest >= niceLen_) {
      const uint32_t f = pm[count - 1].dist + 2;
      const int slot = SlotOf(f);
      Relax(i + longest, cost + model_.Footer(slot, f) + model_.Symbol(slot, longest), Pack(longest, f));
      i += longest - 1;
      continue;
    }
    for (int k = 0; k < kNumRepeats; ++k)
      if (repLen[k] >= kMinMatch) RelaxLengths(i, cost, k, kMinMatch, repLen[k], k);
    uint32_t prevLen = 1;
    for (uint32_t k = 0; k < count; ++k) {
      const uint32_t len = pm[k].len, d = pm[k].dist;
      if (len <= prevLen) continue;
      if (d == rq.r[0] || d == rq.r[1] || d == rq.r[2]) {
        prevLen = len;
        continue;
      }
      const uint32_t f = d + 2;
      const int slot = SlotOf(f);
      RelaxLengths(i, cost + model_.Footer(slot, f), slot, prevLen + 1, len, f);
      prevLen = len;
    }
  }
  // Walk back from the end and emit the path forwards.
  const size_t first = out.size();
  for (uint32_t j = n; j > 0;) {
    const uint32_t len = nodes_[j].item >> kValueBits;
    out.push_back({len, nodes_[j].item & kValueMask});
    j -= len ? len : 1;
  }
  std::reverse(out.begin() + static_cast<long>(first), out.end());
  for (size_t k = first; k < out.size(); ++k) q.Apply(out[k]);
}

}  // namespace bvq::cab::lzx
