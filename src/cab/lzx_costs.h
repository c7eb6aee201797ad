#pragma once
// Estimated costs, in 1/16 bit, of the symbols of an LZX block: the parsers weigh literals,
// matches and repeated-offset matches with them.
#include <cstdint>

#include "cab/lzx_block.h"
#include "cab/lzx_format.h"

namespace bvq::cab::lzx {

struct CostModel {
  static constexpr uint32_t kScale = 16;
  uint32_t main[kMaxMainSymbols];
  uint32_t length[kNumLengthSymbols];
  uint32_t aligned[kNumAlignedSymbols];
  bool useAligned = false;
  double literalShare = 1.0;  // literals among the main symbols of the last statistics taken

  // Guessed costs for the start of a folder.
  void SetDefaults(int numMain);
  // Costs of the Huffman codes that `s` would get.
  void SetFromStats(const BlockStats& s, int numMain);
  // Literal costs from the byte counts of data[0, n), made dearer by the share of the main
  // tree that matches took in the statistics before: carrying over earlier literal costs
  // would keep a parse on matches where literals pay.
  void EstimateLiterals(const uint8_t* data, uint32_t n);

  // Cost of the offset footer of a match with formatted offset `f` in slot `slot`.
  uint32_t Footer(int slot, uint32_t f) const {
    uint32_t extra = kSlots.extraBits[slot];
    if (useAligned && extra >= 3) return (extra - 3) * kScale + aligned[(f - kSlots.base[slot]) & 7];
    return extra * kScale;
  }
  // Cost of the main symbol and length of a match of `len` bytes in slot `slot`.
  uint32_t Symbol(int slot, uint32_t len) const {
    uint32_t lh = len - kMinMatch;
    if (lh < kNumPrimaryLengths) return main[kNumChars + slot * 8 + lh];
    return main[kNumChars + slot * 8 + kNumPrimaryLengths] + length[lh - kNumPrimaryLengths];
  }
};

}  // namespace bvq::cab::lzx
