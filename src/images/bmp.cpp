#include "images/bmp.h"

#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "images/byte_reader.h"
#include "util/files.h"

namespace bvq::images {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

// One colour channel described by a bit mask (bit-field bitmaps).
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;  // the largest value of the field

  explicit Channel(uint32_t m = 0) : mask(m) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    max = mask >> shift;
  }
  uint8_t Scale(uint32_t pixel) const {
    if (mask == 0) return 0;
    const uint64_t value = (pixel & mask) >> shift;
    return uint8_t((value * 255 + max / 2) / max);
  }
};

// The fields of the info header that decoding needs.
struct DibHeader {
  uint32_t headerSize = 0;
  int64_t width = 0;
  int64_t height = 0;  // absolute
  bool topDown = false;
  uint16_t bitCount = 0;
  uint32_t compression = kBiRgb;
  uint32_t colorsUsed = 0;
  Channel red, green, blue, alpha;
  bool hasMasks = false;
  size_t paletteOffset = 0;  // from the start of the info header
  size_t paletteEntrySize = 4;
};

Status CutShort() { return Status::Fail("The picture file is cut short or damaged."); }

// Reads the info header at the start of `dib` (a core header of 12 bytes or an info header of
// 40 bytes or more). `dibBytes` are the info header and what follows it.
Outcome<DibHeader> ReadDibHeader(const ByteReader& dib) {
  DibHeader h;
  if (!dib.Has(0, 4)) return CutShort();
  h.headerSize = dib.U32(0);
  if (h.headerSize == 12) {
    if (!dib.Has(0, 12)) return CutShort();
    h.width = dib.U16(4);
    h.height = dib.U16(6);
    h.bitCount = dib.U16(10);
    h.paletteEntrySize = 3;
  } else if (h.headerSize >= 40 && h.headerSize <= 1024) {
    if (!dib.Has(0, h.headerSize)) return CutShort();
    h.width = dib.I32(4);
    const int32_t height = dib.I32(8);
    h.topDown = height < 0;
    h.height = height < 0 ? -int64_t(height) : int64_t(height);
    h.bitCount = dib.U16(14);
    h.compression = dib.U32(16);
    h.colorsUsed = dib.U32(32);
  } else {
    return Status::Fail("The bitmap header is not one this program reads.");
  }
  h.paletteOffset = h.headerSize;
  if (h.width <= 0 || h.height <= 0) return Status::Fail("The bitmap has no pixels.");

  switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return Status::Fail("The bitmap's number of bits per pixel is not supported.");
  }
  if (h.compression == kBiRle8 && h.bitCount != 8) return Status::Fail("The bitmap's compression is not valid.");
  if (h.compression == kBiRle4 && h.bitCount != 4) return Status::Fail("The bitmap's compression is not valid.");
  if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
    if (h.bitCount != 16 && h.bitCount != 32) return Status::Fail("The bitmap's compression is not valid.");
    // The masks follow a 40-byte header; larger headers hold them.
    const size_t maskCount = h.compression == kBiAlphaBitfields ? 4 : 3;
    size_t at = 40;
    if (h.headerSize == 40) {
      if (!dib.Has(at, maskCount * 4)) return CutShort();
      h.paletteOffset += maskCount * 4;
    }
    h.red = Channel(dib.U32(at));
    h.green = Channel(dib.U32(at + 4));
    h.blue = Channel(dib.U32(at + 8));
    if (maskCount == 4 || h.headerSize >= 56) h.alpha = Channel(dib.U32(at + 12));
    h.hasMasks = true;
  } else if (h.compression != kBiRgb && h.compression != kBiRle8 && h.compression != kBiRle4) {
    return Status::Fail("The bitmap's compression is not supported.");
  }
  if (!h.hasMasks && h.bitCount == 16) {
    h.red = Channel(0x7C00);
    h.green = Channel(0x03E0);
    h.blue = Channel(0x001F);
  }
  return h;
}

// The palette as RGBA (opaque); missing entries are black.
Outcome<std::vector<std::array<uint8_t, 4>>> ReadPalette(const ByteReader& dib, DibHeader& h) {
  std::vector<std::array<uint8_t, 4>> palette;
  if (h.bitCount > 8) {
    // A palette may still be present (as a hint for displays); it is skipped.
    h.paletteOffset += size_t(std::min<uint32_t>(h.colorsUsed, 256)) * h.paletteEntrySize;
    return palette;
  }
  const size_t full = size_t(1) << h.bitCount;
  size_t count = h.colorsUsed == 0 ? full : std::min<size_t>(h.colorsUsed, full);
  if (h.headerSize == 12) count = full;
  if (!dib.Has(h.paletteOffset, count * h.paletteEntrySize)) return CutShort();
  palette.assign(full, {0, 0, 0, 255});
  for (size_t i = 0; i < count; ++i) {
    const size_t at = h.paletteOffset + i * h.paletteEntrySize;
    palette[i] = {dib.U8(at + 2), dib.U8(at + 1), dib.U8(at), 255};
  }
  h.paletteOffset += count * h.paletteEntrySize;
  return palette;
}

