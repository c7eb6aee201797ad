#include "images/gradient.h"

#include <vector>

namespace bvq::images {

namespace {

// Colour of step i of n (0 .. n-1), each channel rounded to the nearest value.
void Blend(uint32_t first, uint32_t second, int i, int n, uint8_t out[3]) {
  const int a[3] = {ColorRed(first), ColorGreen(first), ColorBlue(first)};
  const int b[3] = {ColorRed(second), ColorGreen(second), ColorBlue(second)};
  const int64_t span = n > 1 ? n - 1 : 1;
  for (int c = 0; c < 3; ++c) {
    const int64_t scaled = int64_t(a[c]) * span + int64_t(b[c] - a[c]) * i;
    out[c] = uint8_t((scaled + span / 2) / span);
  }
}

}  // namespace

void CreateGradient(uint8_t* rgb, int width, int height, ptrdiff_t stride, bool vertical, uint32_t first,
                    uint32_t second) {
  if (rgb == nullptr || width <= 0 || height <= 0) return;
  if (vertical) {
    for (int y = 0; y < height; ++y) {
      uint8_t color[3];
      Blend(first, second, y, height, color);
      uint8_t* row = rgb + stride * y;
      for (int x = 0; x < width; ++x) {
        row[x * 3] = color[0];
        row[x * 3 + 1] = color[1];
        row[x * 3 + 2] = color[2];
      }
    }
    return;
  }
  std::vector<uint8_t> line(size_t(width) * 3);
  for (int x = 0; x < width; ++x) Blend(first, second, x, width, &line[size_t(x) * 3]);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = rgb + stride * y;
    for (size_t i = 0; i < line.size(); ++i) row[i] = line[i];
  }
}

RgbImage CreateGradient(int width, int height, bool vertical, uint32_t first, uint32_t second) {
  if (width <= 0 || height <= 0) return {};
  RgbImage image(width, height);
  CreateGradient(image.pixels.data(), width, height, ptrdiff_t(width) * 3, vertical, first, second);
  return image;
}

}  // namespace bvq::images
