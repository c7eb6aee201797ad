// Code lengths for the deflate and LZX block writers: complete prefix codes within the length limit,
// as cheap as a textbook Huffman code wherever that fits the limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <queue>
#include <random>
#include <vector>

#include "cab/huffman_code.h"

namespace bvq::cab {
namespace {

// Cost of an optimal code without a length limit, by repeatedly merging the two lightest.
uint64_t OptimalCost(const std::vector<uint32_t>& freqs) {
  std::priority_queue<uint64_t, std::vector<uint64_t>, std::greater<>> q;
  for (uint32_t f : freqs)
    if (f) q.push(f);
  uint64_t cost = 0;
  while (q.size() > 1) {
    const uint64_t a = q.top();
    q.pop();
    const uint64_t b = q.top();
    q.pop();
    cost += a + b;
    q.push(a + b);
  }
  return cost;
}

struct Built {
  std::vector<uint8_t> lens;
  uint64_t cost = 0;
  int longest = 0;
  double kraft = 0;  // sum of 2^-length over the coded symbols
};

Built Build(const std::vector<uint32_t>& freqs, int maxLen) {
  Built b;
  b.lens.resize(freqs.size());
  BuildCodeLengths(freqs.data(), int(freqs.size()), maxLen, b.lens.data());
  for (size_t i = 0; i < freqs.size(); ++i) {
    if (freqs[i]) {
      EXPECT_GT(b.lens[i], 0) << "symbol " << i << " is used but has no code";
    }
    b.cost += uint64_t(freqs[i]) * b.lens[i];
    b.longest = std::max<int>(b.longest, b.lens[i]);
    if (b.lens[i]) b.kraft += 1.0 / double(1u << b.lens[i]);
  }
  return b;
}

TEST(HuffmanCode, RandomFrequenciesGiveOptimalCompleteCodes) {
  // The trees of both writers: deflate's code-length, distance and literal/length codes, and
  // LZX's aligned-offset and length trees and its main tree with the largest window.
  struct Tree {
    int symbols, maxLen;
  };
  const Tree trees[] = {{19, 7}, {30, 15}, {288, 15}, {8, 7}, {249, 16}, {kMaxCodeSymbols, 16}};
  std::mt19937 rng(5);
  for (int round = 0; round < 600; ++round) {
    const Tree tree = trees[round % std::size(trees)];
    std::vector<uint32_t> freqs(static_cast<size_t>(tree.symbols));
    for (uint32_t& f : freqs) f = rng() % 3 == 0 ? 0 : 1 + rng() % (1u << (rng() % 12));
    const Built b = Build(freqs, tree.maxLen);
    EXPECT_EQ(b.kraft, 1.0);
    EXPECT_LE(b.longest, tree.maxLen);
    // Skewed tables may need the limit; elsewhere the code must be as short as the best
    // (a lone symbol takes a 1-bit code, see below).
    const auto used = std::count_if(freqs.begin(), freqs.end(), [](uint32_t f) { return f != 0; });
    if (b.longest < tree.maxLen && used >= 2) {
      EXPECT_EQ(b.cost, OptimalCost(freqs)) << "round " << round;
    }
  }
}

// Fibonacci frequencies make the deepest trees: the limit must hold, the code stay
// complete, and a rarer symbol never get a shorter code than a more frequent one.
TEST(HuffmanCode, DeepTreesAreCutToTheLimit) {
  for (int maxLen : {7, 15}) {
    std::vector<uint32_t> freqs(30);
    freqs[0] = freqs[1] = 1;
    for (size_t i = 2; i < freqs.size(); ++i) freqs[i] = freqs[i - 1] + freqs[i - 2];
    const Built b = Build(freqs, maxLen);
    EXPECT_EQ(b.longest, maxLen);
    EXPECT_EQ(b.kraft, 1.0);
    for (size_t i = 1; i < freqs.size(); ++i) EXPECT_GE(b.lens[i - 1], b.lens[i]);
  }
}

TEST(HuffmanCode, FewerThanTwoUsedSymbolsStillMakeACompleteCode) {
  const std::vector<std::vector<uint32_t>> cases = {{0, 0, 0}, {0, 7, 0}, {9, 0, 0}, {0, 0, 4}};
  for (const auto& freqs : cases) {
    const Built b = Build(freqs, 15);
    EXPECT_EQ(b.kraft, 1.0);
    EXPECT_EQ(b.longest, 1);
  }
}

}  // namespace
}  // namespace bvq::cab
