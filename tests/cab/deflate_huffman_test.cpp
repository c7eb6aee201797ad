// Code lengths for the deflate block writer: complete prefix codes within the length limit,
// as cheap as a textbook Huffman code wherever that fits the limit.
#include <gtest/gtest.h>

#include <functional>
#include <queue>
#include <random>
#include <vector>

#include "cab/deflate_huffman.h"

namespace bvq::cab::deflate {
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

TEST(DeflateHuffman, RandomFrequenciesGiveOptimalCompleteCodes) {
  std::mt19937 rng(5);
  for (int round = 0; round < 300; ++round) {
    const int n = round % 3 == 0 ? 19 : round % 3 == 1 ? 30 : 288;
    std::vector<uint32_t> freqs(static_cast<size_t>(n));
    for (uint32_t& f : freqs) f = rng() % 3 == 0 ? 0 : 1 + rng() % (1u << (rng() % 12));
    const Built b = Build(freqs, 15);
    EXPECT_EQ(b.kraft, 1.0);
    EXPECT_LE(b.longest, 15);
    // Skewed tables may need the limit; elsewhere the code must be as short as the best.
    if (b.longest < 15) {
      EXPECT_EQ(b.cost, OptimalCost(freqs)) << "round " << round;
    }
  }
}

// Fibonacci frequencies make the deepest trees: the limit must hold, the code stay
// complete, and a rarer symbol never get a shorter code than a more frequent one.
TEST(DeflateHuffman, DeepTreesAreCutToTheLimit) {
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

TEST(DeflateHuffman, FewerThanTwoUsedSymbolsStillMakeACompleteCode) {
  const std::vector<std::vector<uint32_t>> cases = {{0, 0, 0}, {0, 7, 0}, {9, 0, 0}, {0, 0, 4}};
  for (const auto& freqs : cases) {
    const Built b = Build(freqs, 15);
    EXPECT_EQ(b.kraft, 1.0);
    EXPECT_EQ(b.longest, 1);
  }
}

}  // namespace
}  // namespace bvq::cab::deflate
