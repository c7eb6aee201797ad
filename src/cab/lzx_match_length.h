#pragma once
// Length of the common prefix of two byte runs, shared by the match finder and the parser.
#include <cstdint>
#include <cstring>

namespace bvq::cab::lzx {

// Length of the common prefix of a and b, counting on from `len` (already known equal) up
// to `limit`; compares eight bytes at a time.
inline uint32_t MatchLength(const uint8_t* a, const uint8_t* b, uint32_t len, uint32_t limit) {
  while (len + 8 <= limit) {
    uint64_t x, y;
    std::memcpy(&x, a + len, 8);
    std::memcpy(&y, b + len, 8);
    if (x != y) return len + (__builtin_ctzll(x ^ y) >> 3);
    len += 8;
  }
  while (len < limit && a[len] == b[len]) ++len;
  return len;
}

}  // namespace bvq::cab::lzx
