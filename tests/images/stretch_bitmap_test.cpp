// StretchBitmap: each output pixel is a whole copy of one source pixel, chosen by the fixed-point
// rules for shrinking and growing, and a nearest-pixel mapping when one dimension shrinks and
// the other grows. The source pixels carry their own coordinates, so the output tells where
// every pixel came from.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "images/stretch_bitmap.h"

namespace bvq::images {
namespace {

// RGBA pixel (x, y) holds x in red/green and y in blue/alpha.
RgbaImage CoordinatePicture(int width, int height) {
  RgbaImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = image.At(x, y);
      p[0] = uint8_t(x & 0xFF);
      p[1] = uint8_t(x >> 8);
      p[2] = uint8_t(y & 0xFF);
      p[3] = uint8_t(y >> 8);
    }
  return image;
}
int SourceX(const RgbaImage& image, int x, int y) { return image.At(x, y)[0] | image.At(x, y)[1] << 8; }
int SourceY(const RgbaImage& image, int x, int y) { return image.At(x, y)[2] | image.At(x, y)[3] << 8; }

struct Mapping {
  std::vector<int> columns, rows;  // source column of each output column, source row of each output row
};

// Stretches a whole coordinate picture and reads back the mapping; every output pixel of a
// column (row) must come from the same source column (row).
Mapping StretchWhole(int sw, int sh, int dw, int dh) {
  const RgbaImage source = CoordinatePicture(sw, sh);
  RgbaImage out(dw, dh);
  StretchBitmap(source, {0, 0, sw, sh}, out, {0, 0, dw, dh});
  Mapping m;
  for (int x = 0; x < dw; ++x) m.columns.push_back(SourceX(out, x, 0));
  for (int y = 0; y < dh; ++y) m.rows.push_back(SourceY(out, 0, y));
  for (int y = 0; y < dh; y += 37)
    for (int x = 0; x < dw; x += 41) {
      EXPECT_EQ(SourceX(out, x, y), m.columns[size_t(x)]) << x << "," << y;
      EXPECT_EQ(SourceY(out, x, y), m.rows[size_t(y)]) << x << "," << y;
    }
  return m;
}

// How often each source position occurs, in order of first occurrence.
std::map<int, int> Repeats(const std::vector<int>& samples) {
  std::map<int, int> counts;
  for (int s : samples) ++counts[s];
  return counts;
}

TEST(StretchBitmap, GrowingRepeatsEachSourcePixelTheRoundedFactorTimes) {
  // 100 x 100 onto 1024 x 768: 10.24 and 7.68 output pixels per source pixel.
  const Mapping m = StretchWhole(100, 100, 1024, 768);
  for (const auto& [samples, low, high] : {std::tuple{m.columns, 10, 11}, std::tuple{m.rows, 7, 8}}) {
    ASSERT_TRUE(std::is_sorted(samples.begin(), samples.end()));
    const auto counts = Repeats(samples);
    ASSERT_EQ(counts.size(), 100u) << "every source pixel is used";
    int total = 0;
    for (const auto& [source, count] : counts) {
      EXPECT_GE(count, low) << "source " << source;
      EXPECT_LE(count, high) << "source " << source;
      total += count;
    }
    EXPECT_EQ(total, int(samples.size())) << "every output pixel covered";
  }
}

TEST(StretchBitmap, ShrinkingSamplesInStepsFromTheFirstColumnAndRow) {
  // 3000 x 2000 onto 1024 x 768: steps of 2 or 3 source pixels, starting at 0.
  const Mapping m = StretchWhole(3000, 2000, 1024, 768);
  for (const auto& samples : {m.columns, m.rows}) {
    EXPECT_EQ(samples.front(), 0);
    for (size_t k = 1; k < samples.size(); ++k) {
      const int step = samples[k] - samples[k - 1];
      EXPECT_TRUE(step == 2 || step == 3) << "step " << step << " at " << k;
    }
  }
  EXPECT_LT(m.columns.back(), 3000);
  EXPECT_LT(m.rows.back(), 2000);
}

TEST(StretchBitmap, ShrinkingARectangleCentresOnlyWithinThePicture) {
  // A 10-pixel span shrunk to 3 samples 0, 3, 7 (step 3.33); the unused 2 pixels at the end
  // shift the samples by 1 only where the picture continues past the rectangle.
  EXPECT_EQ(StretchSamples(0, 10, 10, 3), (std::vector<int>{0, 3, 7}));
  EXPECT_EQ(StretchSamples(5, 10, 40, 3), (std::vector<int>{6, 9, 13}));
  EXPECT_EQ(StretchSamples(5, 10, 15, 3), (std::vector<int>{5, 8, 12}));
}

TEST(StretchBitmap, GrowingShortfallGoesHalfToTheLastPixelAndTheRestToTheFirst) {
  // 3 onto 10: step 3.33 gives q = 0, 3, 7, 10 → 3, 4, 3 with nothing short.
  EXPECT_EQ(Repeats(StretchSamples(0, 3, 3, 10)), (std::map<int, int>{{0, 3}, {1, 4}, {2, 3}}));
  // Keeping the size copies one to one.
  std::vector<int> same = StretchSamples(2, 5, 9, 5);
  EXPECT_EQ(same, (std::vector<int>{2, 3, 4, 5, 6}));
  // Degenerate sizes give nothing.
  EXPECT_TRUE(StretchSamples(0, 0, 0, 5).empty());
  EXPECT_TRUE(StretchSamples(0, 5, 5, 0).empty());
}

TEST(StretchBitmap, ShrinkOneWayGrowTheOtherUsesTheNearestPixel) {
  // 2000 x 500 onto 1024 x 768: columns shrink, rows grow; every output pixel still is one
  // whole source pixel, in order, from the first to near the last.
  const Mapping m = StretchWhole(2000, 500, 1024, 768);
  EXPECT_EQ(m.columns, NearestSamples(0, 2000, 1024));
  EXPECT_EQ(m.rows, NearestSamples(0, 500, 768));
  EXPECT_EQ(m.columns.front(), 0);
  EXPECT_GE(m.columns.back(), 1997);
  EXPECT_EQ(m.rows.back(), 499);
  std::set<int> rows(m.rows.begin(), m.rows.end());
  EXPECT_EQ(rows.size(), 500u) << "growing rows skip none";
}

TEST(StretchBitmap, RgbPicturesAndDestinationRectanglesAreClipped) {
  RgbImage source(2, 1);
  source.At(0, 0)[0] = 10;
  source.At(1, 0)[0] = 20;
  RgbImage out(4, 2);
  // Destination rectangle partly outside the picture: only the inside is written.
  StretchBitmap(source, {0, 0, 2, 1}, out, {-2, 1, 8, 4});
  // Output columns -2..5 carry 10, 10, 10, 10, 20, 20, 20, 20.
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(out.At(x, 0)[0], 0) << "row above the rectangle untouched";
    EXPECT_EQ(out.At(x, 1)[0], x < 2 ? 10 : 20) << x;
  }
  // A source rectangle outside the picture draws nothing.
  RgbImage untouched(4, 2);
  StretchBitmap(source, {1, 0, 2, 1}, untouched, {0, 0, 4, 2});
  EXPECT_EQ(untouched.pixels, std::vector<uint8_t>(untouched.pixels.size(), 0));
}

}  // namespace
}  // namespace bvq::images
