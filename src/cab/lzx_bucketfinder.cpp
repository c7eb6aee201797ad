#include "cab/lzx_bucketfinder.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "cab/lzx_finder_common.h"
#include "cab/lzx_format.h"
#include "cab/lzx_match_length.h"

namespace bvq::cab::lzx {
namespace {

// Positions ahead whose bucket is fetched into the cache.
constexpr uint32_t kAhead = 64;

// A bucket entry holds the low bits of position + 1 and, above them, a few bits of a
// second hash of the four bytes, so that most strings of other contents sharing the bucket
// are passed over without reading them. Windows are far smaller than the position range.
constexpr int kPosBits = 26;
constexpr uint32_t kPosMask = (1u << kPosBits) - 1;
inline uint32_t Entry(uint32_t p, uint32_t v) { return ((p + 1) & kPosMask) | (((v * 0x85EBCA6Bu) >> kPosBits) << kPosBits); }

// Puts `entry` first in bucket b of 2^waysLog entries, dropping the last, and copies the
// former entries to `old` when given; constant sizes keep the copies inline.
template <uint32_t kWays>
inline void PushFront(uint32_t* b, uint32_t entry, uint32_t* old) {
  if (old) std::memcpy(old, b, kWays * sizeof *b);
#if defined(__SSE2__)
  // Four entries a register, each shifted by one entry with the last of the one before;
  // a plain loop here becomes a library call.
  __m128i carry = _mm_cvtsi32_si128(static_cast<int>(entry));
  for (uint32_t k = 0; k < kWays; k += 4) {
    __m128i* at = reinterpret_cast<__m128i*>(b + k);
    const __m128i v = _mm_loadu_si128(at);
    _mm_storeu_si128(at, _mm_or_si128(_mm_slli_si128(v, 4), carry));
    carry = _mm_srli_si128(v, 12);
  }
#else
  std::memmove(b + 1, b, (kWays - 1) * sizeof *b);
  b[0] = entry;
#endif
}
inline void PushFront(uint32_t waysLog, uint32_t* b, uint32_t entry, uint32_t* old = nullptr) {
  switch (waysLog) {
    case 2: return PushFront<4>(b, entry, old);
    case 3: return PushFront<8>(b, entry, old);
    case 4: return PushFront<16>(b, entry, old);
    default: return PushFront<32>(b, entry, old);
  }
}

// The candidates of a bucket worth reading, as a bit mask in bucket order, and the
// distance of each to `dist`: those before the first empty or out-of-reach entry (the
// entries are newest first) whose check bits are those of `entry`. All entries of a bucket
// are weighed at once: one branch per candidate on its check bits mispredicts often.
inline uint32_t LiveCandidates(const uint32_t* cand, uint32_t ways, uint32_t entry, uint32_t reach, uint32_t* dist) {
  uint32_t near = 0, same = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i vEntry = _mm_set1_epi32(static_cast<int>(entry));
  const __m128i posMask = _mm_set1_epi32(static_cast<int>(kPosMask));
  // d - 1 < reach, unsigned, as a signed comparison of both with the top bit flipped.
  const __m128i flip = _mm_set1_epi32(static_cast<int>(0x80000000u));
  const __m128i vReach = _mm_set1_epi32(static_cast<int>(reach ^ 0x80000000u));
  const __m128i one = _mm_set1_epi32(1);
  for (uint32_t k = 0; k < ways; k += 4) {
    const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cand + k));
    const __m128i d = _mm_and_si128(_mm_sub_epi32(vEntry, e), posMask);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dist + k), d);
    const __m128i inReach = _mm_andnot_si128(_mm_cmpeq_epi32(e, zero),
                                             _mm_cmplt_epi32(_mm_xor_si128(_mm_sub_epi32(d, one), flip), vReach));
    const __m128i sameCheck = _mm_cmpeq_epi32(_mm_andnot_si128(posMask, _mm_xor_si128(e, vEntry)), zero);
    near |= static_cast<uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(inReach))) << k;
    same |= static_cast<uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(sameCheck))) << k;
  }
#else
  for (uint32_t k = 0; k < ways; ++k) {
    const uint32_t e = cand[k];
    dist[k] = (entry - e) & kPosMask;
    if (e != 0 && dist[k] - 1 < reach) near |= 1u << k;
    if (((e ^ entry) >> kPosBits) == 0) same |= 1u << k;
  }
#endif
  // Candidates up to the first one out of reach.
  const uint32_t upTo = ~near ? (1u << __builtin_ctz(~near)) - 1 : ~0u;
  return near & upTo & same;
}

uint32_t WaysLog(uint32_t ways) {
  uint32_t log = 2;
  while (log < 5 && (1u << log) < ways) ++log;
  return log;
}

}  // namespace

BucketMatchFinder::BucketMatchFinder(uint32_t maxDist, int hashBits, uint32_t ways, uint32_t niceLen, uint32_t longWays)
    : maxDist_(maxDist), waysLog_(WaysLog(ways)), hashShift_(32 - hashBits), niceLen_(niceLen), table_(size_t{1} << (hashBits + WaysLog(ways))),
      head3_(size_t{1} << kHash3Bits) {
  if (longWays) {
    longWaysLog_ = WaysLog(longWays);
    longTable_ = LargeArray<uint32_t>(size_t{1} << (hashBits + longWaysLog_));
  }
}

uint32_t* BucketMatchFinder::LongBucket(const uint8_t* cur) {
  uint64_t v;
  std::memcpy(&v, cur, 8);
  return longTable_.data() + (size_t{static_cast<uint32_t>((v * 0x9E3779B97F4A7C15ull) >> (32 + hashShift_))} << longWaysLog_);
}

