#include "cab/cab_checksum.h"

namespace bvq::cab {

uint32_t CabChecksum(const uint8_t* p, size_t size, uint32_t seed) {
  uint32_t sum = seed;
  size_t words = size / 4;
  for (size_t i = 0; i < words; ++i, p += 4)
    sum ^= uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  uint32_t rest = 0;
  switch (size % 4) {
    case 3: rest |= uint32_t(*p++) << 16; [[fallthrough]];
    case 2: rest |= uint32_t(*p++) << 8; [[fallthrough]];
    case 1: rest |= uint32_t(*p++); break;
    default: break;
  }
  return sum ^ rest;
}

uint32_t DataBlockChecksum(const uint8_t* payload, uint16_t cbData, uint16_t cbUncomp) {
  const uint8_t sizes[4] = {uint8_t(cbData), uint8_t(cbData >> 8), uint8_t(cbUncomp),
                            uint8_t(cbUncomp >> 8)};
  return CabChecksum(sizes, 4, CabChecksum(payload, cbData, 0));
}

}  // namespace bvq::cab
