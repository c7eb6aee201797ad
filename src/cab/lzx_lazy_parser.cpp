// A hash-chain matcher with one step of lazy evaluation: quick, fair compression.
#include <algorithm>
#include <cstring>
#include <memory>

#include "cab/lzx_parser.h"

namespace bvq::cab::lzx {
namespace {

class LazyParser final : public Parser {
 public:
  explicit LazyParser(int windowBits)
      : windowMask_((1u << windowBits) - 1), maxDist_(MaxDistance(windowBits)),
        head_(1u << kHashBits), prev_(size_t{1} << windowBits) {}

  void Reset() override {
    std::fill(head_.begin(), head_.end(), 0);
    std::fill(prev_.begin(), prev_.end(), 0);
  }

  void Parse(const ParseInput& in, RepeatQueue& q, std::vector<Item>& out) override {
    uint32_t p = in.start;
    Match cur = Find(in, p, q);
    while (p < in.end) {
      if (cur.len < kMinMatch) {
        out.push_back({0, At(in, p)});
        Insert(in, p);
        ++p;
        cur = Find(in, p, q);
        continue;
      }
      Insert(in, p);
      Match next = p + 1 < in.end ? Find(in, p + 1, q) : Match{};
      if (next.len > cur.len + (next.value >= kNumRepeats && cur.value < kNumRepeats ? 1u : 0u)) {
        out.push_back({0, At(in, p)});
        ++p;
        cur = next;
        continue;
      }
      Item it{cur.len, cur.value};
      out.push_back(it);
      q.Apply(it);
      for (uint32_t i = 1; i < cur.len; ++i) Insert(in, p + i);
      p += cur.len;
      cur = p < in.end ? Find(in, p, q) : Match{};
    }
  }

 private:
  static constexpr int kHashBits = 16;
  static constexpr int kMaxChain = 48;
  struct Match {
    uint32_t len = 0;
    uint32_t value = 0;
  };

  static uint32_t At(const ParseInput& in, uint32_t p) { return in.data[p - in.base]; }
  static uint32_t Hash(const uint8_t* s) {
    return ((uint32_t{s[0]} << 16 | uint32_t{s[1]} << 8 | s[2]) * 2654435761u) >> (32 - kHashBits);
  }
  void Insert(const ParseInput& in, uint32_t p) {
    if (p + 3 > in.end) return;
    uint32_t h = Hash(in.data + (p - in.base));
    prev_[p & windowMask_] = head_[h];
    head_[h] = p + 1;
  }
  // Longest match at p within its frame, preferring repeated offsets.
  Match Find(const ParseInput& in, uint32_t p, const RepeatQueue& q) const {
    uint32_t frameEnd = (p / kFrameSize + 1) * kFrameSize;
    uint32_t limit = std::min({in.end, frameEnd, p + kMaxMatch}) - p;
    Match best;
    if (limit < kMinMatch) return best;
    const uint8_t* s = in.data + (p - in.base);
    auto length = [&](uint32_t dist) {
      const uint8_t* r = s - dist;
      uint32_t l = 0;
      while (l < limit && r[l] == s[l]) ++l;
      return l;
    };
    uint32_t lowest = p - in.base;  // bytes of history available in the buffer
    for (int i = 0; i < kNumRepeats; ++i) {
      uint32_t d = q.r[i];
      if (d > lowest || d > p) continue;
      uint32_t l = length(d);
      if (l > best.len) best = {l, static_cast<uint32_t>(i)};
    }
    if (limit < 3) return best;
    uint32_t cand = head_[Hash(s)];
    for (int n = 0; n < kMaxChain && cand; ++n) {
      uint32_t c = cand - 1;
      if (c >= p) break;
      uint32_t d = p - c;
      if (d > maxDist_ || d > lowest) break;
      uint32_t l = length(d);
      // A new offset costs more than a repeated one: require a clearly longer match.
      if (l >= 3 && l > best.len + (best.value < kNumRepeats && best.len ? 1u : 0u)) {
        best = {l, d + 2};
        if (l == limit) break;
      }
      uint32_t nxt = prev_[c & windowMask_];
      if (nxt == 0 || nxt - 1 >= c) break;
      cand = nxt;
    }
    return best;
  }

  uint32_t windowMask_;
  uint32_t maxDist_;
  std::vector<uint32_t> head_;
  std::vector<uint32_t> prev_;
};

}  // namespace

std::unique_ptr<Parser> MakeLazyParser(int windowBits) { return std::make_unique<LazyParser>(windowBits); }

}  // namespace bvq::cab::lzx
