#pragma once
// Any picture the program accepts, decoded by content: BMP, PNG, JPEG, Photoshop and icons by
// our own readers, GIF and TIFF by the image library.
#include <string>
#include <string_view>

#include "images/pixels.h"
#include "util/outcome.h"

namespace bvq::images {

// Pixels of a picture file held in memory (an icon gives its largest image).
Outcome<RgbaImage> DecodePicture(std::string_view bytes);
// The same for a file on disk (a native path).
Outcome<RgbaImage> LoadPicture(const std::string& path);

// `ImageToBitmap`: writes a 24-bit bitmap file showing the picture (transparent parts on
// white). On failure no bitmap file is written.
Status ImageToBitmap(const std::string& imageFile, const std::string& bitmapFile);

}  // namespace bvq::images
