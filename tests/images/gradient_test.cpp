#include <gtest/gtest.h>

#include <vector>

#include "images/gradient.h"

namespace bvq::images {
namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

Rgb PixelAt(const RgbImage& image, int x, int y) {
  const uint8_t* p = image.At(x, y);
  return {p[0], p[1], p[2]};
}

// Colours are Windows values 0x00BBGGRR: 0x000000FF is pure red, 0x00FF0000 pure blue.
TEST(Gradient, RunsFromFirstToSecondColourInEitherDirection) {
  struct Case {
    bool vertical;
    int width, height;
  };
  for (const Case c : {Case{false, 11, 3}, Case{true, 3, 11}}) {
    SCOPED_TRACE(c.vertical ? "vertical" : "horizontal");
    const RgbImage image = CreateGradient(c.width, c.height, c.vertical, 0x000000FF, 0x00FF0000);
    ASSERT_EQ(image.width, c.width);
    ASSERT_EQ(image.height, c.height);
    const int steps = c.vertical ? c.height : c.width;
    for (int i = 0; i < steps; ++i) {
      // Along the gradient red falls and blue rises evenly; across it every pixel is equal.
      const Rgb expected{(255 * (steps - 1 - i) + (steps - 1) / 2) / (steps - 1), 0,
                         (255 * i + (steps - 1) / 2) / (steps - 1)};
      for (int j = 0; j < (c.vertical ? c.width : c.height); ++j) {
        const Rgb got = c.vertical ? PixelAt(image, j, i) : PixelAt(image, i, j);
        EXPECT_EQ(got, expected) << "step " << i << " across " << j;
      }
    }
    EXPECT_EQ(PixelAt(image, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(image, c.width - 1, c.height - 1), (Rgb{0, 0, 255}));
  }
}

TEST(Gradient, SingleLineTakesTheFirstColour) {
  const RgbImage image = CreateGradient(1, 4, false, 0x00123456, 0x00FFFFFF);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(PixelAt(image, 0, y), (Rgb{0x56, 0x34, 0x12}));
}

TEST(Gradient, DrawsOnlyInsideTheGivenRectangleOfAStridedBuffer) {
  // 2 x 2 pixels in rows of 8 bytes: the 2 padding bytes of each row stay untouched.
  std::vector<uint8_t> buffer(16, 0xAA);
  CreateGradient(buffer.data(), 2, 2, 8, true, 0x00000000, 0x00FFFFFF);
  const std::vector<uint8_t> expected = {0, 0, 0, 0, 0, 0, 0xAA, 0xAA, 255, 255, 255, 255, 255, 255, 0xAA, 0xAA};
  EXPECT_EQ(buffer, expected);
}

TEST(Gradient, EmptyRectangleDrawsNothing) {
  std::vector<uint8_t> buffer(12, 0xAA);
  CreateGradient(buffer.data(), 0, 4, 3, false, 0, 0x00FFFFFF);
  CreateGradient(buffer.data(), 4, -1, 12, true, 0, 0x00FFFFFF);
  EXPECT_EQ(buffer, std::vector<uint8_t>(12, 0xAA));
  EXPECT_EQ(CreateGradient(0, 5, false, 0, 0).pixels.size(), 0u);
}

}  // namespace
}  // namespace bvq::images
