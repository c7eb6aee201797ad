#pragma once
// Pixel buffers passed between the decoders, the bitmap writer and the previews.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bvq::images {

// Straight (not premultiplied) RGBA, 8 bits per channel, rows top to bottom, no padding.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 4 bytes

  RgbaImage() = default;
  RgbaImage(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h) * 4, 0) {}
  uint8_t* At(int x, int y) { return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
  const uint8_t* At(int x, int y) const { return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
};

// RGB, 8 bits per channel, rows top to bottom, no padding.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 3 bytes

  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h) * 3, 0) {}
  uint8_t* At(int x, int y) { return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
  const uint8_t* At(int x, int y) const { return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

// Windows colour values are 0x00BBGGRR.
constexpr uint8_t ColorRed(uint32_t color) { return uint8_t(color & 0xFF); }
constexpr uint8_t ColorGreen(uint32_t color) { return uint8_t((color >> 8) & 0xFF); }
constexpr uint8_t ColorBlue(uint32_t color) { return uint8_t((color >> 16) & 0xFF); }
constexpr uint32_t kWhite = 0x00FFFFFF;

// The RGBA picture laid on an opaque background colour (alpha blended).
RgbImage FlattenOnto(const RgbaImage& image, uint32_t background = kWhite);

// Largest picture any decoder accepts, so that a small hostile file cannot make the program
// allocate gigabytes. 64 Mpixel is far beyond any wizard picture or icon.
constexpr int kMaxDimension = 32768;
constexpr uint64_t kMaxPixels = uint64_t(1) << 26;
// Whether width x height is a picture size the decoders accept.
bool AcceptableSize(uint64_t width, uint64_t height);

}  // namespace bvq::images
