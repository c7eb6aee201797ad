#pragma once
// Binary-tree match finder over a sliding window: every position is a node of a tree of the
// strings starting at earlier positions with the same first four bytes, so one descent
// finds the longest matches at every length with their nearest offsets.
#include <cstdint>
#include <vector>

namespace bvq::cab::lzx {

struct Match {
  uint32_t len;
  uint32_t dist;
};

class BtMatchFinder {
 public:
  // maxDepth bounds the nodes visited per position; a match of niceLen ends the search.
  BtMatchFinder(int windowBits, uint32_t maxDist, uint32_t maxDepth, uint32_t niceLen);
  void Reset();
  // `cur` points at the byte of folder position p; `avail` bytes from there may be read
  // and at least `history` bytes before it. Inserts p and writes its matches, by
  // increasing length, to `out`; returns their number.
  uint32_t Find(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t history, Match* out);
  // Hints the memory a later Find at `cur` will read (at least 4 bytes readable there).
  void Prefetch(const uint8_t* cur) const;

  static constexpr uint32_t kMaxMatchesPerPosition = 64;

 private:
  uint32_t mask_;
  uint32_t maxDist_;
  uint32_t maxDepth_;
  uint32_t niceLen_;
  std::vector<uint32_t> head4_;  // tree root (position + 1) per 4-byte hash
  std::vector<uint32_t> head3_;  // position + 1 of the latest string per 3-byte hash
  std::vector<uint32_t> head2_;  // position + 1 of the latest string per 2-byte prefix
  std::vector<uint32_t> child_;  // two children per window slot (positions + 1; 0 = none)
};

}  // namespace bvq::cab::lzx
