#include "images/pictures.h"

#include "images/bmp.h"
#include "images/icon_file.h"
#include "images/image_library.h"
#include "images/jpeg_reader.h"
#include "images/picture_format.h"
#include "images/png_reader.h"
#include "images/psd_reader.h"
#include "util/files.h"

namespace bvq::images {

namespace {

RgbaImage ToRgba(const RgbImage& image) {
  RgbaImage out(image.width, image.height);
  const size_t count = size_t(image.width) * size_t(image.height);
  for (size_t i = 0; i < count; ++i) {
    out.pixels[i * 4] = image.pixels[i * 3];
    out.pixels[i * 4 + 1] = image.pixels[i * 3 + 1];
    out.pixels[i * 4 + 2] = image.pixels[i * 3 + 2];
    out.pixels[i * 4 + 3] = 255;
  }
  return out;
}

}  // namespace

Outcome<RgbaImage> DecodePicture(std::string_view bytes) {
  const PictureFormat format = SniffPictureFormat(bytes);
  switch (format) {
    case PictureFormat::Bmp: return DecodeBmp(bytes);
    case PictureFormat::Png: return DecodePng(bytes);
    case PictureFormat::Jpeg: {
      auto rgb = DecodeJpeg(bytes);
      if (!rgb) return rgb.status();
      return ToRgba(*rgb);
    }
    case PictureFormat::Ico: {
      auto icon = ParseIconFile(bytes);
      if (!icon) return icon.status();
      return DecodeIconImage(icon->images[LargestIconImage(*icon)]);
    }
    case PictureFormat::Psd: return DecodePsd(bytes);
    case PictureFormat::Gif:
    case PictureFormat::Tiff:
      return DecodeWithLibrary(bytes, format);
    case PictureFormat::Unknown:
      break;
  }
  if (bytes.empty()) return Status::Fail("The picture file is empty.");
  return Status::Fail("The file is not a picture in a format this program reads.");
}

Outcome<RgbaImage> LoadPicture(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return Status::Fail("Cannot read " + path + ".");
  auto image = DecodePicture(*bytes);
  if (!image) return Status::Fail(path + ": " + image.error());
  return image;
}

Status ImageToBitmap(const std::string& imageFile, const std::string& bitmapFile) {
  auto image = LoadPicture(imageFile);
  if (!image) return image.status();
  return WriteBmp24(bitmapFile, *image);
}

}  // namespace bvq::images
