#pragma once
// Helpers of the preview tests: pictures written by Qt's own encoders, and pixel reading.
#include <QColor>
#include <QImage>
#include <string>

#include "images/pixels.h"

namespace bvq::preview::test {

// Windows colour value (0x00BBGGRR) of a Qt colour.
inline uint32_t WinColor(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

inline QColor At(const QImage& image, int x, int y) { return QColor::fromRgb(image.pixel(x, y)); }

// A picture of `size` filled by `pixel(x, y)`, saved as PNG at `path`.
template <class F>
void SavePicture(const std::string& path, int width, int height, F pixel) {
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixelColor(x, y, pixel(x, y));
  ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG")) << path;
}

// The bounding box of pixels that differ between two pictures of equal size.
inline QRect Difference(const QImage& a, const QImage& b) {
  QRect box;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace bvq::preview::test
