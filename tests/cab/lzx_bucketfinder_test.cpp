// The LZX hash-bucket match finder: every match it reports is real, lies within the
// history and the window, comes by increasing length, and planted repeats are found, also
// where folder positions pass the range a bucket entry holds.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cab/lzx_bucketfinder.h"

namespace bvq::cab::lzx {
namespace {

// Text-like bytes with repeats at every distance, and a 300-byte random run planted twice,
// 40000 bytes apart.
std::vector<uint8_t> Sample(uint32_t seed, size_t n) {
  static const char* words[] = {"alpha", "beta", "gamma", "delta", "offset", "window", "match", "\n"};
  std::mt19937 rng(seed);
  std::vector<uint8_t> v;
  while (v.size() < n) {
    const char* w = words[rng() % 8];
    v.insert(v.end(), w, w + std::strlen(w));
    v.push_back(rng() % 5 ? ' ' : static_cast<uint8_t>(rng()));
  }
  v.resize(n);
  for (size_t i = 0; i < 300; ++i) v[10000 + i] = v[50000 + i] = static_cast<uint8_t>(rng());
  return v;
}

struct FinderCase {
  const char* name;
  int hashBits;
  uint32_t ways;
  uint32_t maxDist;
  uint32_t firstPos;  // folder position of the sample's first byte
};

class LzxBucketFinder : public ::testing::TestWithParam<FinderCase> {};

TEST_P(LzxBucketFinder, ReportsOnlyRealMatchesAndFindsThePlantedOne) {
  const FinderCase& c = GetParam();
  const std::vector<uint8_t> data = Sample(3, 120000);
  BucketMatchFinder mf(c.maxDist, c.hashBits, c.ways, 64);
  mf.Reset();
  // The same data twice: the second pass meets stale entries of the first, whose
  // positions lie one full position range (2^26) back and so look recent.
  for (uint32_t pass = 0; pass < 2; ++pass) {
    const uint32_t base = c.firstPos + pass * (1u << 26);
    size_t found = 0;
    bool planted = false;
    for (uint32_t i = 0; i < data.size(); ++i) {
      const uint8_t* cur = data.data() + i;
      const uint32_t avail = static_cast<uint32_t>(data.size()) - i;
      if (i % 4 == 3) {
        mf.Insert(cur, base + i, avail);
        continue;
      }
      Match m[BucketMatchFinder::kMaxMatchesPerPosition];
      const uint32_t n = mf.Find(cur, base + i, avail, std::min(avail, 257u), i, m);
      for (uint32_t k = 0; k < n; ++k) {
        SCOPED_TRACE("position " + std::to_string(i) + " match " + std::to_string(k));
        ASSERT_GE(m[k].len, 3u);
        ASSERT_LE(m[k].len, std::min(avail, 257u));
        ASSERT_GE(m[k].dist, 1u);
        ASSERT_LE(m[k].dist, std::min(i, c.maxDist));
        ASSERT_EQ(std::memcmp(cur, cur - m[k].dist, m[k].len), 0);
        if (k > 0) {
          ASSERT_GT(m[k].len, m[k - 1].len);
        }
      }
      found += n;
      if (i == 50000 && n > 0 && m[n - 1].dist == 40000 && m[n - 1].len >= 64) planted = true;
    }
    EXPECT_GT(found, data.size() / 4);
    EXPECT_EQ(planted, c.maxDist >= 40000);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LzxBucketFinder,
    ::testing::Values(FinderCase{"EightWays", 16, 8, (1u << 21) - 3, 0},
                      FinderCase{"FourWaysSmallTable", 12, 4, (1u << 21) - 3, 0},
                      FinderCase{"ThirtyTwoWays", 14, 32, (1u << 21) - 3, 0},
                      FinderCase{"WindowShorterThanThePlantedRepeat", 16, 8, (1u << 15) - 3, 0},
                      FinderCase{"PositionsAcrossTheEntryRange", 16, 8, (1u << 21) - 3, (1u << 26) - 60000}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace bvq::cab::lzx
