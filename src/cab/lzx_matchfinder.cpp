#include "cab/lzx_matchfinder.h"

#include <algorithm>
#include <cstring>

#include "cab/lzx_format.h"
#include "cab/lzx_match_length.h"

namespace bvq::cab::lzx {
namespace {

constexpr int kHash3Bits = 16;
constexpr int kHash4Bits = 18;
// Short matches only pay at short distances.
constexpr uint32_t kMaxLen2Dist = 4096;
constexpr uint32_t kMaxLen3Dist = 1u << 18;

inline uint32_t Hash3(const uint8_t* s) {
  uint32_t v = uint32_t{s[0]} | uint32_t{s[1]} << 8 | uint32_t{s[2]} << 16;
  return (v * 0x9E3779B1u) >> (32 - kHash3Bits);
}
inline uint32_t Hash4(const uint8_t* s) {
  uint32_t v;
  std::memcpy(&v, s, 4);
  return (v * 0x9E3779B1u) >> (32 - kHash4Bits);
}

}  // namespace

BtMatchFinder::BtMatchFinder(int windowBits, uint32_t maxDist, uint32_t maxDepth, uint32_t niceLen)
    : mask_((1u << windowBits) - 1), maxDist_(maxDist), maxDepth_(maxDepth), niceLen_(niceLen),
      head4_(size_t{1} << kHash4Bits), head3_(size_t{1} << kHash3Bits), head2_(size_t{1} << 16), child_(size_t{2} << windowBits) {}

void BtMatchFinder::Reset() {
  std::fill(head4_.begin(), head4_.end(), 0);
  std::fill(head3_.begin(), head3_.end(), 0);
  std::fill(head2_.begin(), head2_.end(), 0);
  std::fill(child_.begin(), child_.end(), 0);
}

void BtMatchFinder::Prefetch(const uint8_t* cur) const {
  __builtin_prefetch(&head4_[Hash4(cur)], 1);
  __builtin_prefetch(&head3_[Hash3(cur)], 1);
}

uint32_t BtMatchFinder::Find(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t history, Match* out) {
  const uint32_t maxLen = std::min<uint32_t>(avail, kMaxMatch);
  const uint32_t reach = std::min(maxDist_, history);  // farthest distance allowed
  uint32_t n = 0;
  if (maxLen < 4) return 0;
  // The latest strings with the same first two and three bytes give the short matches;
  // the tree holds the strings with the same first four.
  const uint32_t h2 = uint32_t{cur[0]} | uint32_t{cur[1]} << 8;
  const uint32_t c2 = head2_[h2];
  head2_[h2] = p + 1;
  const uint32_t h3 = Hash3(cur);
  const uint32_t c3 = head3_[h3];
  head3_[h3] = p + 1;
  uint32_t bestLen = 1;
  if (c2 && p - (c2 - 1) <= std::min(reach, kMaxLen2Dist)) {
    out[n++] = {2, p - (c2 - 1)};
    bestLen = 2;
  }
  if (c3 && p - (c3 - 1) <= std::min(reach, kMaxLen3Dist)) {
    const uint32_t d = p - (c3 - 1);
    const uint32_t l = MatchLength(cur - d, cur, 0, maxLen);
    if (l >= 3) {
      if (n && out[n - 1].dist == d) --n;
      out[n++] = {l, d};
      bestLen = l;
    }
  }
  const uint32_t h4 = Hash4(cur);
  uint32_t node = head4_[h4];
  // The tree stays ordered on the first niceLen bytes of every string only if each string
  // entered is compared that far; one closer than that to the end of the data known so
  // far is searched for but not entered.
  const bool insert = avail >= niceLen_;
  uint32_t scratch[2];
  uint32_t* pendingLt = insert ? &child_[2 * (p & mask_)] : &scratch[0];
  uint32_t* pendingGt = insert ? pendingLt + 1 : &scratch[1];
  if (insert) head4_[h4] = p + 1;
  const uint32_t nice = std::min(niceLen_, maxLen);
  // A three-byte candidate that already reaches the nice length still lets the tree
  // take the new string as its root.
  if (bestLen >= nice) bestLen = nice - 1;
  uint32_t ltLen = 0, gtLen = 0, len = 0;
  for (uint32_t depth = maxDepth_;; --depth) {
    if (node == 0 || p - (node - 1) > reach || depth == 0 || n >= kMaxMatchesPerPosition) {
      *pendingLt = *pendingGt = 0;
      break;
    }
    const uint32_t c = node - 1;
    const uint8_t* m = cur - (p - c);
    uint32_t* kids = &child_[2 * (c & mask_)];
    if (m[len] == cur[len]) {
      len = MatchLength(m, cur, len + 1, maxLen);
      if (len > bestLen) {
        bestLen = len;
        // Drop a shorter match at the same distance: the longer one covers it.
        if (n && out[n - 1].dist == p - c) --n;
        out[n++] = {len, p - c};
        if (len >= nice) {
          *pendingLt = kids[0];
          *pendingGt = kids[1];
          break;
        }
      }
    }
    if (len < maxLen && m[len] < cur[len]) {
      *pendingLt = node;
      pendingLt = insert ? &kids[1] : &scratch[0];
      node = kids[1];
      ltLen = len;
    } else {
      *pendingGt = node;
      pendingGt = insert ? &kids[0] : &scratch[1];
      node = kids[0];
      gtLen = len;
    }
    len = std::min(ltLen, gtLen);
  }
  return n;
}

}  // namespace bvq::cab::lzx
