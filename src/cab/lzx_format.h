#pragma once
// Constants and tables of the LZX data format as carried in cabinet folders.
#include <array>
#include <cstdint>

namespace bvq::cab::lzx {

constexpr int kMinMatch = 2;
constexpr int kMaxMatch = 257;
constexpr int kNumChars = 256;
constexpr int kNumPrimaryLengths = 7;     // length headers 0..6 in the main symbol; 7 = "see length tree"
constexpr int kNumLengthSymbols = 249;    // length tree
constexpr int kNumAlignedSymbols = 8;
constexpr int kNumPretreeSymbols = 20;
constexpr int kMaxPositionSlots = 50;
constexpr int kMaxMainSymbols = kNumChars + 8 * kMaxPositionSlots;
constexpr int kMaxCodeLength = 16;        // main and length trees
constexpr int kMaxPretreeLength = 15;     // pretree lengths are sent in 4 bits
constexpr int kMaxAlignedLength = 7;      // aligned lengths are sent in 3 bits
constexpr uint32_t kFrameSize = 32768;
constexpr int kNumRepeats = 3;
constexpr uint32_t kE8TranslationSize = 12000000;
constexpr uint32_t kE8MaxFrames = 32768;  // decoders translate only the first 32768 frames

enum BlockType : uint32_t { kVerbatim = 1, kAligned = 2, kUncompressed = 3 };

constexpr int NumPositionSlots(int windowBits) {
  return windowBits == 21 ? 50 : windowBits == 20 ? 42 : 2 * windowBits;
}

// Formatted offsets: 0..2 name the repeated offsets R0..R2, a real distance d is d + 2.
struct SlotTables {
  std::array<uint32_t, kMaxPositionSlots> base{};
  std::array<uint8_t, kMaxPositionSlots> extraBits{};
  constexpr SlotTables() {
    uint32_t b = 0;
    for (int s = 0; s < kMaxPositionSlots; ++s) {
      int e = s < 4 ? 0 : (s < 36 ? s / 2 - 1 : 17);
      base[s] = b;
      extraBits[s] = static_cast<uint8_t>(e);
      b += 1u << e;
    }
  }
};
inline constexpr SlotTables kSlots{};

// Position slot of a formatted offset (>= 3 for real distances).
inline int SlotOf(uint32_t formatted) {
  if (formatted < 4) return static_cast<int>(formatted);
  if (formatted >= kSlots.base[36]) return 36 + static_cast<int>((formatted - kSlots.base[36]) >> 17);
  int hi = 31 - __builtin_clz(formatted);  // formatted in [2^hi, 2^(hi+1))
  return 2 * hi + ((formatted >> (hi - 1)) & 1);
}

// The largest distance a window of 2^windowBits allows.
constexpr uint32_t MaxDistance(int windowBits) { return (1u << windowBits) - 3; }

}  // namespace bvq::cab::lzx
