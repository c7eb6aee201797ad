#pragma once
// Recognising a picture file by its first bytes (never by its name), so that each file goes to
// the decoder that understands it and nothing else reaches the general image library.
#include <string_view>

namespace bvq::images {

enum class PictureFormat { Unknown, Bmp, Png, Jpeg, Gif, Tiff, Psd, Ico };

PictureFormat SniffPictureFormat(std::string_view bytes);

}  // namespace bvq::images
