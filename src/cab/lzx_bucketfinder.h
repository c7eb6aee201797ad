#pragma once
// Hash-bucket match finder over a sliding window: each hash of four bytes owns a bucket of
// the latest positions with that hash, newest first, in one or two cache lines. A search
// reads one bucket, and the candidates' bytes are then fetched side by side instead of
// one after the other as along a chain or a tree; buckets are fetched ahead of use.
// Entering a position is one bucket update, so a parser enters the positions inside a
// chosen match without searching them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cab/large_array.h"

namespace bvq::cab::lzx {

struct Match {
  uint32_t len;
  uint32_t dist;
};

class BucketMatchFinder {
 public:
  // `ways` positions are kept per bucket (4..32, rounded to a power of two); a match of
  // niceLen ends a search. With longWays (4..32), a second table keyed by eight bytes keeps
  // that many positions per bucket and is searched after the first.
  BucketMatchFinder(uint32_t maxDist, int hashBits, uint32_t ways, uint32_t niceLen, uint32_t longWays = 0);
  void Reset();
  // `cur` points at the byte of folder position p and `avail` bytes from there are known
  // (positions with fewer than four are not entered). Positions are entered in order,
  // each once, by Insert or Find.
  void Insert(const uint8_t* cur, uint32_t p, uint32_t avail);
  // Enters p, p + stride, ... below p + count; cur and avail as for p in Insert.
  void InsertRange(const uint8_t* cur, uint32_t p, uint32_t count, uint32_t stride, uint32_t avail);
  // Enters p and writes its matches of 3 to `limit` bytes within `history` bytes back, by
  // increasing length, to `out`; returns their number.
  uint32_t Find(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t limit, uint32_t history, Match* out);

  // One three-byte match and at most one per bucket entry of either table.
  static constexpr uint32_t kMaxMatchesPerPosition = 65;

 private:
  uint32_t* Bucket(uint32_t hash) { return table_.data() + (size_t{hash} << waysLog_); }
  void FetchAhead(const uint8_t* cur, uint32_t avail);
  // InsertRange and Find for buckets of 2^kWaysLog entries: the bucket copies are then inline.
  template <uint32_t kWaysLog>
  void InsertRangeOf(const uint8_t* cur, uint32_t p, uint32_t count, uint32_t stride, uint32_t avail);
  template <uint32_t kWaysLog>
  uint32_t FindOf(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t limit, uint32_t history, Match* out);
  uint32_t Hash4(uint32_t v) const { return (v * 0x9E3779B1u) >> hashShift_; }
  uint32_t* LongBucket(const uint8_t* cur);
  // Checks the candidates of one bucket against cur, adding the longer matches to out.
  uint32_t Scan(const uint32_t* cand, uint32_t ways, const uint8_t* cur, uint32_t entry, uint32_t v, uint32_t reach,
                uint32_t maxLen, uint32_t nice, Match* out, uint32_t n, uint32_t& best) const;

  uint32_t maxDist_;
  uint32_t waysLog_;
  int hashShift_;
  uint32_t niceLen_;
  LargeArray<uint32_t> table_;  // the buckets: entries (see Entry), newest first; 0 = empty
  std::vector<uint32_t> head3_;  // position + 1 of the latest string per 3-byte hash
  // The optional table of eight-byte strings, buckets as above.
  uint32_t longWaysLog_ = 0;
  LargeArray<uint32_t> longTable_;  // empty: no such table
};

}  // namespace bvq::cab::lzx
