#pragma once
// The checksum of a CFDATA block: the XOR of the little-endian 32-bit words of the data,
// the last 1..3 bytes packed in the order the cabinet format prescribes.
#include <cstddef>
#include <cstdint>

namespace bvq::cab {

uint32_t CabChecksum(const uint8_t* data, size_t size, uint32_t seed);

// Checksum stored in a CFDATA header: over the payload, then over cbData and cbUncomp.
uint32_t DataBlockChecksum(const uint8_t* payload, uint16_t cbData, uint16_t cbUncomp);

}  // namespace bvq::cab
