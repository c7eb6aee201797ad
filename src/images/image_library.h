#pragma once
// The general image library behind `ImageToBitmap` (GIF and TIFF pictures). Nothing else in
// the program talks to it.
#include <string_view>

#include "images/picture_format.h"
#include "images/pixels.h"
#include "util/outcome.h"

namespace bvq::images {

// Decodes a GIF (first frame) or TIFF (first page) file held in memory. Other formats are refused. Damaged or truncated data gives a failure.
Outcome<RgbaImage> DecodeWithLibrary(std::string_view bytes, PictureFormat format);

}  // namespace bvq::images
