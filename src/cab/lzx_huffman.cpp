#include "cab/lzx_huffman.h"

#include <algorithm>
#include <vector>

namespace bvq::cab::lzx {
namespace {

// Plain Huffman lengths for the used symbols (freq > 0); returns the longest length.
int HuffmanLengths(const std::vector<uint32_t>& f, uint8_t* lens) {
  const int n = static_cast<int>(f.size());
  std::vector<int> leaves;
  for (int i = 0; i < n; ++i) {
    lens[i] = 0;
    if (f[i]) leaves.push_back(i);
  }
  std::stable_sort(leaves.begin(), leaves.end(), [&](int a, int b) { return f[a] < f[b]; });
  const int m = static_cast<int>(leaves.size());
  // Two-queue construction: leaves in order, internal nodes created in order.
  std::vector<uint64_t> weight(2 * m);
  std::vector<int> parent(2 * m, -1);
  for (int i = 0; i < m; ++i) weight[i] = f[leaves[i]];
  int leaf = 0, inner = m, next = m;
  auto take = [&]() {
    if (leaf < m && (inner >= next || weight[leaf] <= weight[inner])) return leaf++;
    return inner++;
  };
  while (next < 2 * m - 1) {
    int a = take(), b = take();
    weight[next] = weight[a] + weight[b];
    parent[a] = parent[b] = next;
    ++next;
  }
  std::vector<int> depth(2 * m, 0);
  int maxDepth = 0;
  for (int i = 2 * m - 3; i >= 0; --i) {
    depth[i] = depth[parent[i]] + 1;
    if (i < m) maxDepth = std::max(maxDepth, depth[i]);
  }
  for (int i = 0; i < m; ++i) lens[leaves[i]] = static_cast<uint8_t>(depth[i]);
  return maxDepth;
}

}  // namespace

void BuildCodeLengths(const uint32_t* freqs, int n, int maxLen, uint8_t* lens) {
  std::vector<uint32_t> f(freqs, freqs + n);
  int used = 0;
  for (uint32_t v : f) used += v != 0;
  for (int i = 0; i < n && used < 2; ++i) {
    if (!f[i]) { f[i] = 1; ++used; }
  }
  while (HuffmanLengths(f, lens) > maxLen) {
    // Flatten the distribution until the tree fits; rare for real data.
    for (uint32_t& v : f)
      if (v) v = (v >> 1) | 1;
  }
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

}  // namespace bvq::cab::lzx
