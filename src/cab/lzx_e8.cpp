#include "cab/lzx_e8.h"

#include <cstring>

namespace bvq::cab::lzx {

void TranslateE8Frame(uint8_t* data, uint32_t size, uint32_t framePos, uint32_t translationSize) {
  if (size <= 10) return;
  const int32_t fileSize = static_cast<int32_t>(translationSize);
  const uint32_t end = size - 10;  // an opcode at or after this position is not translated
  for (uint32_t i = 0; i < end;) {
    // Most bytes are not the opcode: the library's search skips them many at a time.
    const void* found = std::memchr(data + i, 0xE8, end - i);
    if (!found) break;
    i = static_cast<uint32_t>(static_cast<const uint8_t*>(found) - data);
    const int32_t pos = static_cast<int32_t>(framePos + i);
    uint8_t* p = data + i + 1;
    int32_t rel = static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
    if (rel >= -pos && rel < fileSize) {
      // The decoder maps non-negative values v back to v - pos and negative ones to
      // v + fileSize; both branches below are exact inverses of that.
      int32_t abs = rel < fileSize - pos ? rel + pos : rel - fileSize;
      uint32_t v = static_cast<uint32_t>(abs);
      p[0] = static_cast<uint8_t>(v);
      p[1] = static_cast<uint8_t>(v >> 8);
      p[2] = static_cast<uint8_t>(v >> 16);
      p[3] = static_cast<uint8_t>(v >> 24);
    }
    i += 5;
  }
}

}  // namespace bvq::cab::lzx
