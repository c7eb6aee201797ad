#include "images/picture_format.h"

#include "images/jpeg_reader.h"
#include "images/png_reader.h"

namespace bvq::images {

PictureFormat SniffPictureFormat(std::string_view bytes) {
  auto starts = [&](std::string_view magic) { return bytes.substr(0, magic.size()) == magic; };
  if (IsPngData(bytes)) return PictureFormat::Png;
  if (IsJpegData(bytes)) return PictureFormat::Jpeg;
  if (starts("BM")) return PictureFormat::Bmp;
  if (starts("GIF87a") || starts("GIF89a")) return PictureFormat::Gif;
  if (starts(std::string_view("II*\0", 4)) || starts(std::string_view("MM\0*", 4))) return PictureFormat::Tiff;
  if (starts("8BPS")) return PictureFormat::Psd;
  if (starts(std::string_view("\0\0\1\0", 4))) return PictureFormat::Ico;
  return PictureFormat::Unknown;
}

}  // namespace bvq::images
