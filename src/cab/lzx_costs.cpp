#include "cab/lzx_costs.h"

#include <algorithm>
#include <cmath>

#include "cab/huffman_code.h"

namespace bvq::cab::lzx {

void CostModel::SetDefaults(int numMain) {
  for (int i = 0; i < kNumChars; ++i) main[i] = 8 * kScale;
  for (int i = kNumChars; i < numMain; ++i) {
    int slot = (i - kNumChars) / 8, lh = (i - kNumChars) % 8;
    main[i] = (slot < kNumRepeats ? 7 : 9 + slot / 8) * kScale + lh * kScale / 2;
  }
  for (uint32_t& c : length) c = 7 * kScale;
  for (uint32_t& c : aligned) c = 3 * kScale;
  useAligned = false;
  literalShare = 1.0;
}

void CostModel::SetFromStats(const BlockStats& s, int numMain) {
  uint8_t lens[kMaxMainSymbols];
  BuildCodeLengths(s.main.data(), numMain, kMaxCodeLength, lens);
  for (int i = 0; i < numMain; ++i) main[i] = (lens[i] && s.main[i] ? lens[i] : 15) * kScale;
  BuildCodeLengths(s.length.data(), kNumLengthSymbols, kMaxCodeLength, lens);
  for (int i = 0; i < kNumLengthSymbols; ++i) length[i] = (lens[i] && s.length[i] ? lens[i] : 12) * kScale;
  BuildCodeLengths(s.aligned.data(), kNumAlignedSymbols, kMaxAlignedLength, lens);
  uint64_t alignedBits = s.alignedFooterBits;
  for (int i = 0; i < kNumAlignedSymbols; ++i) {
    aligned[i] = (lens[i] ? lens[i] : 7) * kScale;
    alignedBits += uint64_t{s.aligned[i]} * lens[i];
  }
  useAligned = alignedBits + 24 < s.verbatimFooterBits;
  uint64_t literals = 0, symbols = 0;
  for (int k = 0; k < numMain; ++k) {
    symbols += s.main[k];
    if (k < kNumChars) literals += s.main[k];
  }
  literalShare = symbols ? std::max(0.05, static_cast<double>(literals) / static_cast<double>(symbols)) : 1.0;
}

void CostModel::EstimateLiterals(const uint8_t* data, uint32_t n) {
  uint32_t hist[kNumChars] = {};
  for (uint32_t i = 0; i < n; ++i) hist[data[i]]++;
  const double share = std::log2(1.0 / literalShare);
  for (int b = 0; b < kNumChars; ++b) {
    double bits = std::log2(static_cast<double>(n) / std::max(hist[b], 1u) * (hist[b] ? 1.0 : 2.0)) + share;
    bits = std::clamp(bits, 1.0, double{kMaxCodeLength});
    main[b] = static_cast<uint32_t>(bits * kScale + 0.5);
  }
}

}  // namespace bvq::cab::lzx
