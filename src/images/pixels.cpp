#include "images/pixels.h"

namespace bvq::images {

RgbImage FlattenOnto(const RgbaImage& image, uint32_t background) {
  RgbImage out(image.width, image.height);
  const int back[3] = {ColorRed(background), ColorGreen(background), ColorBlue(background)};
  const size_t count = size_t(image.width) * size_t(image.height);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* src = &image.pixels[i * 4];
    uint8_t* dst = &out.pixels[i * 3];
    const int alpha = src[3];
    for (int c = 0; c < 3; ++c) dst[c] = uint8_t((src[c] * alpha + back[c] * (255 - alpha) + 127) / 255);
  }
  return out;
}

bool AcceptableSize(uint64_t width, uint64_t height) {
  return width > 0 && height > 0 && width <= uint64_t(kMaxDimension) && height <= uint64_t(kMaxDimension) &&
         width * height <= kMaxPixels;
}

}  // namespace bvq::images
