#include "resedit/ico_format.h"

#include <cstring>

#include "resedit/pe_image.h"

namespace bvq {

using resedit::Rd16;
using resedit::Rd32;
using resedit::Wr16;
using resedit::Wr32;

std::optional<IcoFile> ParseIco(std::string_view bytes) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  if (bytes.size() < 6) return std::nullopt;
  IcoFile ico;
  ico.reserved = Rd16(p);
  ico.type = Rd16(p + 2);
  const uint32_t count = Rd16(p + 4);
  if (6 + 16ull * count > bytes.size()) return std::nullopt;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = p + 6 + 16 * i;
    const uint64_t size = Rd32(e + 8);
    const uint64_t offset = Rd32(e + 12);
    if (offset + size > bytes.size()) return std::nullopt;
    IcoImage image;
    std::memcpy(image.entry, e, 12);
    image.bytes.assign(bytes.substr(offset, size));
    ico.images.push_back(std::move(image));
  }
  return ico;
}

std::string SerializeIco(const IcoFile& ico) {
  std::string out(6 + 16 * ico.images.size(), '\0');
  auto* p = reinterpret_cast<uint8_t*>(out.data());
  Wr16(p, ico.reserved);
  Wr16(p + 2, ico.type);
  Wr16(p + 4, static_cast<uint16_t>(ico.images.size()));
  for (size_t i = 0; i < ico.images.size(); ++i) {
    uint8_t* e = reinterpret_cast<uint8_t*>(out.data()) + 6 + 16 * i;
    std::memcpy(e, ico.images[i].entry, 12);
    Wr32(e + 8, static_cast<uint32_t>(ico.images[i].bytes.size()));
    Wr32(e + 12, static_cast<uint32_t>(out.size()));
    out += ico.images[i].bytes;
  }
  return out;
}

}  // namespace bvq