size_t RowStride(int64_t width, int bitCount) { return size_t((width * bitCount + 31) / 32) * 4; }

// Uncompressed colour bits starting at `bits` (row order as the header says).
Status DecodeRows(const ByteReader& data, size_t bits, const DibHeader& h,
                  const std::vector<std::array<uint8_t, 4>>& palette, RgbaImage& image) {
  const size_t stride = RowStride(h.width, h.bitCount);
  if (!data.Has(bits, stride * size_t(h.height))) return CutShort();
  const bool useAlpha = h.alpha.mask != 0;
  for (int64_t row = 0; row < h.height; ++row) {
    const int y = int(h.topDown ? row : h.height - 1 - row);
    const uint8_t* src = data.Data(bits + size_t(row) * stride);
    for (int x = 0; x < image.width; ++x) {
      uint8_t* px = image.At(x, y);
      switch (h.bitCount) {
        case 1: case 4: case 8: {
          const int perByte = 8 / h.bitCount;
          const int shift = 8 - h.bitCount * (x % perByte + 1);
          const int index = (src[x / perByte] >> shift) & ((1 << h.bitCount) - 1);
          std::memcpy(px, palette[size_t(index)].data(), 4);
          break;
        }
        case 16: case 32: {
          uint32_t value;
          if (h.bitCount == 16) {
            value = uint32_t(src[x * 2] | src[x * 2 + 1] << 8);
          } else {
            value = uint32_t(src[x * 4]) | uint32_t(src[x * 4 + 1]) << 8 | uint32_t(src[x * 4 + 2]) << 16 |
                    uint32_t(src[x * 4 + 3]) << 24;
          }
          if (h.bitCount == 32 && !h.hasMasks) {
            px[0] = uint8_t(value >> 16);
            px[1] = uint8_t(value >> 8);
            px[2] = uint8_t(value);
            px[3] = uint8_t(value >> 24);
          } else {
            px[0] = h.red.Scale(value);
            px[1] = h.green.Scale(value);
            px[2] = h.blue.Scale(value);
            px[3] = useAlpha ? h.alpha.Scale(value) : 255;
          }
          break;
        }
        case 24:
          px[0] = src[x * 3 + 2];
          px[1] = src[x * 3 + 1];
          px[2] = src[x * 3];
          px[3] = 255;
          break;
      }
    }
  }
  return Status::Ok();
}

// Run-length encoded colour bits (RLE8 or RLE4), always bottom-up. Pixels the data skips
// keep palette colour 0.
Status DecodeRle(const ByteReader& data, size_t bits, const DibHeader& h,
                 const std::vector<std::array<uint8_t, 4>>& palette, RgbaImage& image) {
  if (h.topDown) return Status::Fail("The bitmap's compression is not valid.");
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) std::memcpy(image.At(x, y), palette[0].data(), 4);
  const bool four = h.compression == kBiRle4;
  int64_t x = 0, row = 0;  // row counts from the bottom
  size_t at = bits;
  auto put = [&](int index) {
    if (x < h.width && row < h.height) std::memcpy(image.At(int(x), int(h.height - 1 - row)), palette[size_t(index)].data(), 4);
    ++x;
  };
  while (row < h.height) {
    if (!data.Has(at, 2)) return CutShort();
    const uint8_t count = data.U8(at), value = data.U8(at + 1);
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      if (!data.Has(at, 2)) return CutShort();
      x += data.U8(at);
      row += data.U8(at + 1);
      at += 2;
    } else {  // `value` literal pixels, padded to a 16-bit boundary
      const size_t bytes = four ? (value + 1) / 2 : value;
      if (!data.Has(at, bytes)) return CutShort();
      for (int i = 0; i < value; ++i) {
        const uint8_t b = data.U8(at + (four ? size_t(i / 2) : size_t(i)));
        put(four ? (i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
      }
      at += (bytes + 1) & ~size_t(1);
    }
  }
  return Status::Ok();
}

// Decodes the colour bits of a DIB whose header (at `header` in `data`) is already read.
Outcome<RgbaImage> DecodePixels(const ByteReader& data, size_t bits, const DibHeader& h,
                                const std::vector<std::array<uint8_t, 4>>& palette) {
  if (!AcceptableSize(uint64_t(h.width), uint64_t(h.height))) return Status::Fail("The picture is too large.");
  RgbaImage image(int(h.width), int(h.height));
  const Status status = (h.compression == kBiRle8 || h.compression == kBiRle4)
                            ? DecodeRle(data, bits, h, palette, image)
                            : DecodeRows(data, bits, h, palette, image);
  if (!status) return status;
  return image;
}

