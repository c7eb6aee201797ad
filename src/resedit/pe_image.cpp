#include "resedit/pe_image.h"

namespace bvq::resedit {

namespace {

bool IsPowerOfTwo(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

}  // namespace

PeCheck ReadPeLayout(const uint8_t* view, size_t size, PeLayout& layout) {
  layout = PeLayout{};
  if (size < 0x40 || Rd16(view) != 0x5A4D) return PeCheck::NotPe32;
  const uint64_t peOffset = Rd32(view + 0x3C);
  if (peOffset + 4 + pe::kFileHeaderSize > size || Rd32(view + peOffset) != 0x00004550) return PeCheck::NotPe32;
  const uint64_t fileHeader = peOffset + 4;
  const uint64_t optHeader = fileHeader + pe::kFileHeaderSize;
  const uint32_t optSize = Rd16(view + fileHeader + pe::kFhSizeOfOptionalHeader);
  if (optSize < pe::kOptDataDirectories || optHeader + optSize > size) return PeCheck::NotPe32;
  if (Rd16(view + optHeader + pe::kOptMagic) != pe::kMagicPe32) return PeCheck::NotPe32;

  layout.fileHeader = static_cast<uint32_t>(fileHeader);
  layout.optHeader = static_cast<uint32_t>(optHeader);
  const uint32_t declaredDirs = Rd32(view + optHeader + pe::kOptNumberOfRvaAndSizes);
  layout.numDirectories = declaredDirs < 16 ? declaredDirs : 16;
  if (pe::kOptDataDirectories + 8ull * layout.numDirectories > optSize) return PeCheck::NotPe32;
  layout.fileAlignment = Rd32(view + optHeader + pe::kOptFileAlignment);
  layout.sectionAlignment = Rd32(view + optHeader + pe::kOptSectionAlignment);
  if (!IsPowerOfTwo(layout.fileAlignment) || !IsPowerOfTwo(layout.sectionAlignment) ||
      layout.fileAlignment > (1u << 28) || layout.sectionAlignment > (1u << 28))
    return PeCheck::NotPe32;

  layout.numSections = Rd16(view + fileHeader + pe::kFhNumberOfSections);
  const uint64_t sectionTable = optHeader + optSize;
  const uint64_t tableEnd = sectionTable + uint64_t{pe::kSectionHeaderSize} * layout.numSections;
  if (tableEnd > size) return PeCheck::NotPe32;
  layout.sectionTable = static_cast<uint32_t>(sectionTable);

  // A truncated file: some section's raw data does not fit.
  for (uint32_t i = 0; i < layout.numSections; ++i) {
    const uint8_t* s = view + layout.Section(i);
    const uint64_t raw = Rd32(s + pe::kSecSizeOfRawData);
    if (raw != 0 && uint64_t{Rd32(s + pe::kSecPointerToRawData)} + raw > size) return PeCheck::NotPe32;
  }

  if (layout.numDirectories <= pe::kDirResource) return PeCheck::NoResources;
  const uint32_t rsrcVa = Rd32(view + layout.Directory(pe::kDirResource));
  if (rsrcVa == 0) return PeCheck::NoResources;
  for (uint32_t i = 0; i < layout.numSections; ++i) {
    if (Rd32(view + layout.Section(i) + pe::kSecVirtualAddress) == rsrcVa) {
      layout.resourceSection = static_cast<int>(i);
      break;
    }
  }
  if (layout.resourceSection < 0) return PeCheck::NoResources;

  // The rebuilt section is written over the old one's raw data: that must not be the headers
  // or another section's data.
  const uint8_t* rs = view + layout.Section(static_cast<uint32_t>(layout.resourceSection));
  const uint64_t rsStart = Rd32(rs + pe::kSecPointerToRawData);
  const uint64_t rsEnd = rsStart + Rd32(rs + pe::kSecSizeOfRawData);
  if (rsStart < tableEnd || rsEnd > size) return PeCheck::NotPe32;
  for (uint32_t i = 0; i < layout.numSections; ++i) {
    if (static_cast<int>(i) == layout.resourceSection) continue;
    const uint8_t* s = view + layout.Section(i);
    const uint64_t start = Rd32(s + pe::kSecPointerToRawData);
    const uint64_t end = start + Rd32(s + pe::kSecSizeOfRawData);
    if (end > start && start < rsEnd && rsStart < end) return PeCheck::NotPe32;
  }
  return PeCheck::Ok;
}

uint32_t PeChecksum(const uint8_t* view, size_t size, uint32_t checkSumOffset) {
  uint64_t sum = 0;
  for (size_t i = 0; i < size; i += 2) {
    uint32_t word = view[i];
    if (i + 1 < size) word |= static_cast<uint32_t>(view[i + 1]) << 8;
    // The CheckSum field counts as zero, whatever its alignment.
    if (i + 1 >= checkSumOffset && i < uint64_t{checkSumOffset} + 4) {
      for (size_t b = i; b < i + 2; ++b) {
        if (b >= checkSumOffset && b < uint64_t{checkSumOffset} + 4) word &= (b == i) ? 0xFF00u : 0x00FFu;
      }
    }
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + size);
}

}  // namespace bvq::resedit
