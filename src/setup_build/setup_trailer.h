#pragma once
// The 36 bytes at the end of the first volume that tell the installer where the parts of
// the setup file begin.
#include <array>
#include <cstdint>
#include <optional>

namespace bvq {

constexpr size_t kSetupTrailerSize = 36;
constexpr uint8_t kTrailerLastScriptField = 120;  // number of the last field of section A
constexpr uint8_t kTrailerMark = 241;

struct SetupTrailer {
  uint64_t scriptStart = 0;    // S0: size of the patched stub
  uint64_t dataBlockSize = 0;  // S2 - S1
  uint64_t dataStart = 0;      // S1: end of the script
  uint64_t payloadStart = 0;   // S2: end of the data block
  bool cabinets = false;       // data block and payload are cabinets (else stored records)
  uint8_t sideFileCount = 0;
};

// Little-endian: S0, data block size, S1, S2 (8 bytes each), storage form, side-file
// count, 120, 241.
std::array<uint8_t, kSetupTrailerSize> EncodeSetupTrailer(const SetupTrailer& trailer);
// The trailer, or nullopt when the last two bytes are not 120 and 241.
std::optional<SetupTrailer> DecodeSetupTrailer(const uint8_t* bytes);

}  // namespace bvq
