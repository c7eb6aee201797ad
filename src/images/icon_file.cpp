#include "images/icon_file.h"

#include "images/bmp.h"
#include "images/byte_reader.h"
#include "images/png_reader.h"
#include "util/files.h"

namespace bvq::images {

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;

int EntryWidth(const IconDirEntry& entry) { return entry.width == 0 ? 256 : entry.width; }
int EntryHeight(const IconDirEntry& entry) { return entry.height == 0 ? 256 : entry.height; }

}  // namespace

Outcome<IconFile> ParseIconFile(std::string_view bytes) {
  const ByteReader in(bytes);
  if (!in.Has(0, kHeaderSize) || in.U16(0) != 0 || in.U16(2) != 1) return Status::Fail("The file is not an icon file.");
  IconFile icon;
  icon.reserved = in.U16(0);
  icon.type = in.U16(2);
  const size_t count = in.U16(4);
  if (count == 0) return Status::Fail("The icon file holds no image.");
  if (!in.Has(kHeaderSize, count * kEntrySize)) return Status::Fail("The icon file is cut short or damaged.");
  icon.images.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const size_t at = kHeaderSize + i * kEntrySize;
    IconImage image;
    IconDirEntry& e = image.entry;
    e.width = in.U8(at);
    e.height = in.U8(at + 1);
    e.colorCount = in.U8(at + 2);
    e.reserved = in.U8(at + 3);
    e.planes = in.U16(at + 4);
    e.bitCount = in.U16(at + 6);
    e.bytesInRes = in.U32(at + 8);
    e.imageOffset = in.U32(at + 12);
    if (e.bytesInRes == 0 || !in.Has(e.imageOffset, e.bytesInRes))
      return Status::Fail("The icon file is cut short or damaged.");
    image.data = std::string(in.Slice(e.imageOffset, e.bytesInRes));
    icon.images.push_back(std::move(image));
  }
  return icon;
}

Outcome<IconFile> ReadIconFile(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return Status::Fail("Cannot read " + path + ".");
  auto icon = ParseIconFile(*bytes);
  if (!icon) return Status::Fail(path + ": " + icon.error());
  return icon;
}

std::string EncodeIconFile(const IconFile& icon) {
  std::string out;
  PutU16(out, icon.reserved);
  PutU16(out, icon.type);
  PutU16(out, uint16_t(icon.images.size()));
  uint32_t offset = uint32_t(kHeaderSize + kEntrySize * icon.images.size());
  for (const IconImage& image : icon.images) {
    const IconDirEntry& e = image.entry;
    out.push_back(char(e.width));
    out.push_back(char(e.height));
    out.push_back(char(e.colorCount));
    out.push_back(char(e.reserved));
    PutU16(out, e.planes);
    PutU16(out, e.bitCount);
    PutU32(out, uint32_t(image.data.size()));
    PutU32(out, offset);
    offset += uint32_t(image.data.size());
  }
  for (const IconImage& image : icon.images) out += image.data;
  return out;
}

Status WriteIconFile(const std::string& path, const IconFile& icon) {
  if (icon.images.empty()) return Status::Fail("There is no icon image to write.");
  std::string error;
  if (!WriteFileAtomic(path, EncodeIconFile(icon), &error)) return Status::Fail("Cannot write " + path + ": " + error);
  return Status::Ok();
}

int ImageBitCount(const IconImage& image) {
  if (image.entry.bitCount != 0) return image.entry.bitCount;
  const ByteReader in(image.data);
  if (IsPngData(image.data)) {
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
    if (icon.images[i].entry.width == width && ImageBitCount(icon.images[i]) == bitCount) return i;
  size_t best = 0;
  int bestBits = 0;
  for (size_t i = 0; i < icon.images.size(); ++i) {
    const int bits = ImageBitCount(icon.images[i]);
    if (icon.images[i].entry.width == width && bits > bestBits) {
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
  if (IsPngData(image.data)) return DecodePng(image.data);
  return DecodeIconDib(image.data);
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
    const IconDirEntry& a = icon.images[i].entry;
    const IconDirEntry& b = icon.images[best].entry;
    const int areaA = EntryWidth(a) * EntryHeight(a), areaB = EntryWidth(b) * EntryHeight(b);
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
