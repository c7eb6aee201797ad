#pragma once
// Photoshop pictures (.psd, .pdd and the large-document form): the merged picture that the
// file stores after its layers. Layers themselves are not read.
#include <string_view>

#include "images/pixels.h"
#include "util/outcome.h"

namespace bvq::images {

// Decodes the merged picture of a Photoshop file held in memory: bitmap, greyscale, duotone
// (as grey), indexed, RGB and CMYK modes at 1, 8 or 16 bits per channel, raw or run-length
// compressed. When the file says so, the first extra channel is the transparency. Other modes,
// damaged or truncated data give a failure.
Outcome<RgbaImage> DecodePsd(std::string_view bytes);

}  // namespace bvq::images
