// The LZX binary-tree match finder: every match it reports is real, lies within the
// history and the window (also once positions wrap around the window's node slots), comes
// by increasing length and respects the caller's limit; planted repeats are found up to
// the window's largest distance and not beyond, also after long runs of one byte re-root
// the tree at every position.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cab/lzx_format.h"
#include "cab/lzx_treefinder.h"
#include "lzx_test_cabinet.h"

namespace bvq::cab::lzx {
namespace {

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

// Feeds all of data to the finder (every stride-th position only entered) and checks every
// reported match; returns the matches found at position `probe`. With `piece`, the data is
// known only up to the end of the current piece of that many bytes, as a parser knows only
// its chunk.
std::vector<Match> FeedAndCheck(TreeMatchFinder& mf, const std::vector<uint8_t>& data, int windowBits, uint32_t firstPos,
                                uint32_t probe, uint32_t insertEvery = 4, uint32_t frame = 32768, uint32_t piece = 0) {
  std::vector<Match> atProbe;
  size_t found = 0;
  const lzxtest::GuardedCopy bytes(data);  // the finder reads up to the last byte and never past it
  for (uint32_t i = 0; i < data.size(); ++i) {
    const uint8_t* cur = bytes.data() + i;
    const uint32_t known = piece ? std::min<uint32_t>(static_cast<uint32_t>(data.size()), (i / piece + 1) * piece)
                                 : static_cast<uint32_t>(data.size());
    const uint32_t avail = known - i;
    const uint32_t p = firstPos + i;
    if (i % insertEvery == insertEvery - 1 && i != probe) {
      mf.Insert(cur, p, avail, i);
      continue;
    }
    const uint32_t limit = std::min({avail, 257u, frame - p % frame});
    Match m[TreeMatchFinder::kMaxMatchesPerPosition];
    const uint32_t n = mf.Find(cur, p, avail, limit, i, m);
    for (uint32_t k = 0; k < n; ++k) {
      SCOPED_TRACE("position " + std::to_string(i) + " match " + std::to_string(k));
      EXPECT_GE(m[k].len, 3u);
      EXPECT_LE(m[k].len, limit);
      EXPECT_GE(m[k].dist, 1u);
      EXPECT_LE(m[k].dist, std::min(i, MaxDistance(windowBits)));
      if (m[k].dist > i || m[k].len > avail) return {};  // reading further would leave the data
      EXPECT_EQ(std::memcmp(cur, cur - m[k].dist, m[k].len), 0);
      if (k > 0) {
        EXPECT_GT(m[k].len, m[k - 1].len);
      }
    }
    found += n;
    if (i == probe) atProbe.assign(m, m + n);
  }
  EXPECT_GT(found, data.size() / 8);
  return atProbe;
}

bool HasMatch(const std::vector<Match>& ms, uint32_t dist, uint32_t minLen) {
  return std::any_of(ms.begin(), ms.end(), [&](const Match& m) { return m.dist == dist && m.len >= minLen; });
}

struct TreeCase {
  const char* name;
  int windowBits;
  uint32_t depth;
  uint32_t niceLen;
  uint32_t firstPos;   // folder position of the first byte
  uint32_t plantDist;  // distance between the two copies of a planted 300-byte string
};

class LzxTreeFinder : public ::testing::TestWithParam<TreeCase> {};

TEST_P(LzxTreeFinder, ReportsOnlyRealMatchesAndFindsPlantedRepeatsWithinTheWindow) {
  const TreeCase& c = GetParam();
  std::vector<uint8_t> data = lzxtest::WordSample(std::max<size_t>(150000, c.plantDist + 20000), 3);
  const auto planted = RandomBytes(300, 5);
  const uint32_t second = static_cast<uint32_t>(data.size()) - 10000;
  std::copy(planted.begin(), planted.end(), data.begin() + (second - c.plantDist));
  std::copy(planted.begin(), planted.end(), data.begin() + second);
  TreeMatchFinder mf(c.windowBits, 15, c.depth, c.niceLen);
  mf.Reset();
  const auto atSecond = FeedAndCheck(mf, data, c.windowBits, c.firstPos, second, 4, 1u << 30);
  EXPECT_EQ(HasMatch(atSecond, c.plantDist, std::min(c.niceLen, 257u)), c.plantDist <= MaxDistance(c.windowBits));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LzxTreeFinder,
    ::testing::Values(TreeCase{"DeepSearch", 21, 32, 257, 0, 40000},
                      TreeCase{"ShallowSearchShortNice", 21, 4, 32, 0, 40000},
                      // A small window wraps the node slots several times over the data.
                      TreeCase{"SmallWindowBeyondReach", 15, 16, 64, 0, 40000},
                      TreeCase{"SmallWindowAtItsLargestDistance", 15, 16, 64, 0, (1u << 15) - 3},
                      TreeCase{"SmallWindowOneBeyondItsLargestDistance", 15, 16, 64, 0, (1u << 15) - 2},
                      TreeCase{"FullWindowAtItsLargestDistance", 21, 16, 64, 0, (1u << 21) - 3},
                      TreeCase{"FullWindowOneBeyondItsLargestDistance", 21, 16, 64, 0, (1u << 21) - 2},
                      TreeCase{"PositionsFarIntoTheFolder", 16, 16, 64, 0xF0000000u, 50000}),
    [](const auto& info) { return std::string(info.param.name); });

// A long run of one byte re-roots the tree of its four-byte string at every position
// (each the same as its predecessor as far as the tree looks); a string that starts with
// those four bytes, entered before the run, must still be found after it, and matches at
// the frame ends inside the run stop at the frame limit.
TEST(LzxTreeFinder, RunsOfOneByteKeepOlderStringsOfTheSameTree) {
  auto data = lzxtest::WordSample(200000, 8);
  std::vector<uint8_t> planted(204, 0);
  const auto tail = RandomBytes(200, 6);
  std::copy(tail.begin(), tail.end(), planted.begin() + 4);
  std::copy(planted.begin(), planted.end(), data.begin() + 1000);
  std::fill(data.begin() + 5000, data.begin() + 105000, 0);
  std::copy(planted.begin(), planted.end(), data.begin() + 150000);
  for (uint32_t nice : {48u, 257u}) {
    SCOPED_TRACE("nice " + std::to_string(nice));
    TreeMatchFinder mf(21, 16, 16, nice);
    mf.Reset();
    const auto m = FeedAndCheck(mf, data, 21, 0, 150000, 1000000);
    EXPECT_TRUE(HasMatch(m, 149000, std::min(nice, 204u)));
  }
}

// A string entered near the end of the data known so far is ordered by its first few
// bytes only; the bytes that follow later must not break the order of the tree, or later
// walks assume common prefixes that are not there and report matches that are not real.
TEST(LzxTreeFinder, StringsEnteredAtTheEndOfThePieceKnownSoFarKeepTheTreeTrue) {
  const auto data = lzxtest::WordSample(300000, 11);
  for (uint32_t piece : {163840u, 4099u, 300u}) {
    SCOPED_TRACE("piece " + std::to_string(piece));
    TreeMatchFinder mf(21, 14, 32, 257);
    mf.Reset();
    FeedAndCheck(mf, data, 21, 0, 0, 2, 32768, piece);
  }
}

// Reset forgets the folder before: the same positions again find nothing from it.
TEST(LzxTreeFinder, ResetForgetsEarlierData) {
  const auto data = RandomBytes(5000, 9);
  TreeMatchFinder mf(16, 14, 16, 64);
  mf.Reset();
  for (uint32_t i = 0; i < data.size(); ++i) mf.Insert(data.data() + i, i, static_cast<uint32_t>(data.size()) - i, i);
  mf.Reset();
  auto other = RandomBytes(5000, 10);
  std::copy(data.begin(), data.begin() + 100, other.begin() + 4000);
  Match m[TreeMatchFinder::kMaxMatchesPerPosition];
  uint32_t longest = 0;
  for (uint32_t i = 0; i < other.size(); ++i) {
    const uint32_t n = mf.Find(other.data() + i, i, static_cast<uint32_t>(other.size()) - i, 257, i, m);
    if (n) longest = std::max(longest, m[n - 1].len);
  }
  EXPECT_LT(longest, 8u);
}

}  // namespace
}  // namespace bvq::cab::lzx
