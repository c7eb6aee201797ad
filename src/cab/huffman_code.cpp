#include "cab/huffman_code.h"

#include <algorithm>

namespace bvq::cab {
namespace {

// Minimum-redundancy code lengths in place (the method of Moffat and Katajainen): `a`
// holds n >= 2 weights in increasing order and receives the code length of each.
void MinimumRedundancy(uint32_t* a, int n) {
  a[0] += a[1];
  int root = 0, leaf = 2;
  for (int next = 1; next < n - 1; ++next) {
    // Each internal node takes the two lightest of the leaves and the nodes made so far;
    // a node's slot then holds its parent's index.
    if (leaf >= n || a[root] < a[leaf]) {
      a[next] = a[root];
      a[root++] = uint32_t(next);
    } else {
      a[next] = a[leaf++];
    }
    if (leaf >= n || (root < next && a[root] < a[leaf])) {
      a[next] += a[root];
      a[root++] = uint32_t(next);
    } else {
      a[next] += a[leaf++];
    }
  }
  // Depths of the internal nodes, from the root down; then of the leaves.
  a[n - 2] = 0;
  for (int next = n - 3; next >= 0; --next) a[next] = a[a[next]] + 1;
  int available = 1, used = 0, depth = 0, root2 = n - 2, next = n - 1;
  while (available > 0) {
    while (root2 >= 0 && int(a[root2]) == depth) {
      ++used;
      --root2;
    }
    while (available > used) {
      a[next--] = uint32_t(depth);
      --available;
    }
    available = 2 * used;
    ++depth;
    used = 0;
  }
}

}  // namespace

void BuildCodeLengths(const uint32_t* freqs, int n, int maxLen, uint8_t* lens) {
  // Used symbols by increasing frequency, ties by symbol.
  uint64_t order[kMaxCodeSymbols];
  int m = 0;
  for (int i = 0; i < n; ++i) {
    lens[i] = 0;
    if (freqs[i]) order[m++] = uint64_t(freqs[i]) << 16 | uint32_t(i);
  }
  if (m < 2) {
    for (int i = 0; i < n && m < 2; ++i)
      if (!freqs[i]) {
        lens[i] = 1;
        ++m;
      }
    for (int i = 0; i < n; ++i)
      if (freqs[i]) lens[i] = 1;
    return;
  }
  std::sort(order, order + m);
  uint32_t a[kMaxCodeSymbols];
  for (int i = 0; i < m; ++i) a[i] = uint32_t(order[i] >> 16);
  MinimumRedundancy(a, m);
  // Codes longer than allowed move up to maxLen; the code is then over-full, and each
  // step takes a leaf from the deepest level and makes a shallower leaf a node with two
  // children, until it fits again.
  int count[kMaxCodeSymbols + 1] = {};
  for (int i = 0; i < m; ++i) ++count[std::min<int>(int(a[i]), maxLen)];
  uint32_t kraft = 0;
  for (int len = 1; len <= maxLen; ++len) kraft += uint32_t(count[len]) << (maxLen - len);
  while (kraft > (1u << maxLen)) {
    --count[maxLen];
    for (int len = maxLen - 1; len > 0; --len) {
      if (count[len]) {
        --count[len];
        count[len + 1] += 2;
        break;
      }
    }
    --kraft;
  }
  // The rarest symbols take the longest codes.
  int at = 0;
  for (int len = maxLen; len > 0; --len)
    for (int k = 0; k < count[len]; ++k) lens[order[at++] & 0xFFFF] = uint8_t(len);
}

void BuildCodes(const uint8_t* lens, int n, uint16_t* codes) {
  uint32_t count[17] = {};
  for (int i = 0; i < n; ++i) count[lens[i]]++;
  count[0] = 0;
  uint32_t next[17] = {};
  uint32_t code = 0;
  for (int len = 1; len <= 16; ++len) {
    code = (code + count[len - 1]) << 1;
    next[len] = code;
  }
  for (int i = 0; i < n; ++i)
    codes[i] = lens[i] ? static_cast<uint16_t>(next[lens[i]]++) : 0;
}

}  // namespace bvq::cab
