#pragma once
// Windows bitmaps: reading .bmp files and the device-independent bitmaps inside icons, and
// writing 24-bit .bmp files.
#include <string>
#include <string_view>

#include "images/pixels.h"
#include "util/outcome.h"

namespace bvq::images {

// A .bmp file (file header, then any of the usual info headers): 1, 4, 8, 16, 24 and 32 bits
// per pixel, uncompressed, run-length (RLE4/RLE8) or bit fields; top-down or bottom-up.
Outcome<RgbaImage> DecodeBmp(std::string_view bytes);

// An icon or cursor image in DIB form: info header, palette, colour bits (its height counts
// twice), then the 1-bit AND mask whose set bits are transparent. 32-bit images use their
// alpha channel unless it is entirely zero.
Outcome<RgbaImage> DecodeIconDib(std::string_view bytes);

// The bytes of a 24-bit bottom-up .bmp file of the picture.
std::string EncodeBmp24(const RgbImage& image);

// Writes the picture as a 24-bit .bmp file (alpha laid on `background`) through a temporary
// file, so that a failure leaves no file behind and never a partial one.
Status WriteBmp24(const std::string& path, const RgbImage& image);
Status WriteBmp24(const std::string& path, const RgbaImage& image, uint32_t background = kWhite);

}  // namespace bvq::images
