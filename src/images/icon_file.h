#pragma once
// .ico files as pictures: reading, writing, choosing an image, and turning an icon into pixels
// or a bitmap. Each image is a DIB without file header or a PNG file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "images/pixels.h"
#include "resedit/ico_format.h"
#include "util/outcome.h"

namespace bvq::images {

// The .ico layout itself is the resource editor's (it moves icon groups between executables
// and .ico files); here it is read for pictures.
using IconFile = IcoFile;
using IconImage = IcoImage;

// Reads an .ico file held in memory. Fails when the header is not an icon header, there is
// no image, or an image is empty or lies (partly) outside the data.
Outcome<IconFile> ParseIconFile(std::string_view bytes);
Outcome<IconFile> ReadIconFile(const std::string& path);

// Writes the .ico file through a temporary file (never a partial file).
Status WriteIconFile(const std::string& path, const IconFile& icon);

// The bit count of an image: its entry's wBitCount, or, when that is 0 (some tools leave it
// empty), the bit count its own header declares.
int ImageBitCount(const IconImage& image);

// Index of the image `ExtractIconImage` takes: the first whose bWidth equals `width` and whose
// bit count equals `bitCount`; else the image of that width with the greatest non-zero bit
// count (the first of equals); else the first image. The icon must hold an image.
size_t ChooseIconImage(const IconFile& icon, int width, int bitCount);

// `ExtractIconImage`: writes a one-image .ico (header 0, 1, 1; the chosen entry with
// dwImageOffset 22; the image's bytes) to `icoFile`.
Status ExtractIconImage(int width, int bitCount, const IconFile& icon, const std::string& icoFile);
Status ExtractIconImage(int width, int bitCount, const std::string& iconPath, const std::string& icoFile);

// Pixels of one image of an icon (DIB with its mask, or PNG).
Outcome<RgbaImage> DecodeIconImage(const IconImage& image);

// The icon as shown in the main window: the image ExtractIconImage(32, 32) chooses, as pixels.
Outcome<RgbaImage> IconPreview(const std::string& iconPath);

// The image `IconToBitmap` shows: the largest (then the one with most bits per pixel, then
// the first of equals), so that an icon picked as a picture keeps most detail.
size_t LargestIconImage(const IconFile& icon);

// `IconToBitmap`: writes a 24-bit bitmap file of the icon's largest image laid on white.
// On failure no bitmap file is written.
Status IconToBitmap(const std::string& iconFile, const std::string& bitmapFile);

}  // namespace bvq::images
