#pragma once
// JPEG pictures, decoded by the program itself (not by the general image library).
#include <string>
#include <string_view>

#include "images/pixels.h"
#include "util/outcome.h"

namespace bvq::images {

// Decodes a JPEG file held in memory at full quality (accurate DCT, smooth upsampling).
// Greyscale and CMYK pictures become RGB. Damaged or truncated data gives a failure.
Outcome<RgbImage> DecodeJpeg(std::string_view bytes);

// Whether the bytes start like a JPEG file (SOI marker followed by another marker).
bool IsJpegData(std::string_view bytes);

// `JpegToBitmap`: decodes the JPEG file and saves the picture as a 24-bit bitmap file. On
// failure no bitmap file is written.
Status JpegToBitmap(const std::string& jpegFile, const std::string& bitmapFile);

}  // namespace bvq::images
