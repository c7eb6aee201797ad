#pragma once
// The deflate format's alphabets: length and distance codes with their extra bits, and the
// order in which a dynamic block header lists the code-length code.
#include <array>
#include <cstdint>

namespace bvq::cab::deflate {

constexpr int kLitLenSymbols = 286;  // 256 literals, end of block, 29 length codes
constexpr int kDistSymbols = 30;
constexpr int kCodeLengthSymbols = 19;
constexpr int kEndOfBlock = 256;
constexpr uint32_t kMinMatch = 3, kMaxMatch = 258, kMaxDistance = 32768;

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr uint8_t kCodeLengthOrder[kCodeLengthSymbols] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
constexpr uint8_t kCodeLengthExtra[kCodeLengthSymbols] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};

namespace detail {
// Code index for every match length 0..258 (entries below 3 unused).
constexpr std::array<uint8_t, 259> kLengthCodes = [] {
  std::array<uint8_t, 259> t{};
  for (int c = 0; c < 29; ++c)
    for (int l = kLengthBase[c]; l < (c < 28 ? kLengthBase[c + 1] : 259); ++l) t[size_t(l)] = uint8_t(c);
  return t;
}();
// Distance code by distance - 1 for distances up to 256, by (distance - 1) >> 7 above.
constexpr std::array<uint8_t, 512> kDistCodes = [] {
  std::array<uint8_t, 512> t{};
  for (int c = 0; c < 30; ++c) {
    const int end = c < 29 ? kDistBase[c + 1] : 32769;
    for (int d = kDistBase[c]; d < end; ++d) {
      if (d <= 256) t[size_t(d - 1)] = uint8_t(c);
      else t[size_t(256 + ((d - 1) >> 7))] = uint8_t(c);
    }
  }
  return t;
}();
}  // namespace detail

inline int LengthCode(uint32_t length) { return detail::kLengthCodes[length]; }
inline int DistCode(uint32_t distance) {
  return distance <= 256 ? detail::kDistCodes[distance - 1] : detail::kDistCodes[256 + ((distance - 1) >> 7)];
}

}  // namespace bvq::cab::deflate
