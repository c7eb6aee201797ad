#pragma once
// The .ico file layout: a 6-byte header (idReserved, idType, idCount), 16-byte entries
// (bWidth, bHeight, bColorCount, bReserved, wPlanes, wBitCount, dwBytesInRes, dwImageOffset)
// and the images. An icon group resource uses the same header with 14-byte entries whose
// last field is the RT_ICON id instead of the offset.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bvq {

struct IcoImage {
  uint8_t entry[12] = {};  // bWidth .. dwBytesInRes as stored
  std::string bytes;       // the image (BMP-style DIB or PNG)

  int Width() const { return entry[0] ? entry[0] : 256; }
  int Height() const { return entry[1] ? entry[1] : 256; }
  int BitCount() const { return entry[6] | (entry[7] << 8); }
};

struct IcoFile {
  uint16_t reserved = 0;
  uint16_t type = 1;
  std::vector<IcoImage> images;
};

// Parses an .ico file; nullopt when the header, an entry or an image lies outside the bytes.
std::optional<IcoFile> ParseIco(std::string_view bytes);
// The .ico file of the images, each entry's dwBytesInRes set to its image's size.
std::string SerializeIco(const IcoFile& ico);

}  // namespace bvq
