#pragma once
// Binary-tree match finder over a sliding window: the positions whose next four bytes hash
// alike form a binary search tree keyed by the string that follows each position, newest
// at the root. One descent from the root finds the longest match of every length on the
// way and re-roots the tree at the new position, so each position costs one walk and a
// copy far back is reached as easily as a near one.
#include <cstdint>
#include <vector>

#include "cab/lzx_bucketfinder.h"  // Match
#include "cab/lzx_finder_common.h"

namespace bvq::cab::lzx {

class TreeMatchFinder {
 public:
  // A window of 2^windowBits bytes; a descent visits at most maxDepth nodes (1..64) and a
  // match of niceLen ends it.
  TreeMatchFinder(int windowBits, int hashBits, uint32_t maxDepth, uint32_t niceLen);
  void Reset();
  // As BucketMatchFinder: `cur` is the byte at folder position p, `avail` bytes from there
  // are known; positions are entered in increasing order, each at most once (skipping
  // some is allowed); `history` bytes before cur are known. Insert walks the tree like
  // Find but keeps no matches.
  void Insert(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t history);
  uint32_t Find(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t limit, uint32_t history, Match* out);

  // One three-byte match and one per node visited.
  static constexpr uint32_t kMaxMatchesPerPosition = 65;

 private:
  uint32_t Descend(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t limit, uint32_t reach, uint32_t best,
                   Match* out, uint32_t n);
  void FetchAhead(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t history);
  uint32_t Root(const uint8_t* cur) const { return (Load32(cur) * 0x9E3779B1u) >> hashShift_; }

  uint32_t windowMask_;
  uint32_t maxDist_;
  int hashShift_;
  uint32_t maxDepth_;
  uint32_t niceLen_;
  std::vector<uint32_t> roots_;     // position + 1 of each tree's root; 0 = empty
  std::vector<uint32_t> children_;  // per window slot: smaller, larger subtree (position + 1)
  std::vector<uint32_t> head3_;     // position + 1 of the latest string per 3-byte hash
};

}  // namespace bvq::cab::lzx
