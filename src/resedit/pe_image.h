#pragma once
// Reading the headers of a 32-bit PE file held in memory: where the headers, the section
// table and the data directories are, with every offset checked against the file's size.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace bvq::resedit {

inline uint16_t Rd16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Rd32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline void Wr16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Wr32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint64_t AlignUp(uint64_t x, uint32_t n) { return (x + n - 1) / n * n; }

// Offsets of header fields used here.
namespace pe {
constexpr uint32_t kFileHeaderSize = 20;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kOptMagic = 0, kOptSizeOfInitializedData = 8, kOptSectionAlignment = 32,
                   kOptFileAlignment = 36, kOptSizeOfImage = 56, kOptCheckSum = 64, kOptNumberOfRvaAndSizes = 92,
                   kOptDataDirectories = 96;
constexpr uint32_t kFhNumberOfSections = 2, kFhPointerToSymbolTable = 8, kFhSizeOfOptionalHeader = 16;
constexpr uint32_t kSecVirtualSize = 8, kSecVirtualAddress = 12, kSecSizeOfRawData = 16, kSecPointerToRawData = 20,
                   kSecPointerToRelocations = 24, kSecPointerToLinenumbers = 28;
constexpr uint32_t kDirSecurity = 4, kDirResource = 2, kDirDebug = 6;
constexpr uint32_t kDebugEntrySize = 28, kDebugAddressOfRawData = 20, kDebugPointerToRawData = 24;
constexpr uint16_t kMagicPe32 = 0x10B;
}  // namespace pe

struct PeLayout {
  uint32_t fileHeader = 0;    // offset of the file header (after the "PE\0\0" signature)
  uint32_t optHeader = 0;     // offset of the optional header
  uint32_t sectionTable = 0;  // offset of the first section header
  uint32_t numSections = 0;
  uint32_t numDirectories = 0;  // data directories present, at most 16
  uint32_t fileAlignment = 0;
  uint32_t sectionAlignment = 0;
  int resourceSection = -1;  // first section whose VirtualAddress is the resource directory's

  uint32_t Section(uint32_t i) const { return sectionTable + i * pe::kSectionHeaderSize; }
  uint32_t Directory(uint32_t i) const { return optHeader + pe::kOptDataDirectories + i * 8; }
};

enum class PeCheck {
  Ok,
  NotPe32,       // not a well-formed 32-bit PE file
  NoResources,   // a PE file without a resource section
};

// Checks the headers of the file in `view` and fills `layout`: MZ and PE signatures, a PE32
// optional header, section table and every section's raw data inside the file, power-of-two
// alignments, and a resource section that lies after the headers and overlaps no other
// section's raw data.
PeCheck ReadPeLayout(const uint8_t* view, size_t size, PeLayout& layout);

// The standard image checksum of the file: 16-bit little-endian words summed with the carry
// folded back, the CheckSum field counted as zero, folded to 16 bits, plus the file length.
uint32_t PeChecksum(const uint8_t* view, size_t size, uint32_t checkSumOffset);

}  // namespace bvq::resedit