bool AllAlphaZero(const RgbaImage& image) {
  for (size_t i = 3; i < image.pixels.size(); i += 4)
    if (image.pixels[i] != 0) return false;
  return true;
}

void MakeOpaque(RgbaImage& image) {
  for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
}

}  // namespace

Outcome<RgbaImage> DecodeBmp(std::string_view bytes) {
  const ByteReader file(bytes);
  if (!file.Has(0, 2) || bytes[0] != 'B' || bytes[1] != 'M') return Status::Fail("The file is not a bitmap.");
  if (!file.Has(0, kFileHeaderSize)) return CutShort();
  const uint32_t bitsOffset = file.U32(10);
  const ByteReader dib(bytes.substr(kFileHeaderSize));
  auto header = ReadDibHeader(dib);
  if (!header) return header.status();
  DibHeader h = *header;
  auto palette = ReadPalette(dib, h);
  if (!palette) return palette.status();
  // The file header says where the bits start; 0 (written by some tools) means right after
  // the palette.
  const size_t bits = bitsOffset != 0 ? size_t(bitsOffset) : kFileHeaderSize + h.paletteOffset;
  if (bits > bytes.size()) return CutShort();
  auto image = DecodePixels(file, bits, h, *palette);
  if (!image) return image;
  // Most 32-bit files leave the fourth byte zero: then it is padding, not transparency.
  if (h.bitCount == 32 && AllAlphaZero(*image)) MakeOpaque(*image);
  return image;
}

Outcome<RgbaImage> DecodeIconDib(std::string_view bytes) {
  const ByteReader dib(bytes);
  auto header = ReadDibHeader(dib);
  if (!header) return header.status();
  DibHeader h = *header;
  if (h.topDown || h.compression == kBiRle4 || h.compression == kBiRle8)
    return Status::Fail("The icon image is not valid.");
  // The height covers the colour bits and the mask.
  h.height /= 2;
  if (h.height <= 0) return Status::Fail("The icon image has no pixels.");
  auto palette = ReadPalette(dib, h);
  if (!palette) return palette.status();
  const size_t bits = h.paletteOffset;
  auto image = DecodePixels(dib, bits, h, *palette);
  if (!image) return image;

  const bool alphaUsable = h.bitCount == 32 && !AllAlphaZero(*image);
  const size_t maskAt = bits + RowStride(h.width, h.bitCount) * size_t(h.height);
  const size_t maskStride = RowStride(h.width, 1);
  if (!dib.Has(maskAt, maskStride * size_t(h.height))) {
    // Images with a real alpha channel do not need the mask; others cannot be drawn without it.
    if (alphaUsable) return image;
    return CutShort();
  }
  if (alphaUsable) return image;
  for (int64_t row = 0; row < h.height; ++row) {
    const int y = int(h.height - 1 - row);
    const uint8_t* mask = dib.Data(maskAt + size_t(row) * maskStride);
    for (int x = 0; x < image->width; ++x) {
      const bool transparent = (mask[x / 8] >> (7 - x % 8)) & 1;
      image->At(x, y)[3] = transparent ? 0 : 255;
    }
  }
  return image;
}

std::string EncodeBmp24(const RgbImage& image) {
  const size_t stride = RowStride(image.width, 24);
  const size_t imageSize = stride * size_t(image.height);
  const uint32_t offset = uint32_t(kFileHeaderSize + 40);
  std::string out;
  out.reserve(offset + imageSize);
  out += "BM";
  PutU32(out, uint32_t(offset + imageSize));
  PutU32(out, 0);
  PutU32(out, offset);
  PutU32(out, 40);
  PutU32(out, uint32_t(image.width));
  PutU32(out, uint32_t(image.height));  // positive: bottom-up rows
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, kBiRgb);
  PutU32(out, uint32_t(imageSize));
  PutU32(out, 3780);  // 96 dots per inch
  PutU32(out, 3780);
  PutU32(out, 0);
  PutU32(out, 0);
  std::string row(stride, '\0');
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* px = image.At(x, y);
      row[size_t(x) * 3] = char(px[2]);
      row[size_t(x) * 3 + 1] = char(px[1]);
      row[size_t(x) * 3 + 2] = char(px[0]);
    }
    out += row;
  }
  return out;
}

Status WriteBmp24(const std::string& path, const RgbImage& image) {
  if (image.width <= 0 || image.height <= 0) return Status::Fail("There is no picture to write.");
  if (Status written = WriteFileAtomic(path, EncodeBmp24(image)); !written)
    return Status::Fail("Cannot write " + path + ": " + written.error);
  return Status::Ok();
}

Status WriteBmp24(const std::string& path, const RgbaImage& image, uint32_t background) {
  return WriteBmp24(path, FlattenOnto(image, background));
}

}  // namespace bvq::images
