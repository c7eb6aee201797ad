// The LZX hash-bucket match finder: every match it reports is real, lies within the
// history and the window, comes by increasing length, and planted repeats are found, also
// where folder positions pass the range a bucket entry holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cab/lzx_bucketfinder.h"
#include "lzx_test_cabinet.h"

namespace bvq::cab::lzx {
namespace {

// Text-like bytes with repeats at every distance, and a 300-byte random run planted twice,
// 40000 bytes apart.
std::vector<uint8_t> Sample(uint32_t seed, size_t n) {
  std::vector<uint8_t> v = lzxtest::WordSample(n, seed);
  std::mt19937 rng(seed + 1);
  for (size_t i = 0; i < 300; ++i) v[10000 + i] = v[50000 + i] = static_cast<uint8_t>(rng());
  return v;
}

struct FinderCase {
  const char* name;
  int hashBits;
  uint32_t ways;
  uint32_t maxDist;
  uint32_t firstPos;  // folder position of the sample's first byte
  uint32_t longWays = 0;
};

class LzxBucketFinder : public ::testing::TestWithParam<FinderCase> {};

TEST_P(LzxBucketFinder, ReportsOnlyRealMatchesAndFindsThePlantedOne) {
  const FinderCase& c = GetParam();
  const std::vector<uint8_t> data = Sample(3, 120000);
  const lzxtest::GuardedCopy bytes(data);  // the finder reads up to the last byte and never past it
  BucketMatchFinder mf(c.maxDist, c.hashBits, c.ways, 64, c.longWays);
  mf.Reset();
  // The same data twice: the second pass meets stale entries of the first, whose
  // positions lie one full position range (2^26) back and so look recent.
  for (uint32_t pass = 0; pass < 2; ++pass) {
    const uint32_t base = c.firstPos + pass * (1u << 26);
    size_t found = 0;
    bool planted = false;
    for (uint32_t i = 0; i < data.size(); ++i) {
      const uint8_t* cur = bytes.data() + i;
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
                      FinderCase{"PositionsAcrossTheEntryRange", 16, 8, (1u << 21) - 3, (1u << 26) - 60000},
                      FinderCase{"LongStringTable", 14, 8, (1u << 21) - 3, 0, 8},
                      FinderCase{"LongStringTableAcrossTheEntryRange", 16, 4, (1u << 21) - 3, (1u << 26) - 60000, 4}),
    [](const auto& info) { return std::string(info.param.name); });

// A 200-byte string repeated far back, with its first four bytes recurring in between
// more often than a bucket holds: only the table of longer strings still knows the first
// copy, and a finder with it reports the long match, one without it does not.
TEST(LzxBucketFinder, LongStringTableKeepsRepeatsThatShortBucketsLose) {
  std::mt19937 rng(9);
  std::vector<uint8_t> data(100000);
  for (auto& b : data) b = static_cast<uint8_t>(rng());
  std::vector<uint8_t> planted(200);
  for (auto& b : planted) b = static_cast<uint8_t>(rng());
  std::copy(planted.begin(), planted.end(), data.begin() + 10000);
  std::copy(planted.begin(), planted.end(), data.begin() + 90000);
  for (size_t at = 12000; at < 88000; at += 1000) std::copy(planted.begin(), planted.begin() + 4, data.begin() + at);
  for (uint32_t longWays : {0u, 4u}) {
    SCOPED_TRACE("long ways " + std::to_string(longWays));
    BucketMatchFinder mf((1u << 21) - 3, 18, 8, 64, longWays);
    mf.Reset();
    Match m[BucketMatchFinder::kMaxMatchesPerPosition];
    uint32_t n = 0;
    for (uint32_t i = 0; i <= 90000; ++i)
      n = mf.Find(data.data() + i, i, static_cast<uint32_t>(data.size()) - i, 257, i, m);
    const bool found = n > 0 && m[n - 1].dist == 80000 && m[n - 1].len == 200;
    EXPECT_EQ(found, longWays > 0);
  }
}

}  // namespace
}  // namespace bvq::cab::lzx
