#pragma once
// What both LZX match finders use: unaligned loads of the window, a cache hint, and the
// hash of the three-byte strings whose latest position each finder keeps for short matches.
#include <cstdint>
#include <cstring>

namespace bvq::cab::lzx {

inline uint32_t Load32(const uint8_t* s) {
  uint32_t v;
  std::memcpy(&v, s, 4);
  return v;
}

// A cache hint that the compiler keeps (it drops plain prefetch builtins once inlined).
inline void Prefetch(const void* p) {
#if defined(__x86_64__) || defined(__i386__)
  asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(p)));
#else
  __builtin_prefetch(p);
#endif
}

constexpr int kHash3Bits = 15;
// Three-byte matches only pay at short distances.
constexpr uint32_t kMaxLen3Dist = 1u << 16;
// Hash of the first three bytes of the four in v.
inline uint32_t Hash3(uint32_t v) { return ((v << 8) * 0x9E3779B1u) >> (32 - kHash3Bits); }

}  // namespace bvq::cab::lzx
