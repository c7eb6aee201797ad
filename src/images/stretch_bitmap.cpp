#include "images/stretch_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace bvq::images {

namespace {

// Fixed-point step of 16 fraction bits, rounded to the nearest value.
int64_t Step(int numerator, int denominator) {
  return std::llround(double(numerator) / double(denominator) * 65536.0);
}

// The source positions of a shrinking dimension (d < s).
std::vector<int> ShrinkSamples(int start, int s, int bitmapSize, int d) {
  const int64_t g = Step(s, d);
  std::vector<int> samples(size_t(d), 0);
  for (int k = 0; k < d; ++k) samples[size_t(k)] = int((g * k + 0x7FFF) >> 16);
  // Centre the sampled span, but never read beyond the picture past the rectangle's far side.
  const int centring = (s - samples.back()) / 2;
  const int room = std::max(0, bitmapSize - (start + s));
  const int shift = std::max(0, std::min(centring, room));
  for (int& p : samples) p = std::min(start + p + shift, start + s - 1 + room);
  return samples;
}

// The source positions of a growing or kept dimension (d >= s): each source pixel repeated.
std::vector<int> GrowSamples(int start, int s, int d) {
  const int64_t g = Step(d, s);
  auto q = [&](int k) -> int64_t {
    if (k == 0) return 0;
    const int64_t v = (g * k + 0x7FFF) >> 16;
    return k == 1 ? v : std::min<int64_t>(d, v);
  };
  std::vector<int64_t> repeats(static_cast<size_t>(s));
  int64_t total = 0;
  for (int i = 0; i < s; ++i) {
    repeats[size_t(i)] = std::max<int64_t>(0, q(i + 1) - q(i));
    total += repeats[size_t(i)];
  }
  if (total < d) {
    const int64_t shortfall = d - total;
    repeats.back() += shortfall / 2;
    repeats.front() += shortfall - shortfall / 2;
  }
  std::vector<int> samples;
  samples.reserve(size_t(d));
  for (int i = 0; i < s && int(samples.size()) < d; ++i)
    for (int64_t r = 0; r < repeats[size_t(i)] && int(samples.size()) < d; ++r) samples.push_back(start + i);
  return samples;
}

template <class Image>
void Stretch(const Image& source, PixelRect from, Image& destination, PixelRect to) {
  if (from.width <= 0 || from.height <= 0 || to.width <= 0 || to.height <= 0) return;
  if (from.left < 0 || from.top < 0 || from.left + from.width > source.width ||
      from.top + from.height > source.height)
    return;
  const bool shrinksBoth = to.width <= from.width && to.height <= from.height;
  const bool growsBoth = to.width >= from.width && to.height >= from.height;
  std::vector<int> columns, rows;
  if (shrinksBoth || growsBoth) {
    columns = StretchSamples(from.left, from.width, source.width, to.width);
    rows = StretchSamples(from.top, from.height, source.height, to.height);
  } else {
    columns = NearestSamples(from.left, from.width, to.width);
    rows = NearestSamples(from.top, from.height, to.height);
  }
  constexpr size_t kBytes = sizeof(source.pixels[0]) * (std::is_same_v<Image, RgbaImage> ? 4 : 3);
  for (int y = 0; y < to.height; ++y) {
    const int outY = to.top + y;
    if (outY < 0 || outY >= destination.height) continue;
    for (int x = 0; x < to.width; ++x) {
      const int outX = to.left + x;
      if (outX < 0 || outX >= destination.width) continue;
      std::memcpy(destination.At(outX, outY), source.At(columns[size_t(x)], rows[size_t(y)]), kBytes);
    }
  }
}

}  // namespace

std::vector<int> StretchSamples(int sourceStart, int sourceSize, int bitmapSize, int destinationSize) {
  if (sourceSize <= 0 || destinationSize <= 0) return {};
  if (destinationSize < sourceSize) return ShrinkSamples(sourceStart, sourceSize, bitmapSize, destinationSize);
  return GrowSamples(sourceStart, sourceSize, destinationSize);
}

std::vector<int> NearestSamples(int sourceStart, int sourceSize, int destinationSize) {
  if (sourceSize <= 0 || destinationSize <= 0) return {};
  std::vector<int> samples(static_cast<size_t>(destinationSize));
  for (int k = 0; k < destinationSize; ++k)
    samples[size_t(k)] = sourceStart + int(int64_t(k) * sourceSize / destinationSize);
  return samples;
}

void StretchBitmap(const RgbImage& source, PixelRect sourceRect, RgbImage& destination, PixelRect destinationRect) {
  Stretch(source, sourceRect, destination, destinationRect);
}

void StretchBitmap(const RgbaImage& source, PixelRect sourceRect, RgbaImage& destination,
                   PixelRect destinationRect) {
  Stretch(source, sourceRect, destination, destinationRect);
}

}  // namespace bvq::images
