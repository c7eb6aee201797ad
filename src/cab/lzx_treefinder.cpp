#include "cab/lzx_treefinder.h"

#include <algorithm>

#include "cab/lzx_finder_common.h"
#include "cab/lzx_format.h"
#include "cab/lzx_match_length.h"

namespace bvq::cab::lzx {
namespace {

// Positions ahead whose tree root is fetched, and nearer ones whose root node is.
constexpr uint32_t kRootAhead = 32;
constexpr uint32_t kNodeAhead = 8;

}  // namespace

TreeMatchFinder::TreeMatchFinder(int windowBits, int hashBits, uint32_t maxDepth, uint32_t niceLen)
    : windowMask_((1u << windowBits) - 1), maxDist_(MaxDistance(windowBits)), hashShift_(32 - hashBits),
      maxDepth_(std::clamp(maxDepth, 1u, kMaxMatchesPerPosition - 1)), niceLen_(niceLen),
      roots_(size_t{1} << hashBits), children_(size_t{2} << windowBits), head3_(size_t{1} << kHash3Bits) {}

void TreeMatchFinder::Reset() {
  // Children need no clearing: a node is reached only through links made after it was
  // entered, and links to positions beyond the window are cut on the way.
  std::fill(roots_.begin(), roots_.end(), 0);
  std::fill(head3_.begin(), head3_.end(), 0);
}

// The walks are bound by memory latency: the root of a tree a few positions on is fetched,
// and for a nearer position also the root node's links and bytes, which the walk there
// then finds in the cache (unless positions in between move the root).
void TreeMatchFinder::FetchAhead(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t history) {
  if (avail < kRootAhead + 4) return;
  Prefetch(&roots_[Root(cur + kRootAhead)]);
  const uint32_t r = roots_[Root(cur + kNodeAhead)];
  if (r == 0 || p + kNodeAhead - (r - 1) > std::min(maxDist_, history)) return;
  Prefetch(&children_[2 * size_t{(r - 1) & windowMask_}]);
  Prefetch(cur - (p - (r - 1)));
}

void TreeMatchFinder::Insert(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t history) {
  FetchAhead(cur, p, avail, history);
  if (avail < 4) return;
  head3_[Hash3(Load32(cur))] = p + 1;
  Descend(cur, p, avail, 0, std::min(maxDist_, history), ~0u, nullptr, 0);
}

uint32_t TreeMatchFinder::Find(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t limit, uint32_t history,
                               Match* out) {
  FetchAhead(cur, p, avail, history);
  if (avail < 4) return 0;
  const uint32_t v = Load32(cur);
  uint32_t& h3 = head3_[Hash3(v)];
  const uint32_t c3 = h3;
  h3 = p + 1;
  const uint32_t reach = std::min(maxDist_, history);
  const uint32_t maxLen = std::min<uint32_t>(limit, kMaxMatch);
  uint32_t n = 0, best = 3;
  if (maxLen >= 3 && c3 && p - (c3 - 1) <= std::min(reach, kMaxLen3Dist)) {
    const uint32_t d = p - (c3 - 1);
    const uint32_t l = MatchLength(cur - d, cur, 0, maxLen);
    if (l >= 3) {
      out[n++] = {l, d};
      best = l;
    }
  }
  return Descend(cur, p, avail, maxLen, reach, best, out, n);
}

// Walks down from the root of cur's tree, making p the new root: the nodes passed are
// split into those whose strings sort before cur's (hung on p's left, each under the
// previous one's right link) and those after (on p's right). Matches longer than `best`
// and clipped to `limit` go to out (none when out is null).
uint32_t TreeMatchFinder::Descend(const uint8_t* cur, uint32_t p, uint32_t avail, uint32_t limit, uint32_t reach,
                                  uint32_t best, Match* out, uint32_t n) {
  uint32_t& root = roots_[Root(cur)];
  uint32_t node = root;
  root = p + 1;
  uint32_t* smaller = &children_[2 * size_t{p & windowMask_}];
  uint32_t* larger = smaller + 1;
  // The tree orders strings by their first keyLen bytes.
  const uint32_t keyLen = std::min<uint32_t>(avail, kMaxMatch);
  const uint32_t nice = std::min(niceLen_, keyLen);
  const bool keyCut = keyLen < std::min<uint32_t>(niceLen_, kMaxMatch);
  uint32_t smallerLen = 0, largerLen = 0, len = 0;
  for (uint32_t depth = maxDepth_;; --depth) {
    if (node == 0 || p - (node - 1) > reach || depth == 0) {
      *smaller = *larger = 0;
      return n;
    }
    const uint32_t d = p - (node - 1);
    const uint8_t* m = cur - d;
    uint32_t* pair = &children_[2 * size_t{(node - 1) & windowMask_}];
    if (m[len] == cur[len]) {
      len = MatchLength(m, cur, len + 1, keyLen);
      if (out) {
        const uint32_t l = std::min(len, limit);
        if (l > best) {
          out[n++] = {l, d};
          best = l;
        }
      }
      if (len >= nice) {
        if (keyCut) {
          // Equal up to where cur's data ends for now. node's subtrees are ordered by
          // bytes cur does not have yet, so p cannot take them over: once the data goes
          // on, their order under p would be wrong and later walks would assume common
          // prefixes that are not there.
          *smaller = *larger = 0;
          return n;
        }
        // Equal as far as the tree looks: node's subtrees become p's.
        *smaller = pair[0];
        *larger = pair[1];
        return n;
      }
    }
    if (m[len] < cur[len]) {
      *smaller = node;
      smaller = pair + 1;
      node = *smaller;
      smallerLen = len;
    } else {
      *larger = node;
      larger = pair;
      node = *larger;
      largerLen = len;
    }
    len = std::min(smallerLen, largerLen);
  }
}

}  // namespace bvq::cab::lzx
