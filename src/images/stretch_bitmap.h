#pragma once
// Resampling a picture onto another without blending: each output pixel is a whole copy of one
// source pixel. Used by the background preview's stretch placement.
#include <vector>

#include "images/pixels.h"

namespace bvq::images {

// A rectangle of a picture, in pixels.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// For one dimension: the source position each of `destinationSize` output pixels copies.
// `sourceStart`/`sourceSize` give the source rectangle on that axis and `bitmapSize` the whole
// source picture's extent. Shrinking samples in fixed steps of round(s / d * 65536) / 65536,
// centring the sampled span only as far as the picture extends beyond the rectangle; growing
// repeats each source pixel round(d / s) times give or take one, the shortfall going half to
// the last pixel and the rest to the first. Empty when either size is not positive.
std::vector<int> StretchSamples(int sourceStart, int sourceSize, int bitmapSize, int destinationSize);

// Plain nearest-pixel mapping (output k copies source start + k * s / d rounded down), used
// when a picture shrinks one way and grows the other.
std::vector<int> NearestSamples(int sourceStart, int sourceSize, int destinationSize);

// Copies `sourceRect` of `source` onto `destinationRect` of `destination` (clipped to the
// destination picture). When both dimensions shrink or both grow (or keep) their size, the
// rows and columns follow StretchSamples; a mixed case follows NearestSamples. Works for RGB
// and RGBA pictures alike (alpha is copied like any channel).
void StretchBitmap(const RgbImage& source, PixelRect sourceRect, RgbImage& destination, PixelRect destinationRect);
void StretchBitmap(const RgbaImage& source, PixelRect sourceRect, RgbaImage& destination,
                   PixelRect destinationRect);

}  // namespace bvq::images
