#include "images/icon_file.h"

#include "images/bmp.h"
#include "images/byte_reader.h"
#include "images/png_reader.h"
#include "util/files.h"

namespace bvq::images {

Outcome<IconFile> ParseIconFile(std::string_view bytes) {
  const ByteReader in(bytes);
  if (!in.Has(0, 6) || in.U16(0) != 0 || in.U16(2) != 1) return Status::Fail("The file is not an icon file.");
  if (in.U16(4) == 0) return Status::Fail("The icon file holds no image.");
  std::optional<IcoFile> icon = ParseIco(bytes);
  if (!icon) return Status::Fail("The icon file is cut short or damaged.");
  for (const IcoImage& image : icon->images)
    if (image.bytes.empty()) return Status::Fail("The icon file is cut short or damaged.");
  return std::move(*icon);
}

Outcome<IconFile> ReadIconFile(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return Status::Fail("Cannot read " + path + ".");
  auto icon = ParseIconFile(*bytes);
  if (!icon) return Status::Fail(path + ": " + icon.error());
  return icon;
}

Status WriteIconFile(const std::string& path, const IconFile& icon) {
  if (icon.images.empty()) return Status::Fail("There is no icon image to write.");
  if (Status written = WriteFileAtomic(path, SerializeIco(icon)); !written)
    return Status::Fail("Cannot write " + path + ": " + written.error);
  return Status::Ok();
}

int ImageBitCount(const IconImage& image) {
  if (image.BitCount() != 0) return image.BitCount();
  const ByteReader in(image.bytes);
  if (IsPngData(image.bytes)) {
    // IHDR: bit depth at 24, colour type at 25.
    if (!in.Has(0, 26)) return 0;
    static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
    const int depth = in.U8(24), colorType = in.U8(25);
    return colorType <= 6 ? depth * kChannels[colorType] : 0;
  }
  const uint32_t headerSize = in.U32(0);
  if (headerSize == 12) return in.U16(10);
  if (headerSize >= 40) return in.U16(14);
  return 0;
}

size_t ChooseIconImage(const IconFile& icon, int width, int bitCount) {
  for (size_t i = 0; i < icon.images.size(); ++i)
    if (icon.images[i].entry[0] == width && ImageBitCount(icon.images[i]) == bitCount) return i;
  size_t best = 0;
  int bestBits = 0;
  for (size_t i = 0; i < icon.images.size(); ++i) {
    const int bits = ImageBitCount(icon.images[i]);
    if (icon.images[i].entry[0] == width && bits > bestBits) {
      best = i;
      bestBits = bits;
    }
  }
  return bestBits > 0 ? best : 0;
}

Status ExtractIconImage(int width, int bitCount, const IconFile& icon, const std::string& icoFile) {
  if (icon.images.empty()) return Status::Fail("The icon holds no image.");
  IconFile single;
  single.images.push_back(icon.images[ChooseIconImage(icon, width, bitCount)]);
  return WriteIconFile(icoFile, single);
}

Status ExtractIconImage(int width, int bitCount, const std::string& iconPath, const std::string& icoFile) {
  auto icon = ReadIconFile(iconPath);
  if (!icon) return icon.status();
  return ExtractIconImage(width, bitCount, *icon, icoFile);
}

Outcome<RgbaImage> DecodeIconImage(const IconImage& image) {
  if (IsPngData(image.bytes)) return DecodePng(image.bytes);
  return DecodeIconDib(image.bytes);
}

Outcome<RgbaImage> IconPreview(const std::string& iconPath) {
  auto icon = ReadIconFile(iconPath);
  if (!icon) return icon.status();
  auto pixels = DecodeIconImage(icon->images[ChooseIconImage(*icon, 32, 32)]);
  if (!pixels) return Status::Fail(iconPath + ": " + pixels.error());
  return pixels;
}

size_t LargestIconImage(const IconFile& icon) {
  size_t best = 0;
  for (size_t i = 1; i < icon.images.size(); ++i) {
    const IconImage& a = icon.images[i];
    const IconImage& b = icon.images[best];
    const int areaA = a.Width() * a.Height(), areaB = b.Width() * b.Height();
    if (areaA > areaB || (areaA == areaB && ImageBitCount(icon.images[i]) > ImageBitCount(icon.images[best])))
      best = i;
  }
  return best;
}

Status IconToBitmap(const std::string& iconFile, const std::string& bitmapFile) {
  auto icon = ReadIconFile(iconFile);
  if (!icon) return icon.status();
  auto pixels = DecodeIconImage(icon->images[LargestIconImage(*icon)]);
  if (!pixels) return Status::Fail(iconFile + ": " + pixels.error());
  return WriteBmp24(bitmapFile, *pixels);
}

}  // namespace bvq::images
