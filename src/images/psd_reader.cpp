#include "images/psd_reader.h"

#include <algorithm>
#include <vector>

namespace bvq::images {

namespace {

enum ColorMode : uint16_t { kBitmap = 0, kGrayscale = 1, kIndexed = 2, kRgb = 3, kCmyk = 4, kDuotone = 8 };

Status Damaged() { return Status::Fail("The Photoshop picture is cut short or damaged."); }

// Big-endian reading with bounds checks; Photoshop files are big-endian throughout.
class BigEndianReader {
 public:
  explicit BigEndianReader(std::string_view bytes) : bytes_(bytes) {}
  bool Has(size_t count) const { return count <= bytes_.size() - at_; }
  size_t position() const { return at_; }
  uint64_t Read(int size) {  // callers check Has(size) first
    uint64_t value = 0;
    for (int i = 0; i < size; ++i) value = value << 8 | uint8_t(bytes_[at_++]);
    return value;
  }
  bool Skip(uint64_t count) {
    if (count > bytes_.size() - at_) return false;
    at_ += size_t(count);
    return true;
  }
  const uint8_t* Here() const { return reinterpret_cast<const uint8_t*>(bytes_.data()) + at_; }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

// Unpacks one PackBits row of `rowBytes` bytes from `in` (exactly `packed` bytes long).
bool UnpackRow(const uint8_t* in, size_t packed, uint8_t* out, size_t rowBytes) {
  size_t i = 0, o = 0;
  while (o < rowBytes) {
    if (i >= packed) return false;
    const int n = int8_t(in[i++]);
    if (n >= 0) {
      const size_t count = size_t(n) + 1;
      if (count > packed - i || count > rowBytes - o) return false;
      std::copy(in + i, in + i + count, out + o);
      i += count;
      o += count;
    } else if (n != -128) {
      const size_t count = size_t(1 - n);
      if (i >= packed || count > rowBytes - o) return false;
      std::fill(out + o, out + o + count, in[i++]);
      o += count;
    }
  }
  return true;
}

}  // namespace

Outcome<RgbaImage> DecodePsd(std::string_view bytes) {
  BigEndianReader in(bytes);
  if (!in.Has(26) || bytes.substr(0, 4) != "8BPS") return Status::Fail("The file is not a Photoshop picture.");
  in.Skip(4);
  const uint64_t version = in.Read(2);
  if (version != 1 && version != 2) return Status::Fail("The Photoshop file version is not supported.");
  const bool large = version == 2;
  in.Skip(6);
  const int channels = int(in.Read(2));
  const uint64_t height = in.Read(4), width = in.Read(4);
  const int depth = int(in.Read(2));
  const uint16_t mode = uint16_t(in.Read(2));
  if (channels < 1 || channels > 56) return Damaged();
  if (depth != 1 && depth != 8 && depth != 16) return Status::Fail("The Photoshop picture's bit depth is not supported.");
  int colorChannels;
  switch (mode) {
    case kBitmap: colorChannels = 1; break;
    case kGrayscale: case kDuotone: case kIndexed: colorChannels = 1; break;
    case kRgb: colorChannels = 3; break;
    case kCmyk: colorChannels = 4; break;
    default: return Status::Fail("The Photoshop picture's colour mode is not supported.");
  }
  if ((mode == kBitmap) != (depth == 1) || (mode == kIndexed && depth != 8)) return Damaged();
  if (channels < colorChannels) return Damaged();
  if (!AcceptableSize(width, height)) return Status::Fail("The picture is too large.");

  // Colour mode data: the palette of indexed pictures (256 reds, 256 greens, 256 blues).
  if (!in.Has(4)) return Damaged();
  const uint64_t colorDataSize = in.Read(4);
  std::vector<uint8_t> palette;
  if (mode == kIndexed) {
    if (colorDataSize < 768 || !in.Has(768)) return Damaged();
    palette.assign(in.Here(), in.Here() + 768);
  }
  if (!in.Skip(colorDataSize)) return Damaged();
  // Image resources.
  if (!in.Has(4)) return Damaged();
  if (!in.Skip(in.Read(4))) return Damaged();
  // Layers: only the sign of the layer count matters. Negative means the first extra channel
  // of the merged picture holds its transparency.
  const int lengthSize = large ? 8 : 4;
  if (!in.Has(size_t(lengthSize))) return Damaged();
  const uint64_t layerSectionSize = in.Read(lengthSize);
  bool mergedAlpha = false;
  {
    BigEndianReader layers(bytes.substr(in.position()));
    if (layerSectionSize >= uint64_t(lengthSize) + 2 && layers.Has(size_t(lengthSize) + 2)) {
      const uint64_t layerInfoSize = layers.Read(lengthSize);
      if (layerInfoSize >= 2) mergedAlpha = int16_t(layers.Read(2)) < 0;
    }
  }
  if (!in.Skip(layerSectionSize)) return Damaged();

  // Image data: planar channels, rows top to bottom.
  if (!in.Has(2)) return Damaged();
  const uint64_t compression = in.Read(2);
  if (compression > 1) return Status::Fail("The Photoshop picture's compression is not supported.");
  const bool hasAlpha = mergedAlpha && channels > colorChannels && mode != kBitmap;
  const int used = colorChannels + (hasAlpha ? 1 : 0);
  const size_t rowBytes = size_t((width * uint64_t(depth) + 7) / 8);
  const size_t planeBytes = rowBytes * size_t(height);
  // The data must be there before the planes are allocated: a few bytes must not claim
  // hundreds of megabytes.
  std::vector<std::vector<uint8_t>> planes;
  if (compression == 0) {
    if (!in.Has(planeBytes * size_t(used))) return Damaged();
    planes.assign(size_t(used), std::vector<uint8_t>(planeBytes));
    for (int c = 0; c < used; ++c) {
      std::copy(in.Here(), in.Here() + planeBytes, planes[size_t(c)].begin());
      in.Skip(planeBytes);
    }
  } else {
    // Packed byte counts of every row of every channel, then the packed rows.
    const int countSize = large ? 4 : 2;
    const size_t rows = size_t(channels) * size_t(height);
    if (!in.Has(rows * size_t(countSize))) return Damaged();
    std::vector<uint32_t> counts(rows);
    for (auto& count : counts) count = uint32_t(in.Read(countSize));
    // Two packed bytes give at most 128 bytes.
    uint64_t packedTotal = 0;
    for (size_t r = 0; r < size_t(used) * size_t(height); ++r) {
      if (uint64_t(counts[r]) * 64 < rowBytes) return Damaged();
      packedTotal += counts[r];
    }
    if (!in.Has(size_t(packedTotal))) return Damaged();
    planes.assign(size_t(used), std::vector<uint8_t>(planeBytes));
    for (int c = 0; c < used; ++c) {
      for (size_t y = 0; y < height; ++y) {
        const uint32_t packed = counts[size_t(c) * size_t(height) + y];
        if (!in.Has(packed) || !UnpackRow(in.Here(), packed, planes[size_t(c)].data() + y * rowBytes, rowBytes))
          return Damaged();
        in.Skip(packed);
      }
    }
  }

  RgbaImage image{int(width), int(height)};
  for (size_t y = 0; y < height; ++y) {
    for (size_t x = 0; x < width; ++x) {
      uint8_t* px = image.At(int(x), int(y));
      auto sample = [&](int c) -> uint8_t {
        const uint8_t* p = &planes[size_t(c)][y * rowBytes + x * size_t(depth / 8)];
        if (depth == 8) return p[0];
        return uint8_t(((p[0] << 8 | p[1]) * 255 + 32767) / 65535);  // 16-bit, big-endian
      };
      switch (mode) {
        case kBitmap: {
          const bool black = (planes[0][y * rowBytes + x / 8] >> (7 - x % 8)) & 1;
          px[0] = px[1] = px[2] = black ? 0 : 255;
          break;
        }
        case kIndexed: {
          const int index = sample(0);
          px[0] = palette[size_t(index)];
          px[1] = palette[256 + size_t(index)];
          px[2] = palette[512 + size_t(index)];
          break;
        }
        case kRgb:
          px[0] = sample(0);
          px[1] = sample(1);
          px[2] = sample(2);
          break;
        case kCmyk: {
          // Stored inverted: 255 is no ink.
          const int k = sample(3);
          px[0] = uint8_t(sample(0) * k / 255);
          px[1] = uint8_t(sample(1) * k / 255);
          px[2] = uint8_t(sample(2) * k / 255);
          break;
        }
        default:  // greyscale and duotone
          px[0] = px[1] = px[2] = sample(0);
          break;
      }
      if (hasAlpha) {
        // The merged colours are stored laid on white; take the white back out.
        const int alpha = sample(colorChannels);
        px[3] = uint8_t(alpha);
        if (alpha > 0 && alpha < 255)
          for (int ch = 0; ch < 3; ++ch)
            px[ch] = uint8_t(std::clamp((int(px[ch]) - (255 - alpha)) * 255 / alpha, 0, 255));
      } else {
        px[3] = 255;
      }
    }
  }
  return image;
}

}  // namespace bvq::images