void BucketMatchFinder::Reset() {
  std::fill(table_.begin(), table_.end(), 0);
  std::fill(head3_.begin(), head3_.end(), 0);
  std::fill(longTable_.begin(), longTable_.end(), 0);
}

inline __attribute__((always_inline)) void BucketMatchFinder::FetchAhead(const uint8_t* cur, uint32_t avail) {
  if (avail < kAhead + 4) return;
  const uint32_t v = Load32(cur + kAhead);
  Prefetch(Bucket(Hash4(v)));
  // The long table hashes eight bytes, four more than the check above asks for.
  if (longTable_.size() && avail >= kAhead + 8) Prefetch(LongBucket(cur + kAhead));
  Prefetch(&head3_[Hash3(v)]);
}

void BucketMatchFinder::Insert(const uint8_t* cur, uint32_t p, uint32_t avail) { InsertRange(cur, p, 1, 1, avail); }

template <uint32_t kWaysLog>
void BucketMatchFinder::InsertRangeOf(const uint8_t* cur, uint32_t p, uint32_t count, uint32_t stride, uint32_t avail) {
  // Entering is most of a lazy parse's work (the positions inside matches and the other
  // parser's chunks); inline here, it costs a fifth less than Insert called per position.
  for (uint32_t k = 0; k < count; k += stride) {
    const uint8_t* at = cur + k;
    const uint32_t left = avail - k;
    if (left < 4) return;  // and so are the rest
    FetchAhead(at, left);
    const uint32_t v = Load32(at);
    head3_[Hash3(v)] = p + k + 1;
    PushFront<1u << kWaysLog>(Bucket(Hash4(v)), Entry(p + k, v), nullptr);
    if (longTable_.size() && left >= 8) PushFront(longWaysLog_, LongBucket(at), Entry(p + k, v));
  }
}

void BucketMatchFinder::InsertRange(const uint8_t* cur, uint32_t p, uint32_t count, uint32_t stride, uint32_t avail) {
  switch (waysLog_) {
    case 2: return InsertRangeOf<2>(cur, p, count, stride, avail);
    case 3: return InsertRangeOf<3>(cur, p, count, stride, avail);
    case 4: return InsertRangeOf<4>(cur, p, count, stride, avail);
    default: return InsertRangeOf<5>(cur, p, count, stride, avail);
  }
}

// Inlined into FindOf, where the bucket width is a constant.
inline __attribute__((always_inline)) uint32_t BucketMatchFinder::Scan(const uint32_t* cand, uint32_t ways,
                                                                       const uint8_t* cur, uint32_t entry, uint32_t v,
                                                                       uint32_t reach, uint32_t maxLen, uint32_t nice,
                                                                       Match* out, uint32_t n, uint32_t& best) const {
  uint32_t dist[32];
  for (uint32_t live = LiveCandidates(cand, ways, entry, reach, dist); live; live &= live - 1) {
    const uint32_t d = dist[__builtin_ctz(live)];
    const uint8_t* m = cur - d;
    if (m[best] != cur[best] || Load32(m) != v) continue;
    const uint32_t l = MatchLength(m, cur, 4, maxLen);
    if (l <= best) continue;
    if (n && out[n - 1].dist == d) --n;
    out[n++] = {l, d};
    best = l;
    if (l >= nice) break;
  }
  return n;
}

template <uint32_t kWaysLog>
uint32_t BucketMatchFinder::FindOf(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t limit, uint32_t history,
                                   Match* out) {
  FetchAhead(cur, avail);
  if (avail < 4) return 0;
  const uint32_t v = Load32(cur);
  uint32_t& h3 = head3_[Hash3(v)];
  const uint32_t c3 = h3;
  h3 = p + 1;
  constexpr uint32_t ways = 1u << kWaysLog;
  uint32_t cand[32];
  const uint32_t entry = Entry(p, v);
  PushFront<ways>(Bucket(Hash4(v)), entry, cand);
  uint32_t longCand[32];
  const bool haveLong = longTable_.size() && avail >= 8;
  if (haveLong) PushFront(longWaysLog_, LongBucket(cur), entry, longCand);
  const uint32_t maxLen = std::min<uint32_t>(limit, kMaxMatch);
  if (maxLen < 3) return 0;
  const uint32_t reach = std::min(maxDist_, history);
  const uint32_t nice = std::min(niceLen_, maxLen);
  uint32_t n = 0, best = 2;
  if (c3 && p - (c3 - 1) <= std::min(reach, kMaxLen3Dist)) {
    const uint32_t d = p - (c3 - 1);
    const uint32_t l = MatchLength(cur - d, cur, 0, maxLen);
    if (l >= 3) {
      out[n++] = {l, d};
      best = l;
    }
  }
  if (best >= nice || maxLen < 4) return n;
  n = Scan(cand, ways, cur, entry, v, reach, maxLen, nice, out, n, best);
  if (haveLong && best < nice && maxLen >= 8)
    n = Scan(longCand, 1u << longWaysLog_, cur, entry, v, reach, maxLen, nice, out, n, best);
  return n;
}

uint32_t BucketMatchFinder::Find(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t limit, uint32_t history,
                                 Match* out) {
  switch (waysLog_) {
    case 2: return FindOf<2>(cur, p, avail, limit, history, out);
    case 3: return FindOf<3>(cur, p, avail, limit, history, out);
    case 4: return FindOf<4>(cur, p, avail, limit, history, out);
    default: return FindOf<5>(cur, p, avail, limit, history, out);
  }
}

}  // namespace bvq::cab::lzx
