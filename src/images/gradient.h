#pragma once
// Two-colour linear gradients (wizard preview background and header, side menu).
#include <cstddef>
#include <cstdint>

#include "images/pixels.h"

namespace bvq::images {

// Fills width x height RGB pixels (3 bytes each; rows `stride` bytes apart, top to bottom)
// with a gradient from `first` to `second` (Windows colours 0x00BBGGRR): top to bottom when
// `vertical`, left to right otherwise. The first row (column) has exactly the first colour and
// the last one exactly the second. Nothing is drawn when width or height is not positive.
void CreateGradient(uint8_t* rgb, int width, int height, ptrdiff_t stride, bool vertical, uint32_t first,
                    uint32_t second);

// The same into a new picture (empty when width or height is not positive).
RgbImage CreateGradient(int width, int height, bool vertical, uint32_t first, uint32_t second);

}  // namespace bvq::images
