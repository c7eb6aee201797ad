#include "cab/lzx_parser.h"

#include <algorithm>

#include "cab/lzx_match_length.h"

namespace bvq::cab::lzx {

Parser::Parser(int windowBits, const ParserTuning& t)
    : numMain_(kNumChars + 8 * NumPositionSlots(windowBits)),
      mf_(MaxDistance(windowBits), t.hashBits, t.ways, t.niceLen), niceLen_(t.niceLen), lookAhead_(t.lookAhead) {
  model_.SetDefaults(numMain_);
}

void Parser::Reset() {
  mf_.Reset();
  model_.SetDefaults(numMain_);
}

void Parser::EnterRange(const ParseInput& in, uint32_t from, uint32_t to, uint32_t stride) {
  for (uint32_t p = in.start + from; p < in.start + to; p += stride) mf_.Insert(in.data + (p - in.base), p, in.end - p);
}

void Parser::Enter(const ParseInput& in, uint32_t stride) { EnterRange(in, 0, in.end - in.start, stride); }

Parser::Choice Parser::Best(const ParseInput& in, uint32_t i, const RepeatQueue& q) {
  const uint32_t p = in.start + i;
  const uint8_t* cur = in.data + (p - in.base);
  const uint32_t frameEnd = (p / kFrameSize + 1) * kFrameSize;
  const uint32_t limit = std::min({in.end, frameEnd, p + kMaxMatch}) - p;
  const uint32_t history = p - in.base;
  const uint32_t* lit = litCost_.data() + i;
  Choice best;
  if (limit < kMinMatch) {
    mf_.Insert(cur, p, in.end - p);
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
  Match found[BucketMatchFinder::kMaxMatchesPerPosition];
  const uint32_t n = mf_.Find(cur, p, in.end - p, limit, history, found);
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

void Parser::Parse(const ParseInput& in, RepeatQueue& q, std::vector<Item>& out) {
  const uint8_t* data = in.data + (in.start - in.base);
  const uint32_t n = in.end - in.start;
  model_.EstimateLiterals(data, n);
  litCost_.resize(n + 1);
  litCost_[0] = 0;
  for (uint32_t i = 0; i < n; ++i) litCost_[i + 1] = litCost_[i] + model_.main[data[i]];
  const size_t first = out.size();
  uint32_t i = 0;
  while (i < n) {
    Choice c = Best(in, i, q);
    if (c.len == 0) {
      out.push_back({0, data[i]});
      ++i;
      continue;
    }
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
    EnterRange(in, entered, i + c.len);
    i += c.len;
  }
  BlockStats stats;
  for (size_t k = first; k < out.size(); ++k) stats.Add(out[k]);
  model_.SetFromStats(stats, numMain_);
}

}  // namespace bvq::cab::lzx
