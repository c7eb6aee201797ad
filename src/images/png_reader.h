#pragma once
// PNG pictures (header and logo pictures, PNG images inside icons).
#include <string_view>

#include "images/pixels.h"
#include "util/outcome.h"

namespace bvq::images {

// Decodes a PNG file held in memory into RGBA. Damaged or truncated data, and pictures
// larger than the decoders accept, give a failure.
Outcome<RgbaImage> DecodePng(std::string_view bytes);

// Whether the bytes start with the PNG signature.
bool IsPngData(std::string_view bytes);

}  // namespace bvq::images
