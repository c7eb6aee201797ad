#include "setup_build/setup_trailer.h"

namespace bvq {
namespace {
void Put64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint64_t Get64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}
}  // namespace

std::array<uint8_t, kSetupTrailerSize> EncodeSetupTrailer(const SetupTrailer& t) {
  std::array<uint8_t, kSetupTrailerSize> bytes{};
  Put64(&bytes[0], t.scriptStart);
  Put64(&bytes[8], t.dataBlockSize);
  Put64(&bytes[16], t.dataStart);
  Put64(&bytes[24], t.payloadStart);
  bytes[32] = t.cabinets ? 1 : 0;
  bytes[33] = t.sideFileCount;
  bytes[34] = kTrailerLastScriptField;
  bytes[35] = kTrailerMark;
  return bytes;
}

std::optional<SetupTrailer> DecodeSetupTrailer(const uint8_t* bytes) {
  if (bytes[34] != kTrailerLastScriptField || bytes[35] != kTrailerMark) return std::nullopt;
  SetupTrailer t;
  t.scriptStart = Get64(&bytes[0]);
  t.dataBlockSize = Get64(&bytes[8]);
  t.dataStart = Get64(&bytes[16]);
  t.payloadStart = Get64(&bytes[24]);
  t.cabinets = bytes[32] != 0;
  t.sideFileCount = bytes[33];
  return t;
}

}  // namespace bvq
