#include "cab/lzx_block.h"

#include <algorithm>

#include "cab/huffman_code.h"

namespace bvq::cab::lzx {

void BlockStats::Count(const Item& it, int delta) {
  // Counts are unsigned: taking one away wraps around and back, as unsigned sums do.
  const auto d = static_cast<uint32_t>(delta);
  bytes += (it.len ? it.len : 1) * d;
  if (it.len == 0) {
    main[it.value] += d;
    return;
  }
  int slot = SlotOf(it.value);
  uint32_t lh = std::min<uint32_t>(it.len - kMinMatch, kNumPrimaryLengths);
  main[kNumChars + slot * 8 + lh] += d;
  if (lh == kNumPrimaryLengths) length[it.len - kMinMatch - kNumPrimaryLengths] += d;
  if (slot >= kNumRepeats) {
    const auto extra = static_cast<uint64_t>(kSlots.extraBits[slot]);
    const auto d64 = static_cast<uint64_t>(static_cast<int64_t>(delta));
    verbatimFooterBits += extra * d64;
    if (extra >= 3) {
      aligned[(it.value - kSlots.base[slot]) & 7] += d;
      alignedFooterBits += (extra - 3) * d64;
    } else {
      alignedFooterBits += extra * d64;
    }
  }
}

void BlockStats::Merge(const BlockStats& o) {
  for (size_t i = 0; i < main.size(); ++i) main[i] += o.main[i];
  for (size_t i = 0; i < length.size(); ++i) length[i] += o.length[i];
  for (size_t i = 0; i < aligned.size(); ++i) aligned[i] += o.aligned[i];
  verbatimFooterBits += o.verbatimFooterBits;
  alignedFooterBits += o.alignedFooterBits;
  bytes += o.bytes;
}

namespace {

struct PreSym {
  uint8_t sym;
  uint8_t extraBits;
  uint8_t extra;
};

// Run-length codes lens[0..n) against prev[0..n) as pretree symbols.
void PretreeSymbols(const uint8_t* lens, const uint8_t* prev, int n, std::vector<PreSym>& out) {
  auto delta = [&](int i) { return static_cast<uint8_t>((prev[i] - lens[i] + 17) % 17); };
  int i = 0;
  while (i < n) {
    int r = 1;
    while (i + r < n && lens[i + r] == lens[i]) ++r;
    if (lens[i] == 0 && r >= 4) {
      if (r >= 20) {
        r = std::min(r, 51);
        out.push_back({18, 5, static_cast<uint8_t>(r - 20)});
      } else {
        out.push_back({17, 4, static_cast<uint8_t>(r - 4)});
      }
      i += r;
    } else if (r >= 4) {
      r = std::min(r, 5);
      out.push_back({19, 1, static_cast<uint8_t>(r - 4)});
      out.push_back({delta(i), 0, 0});
      i += r;
    } else {
      out.push_back({delta(i), 0, 0});
      ++i;
    }
  }
}

struct PretreeRun {
  std::vector<PreSym> syms;
  uint8_t lens[kNumPretreeSymbols];
  uint16_t codes[kNumPretreeSymbols];
  uint64_t bits = 0;

  PretreeRun(const uint8_t* lensIn, const uint8_t* prev, int n) {
    PretreeSymbols(lensIn, prev, n, syms);
    uint32_t freq[kNumPretreeSymbols] = {};
    for (const PreSym& s : syms) freq[s.sym]++;
    BuildCodeLengths(freq, kNumPretreeSymbols, kMaxPretreeLength, lens);
    BuildCodes(lens, kNumPretreeSymbols, codes);
    bits = 4 * kNumPretreeSymbols;
    for (const PreSym& s : syms) bits += lens[s.sym] + s.extraBits;
  }
  void Write(BitWriter& bw) const {
    for (int i = 0; i < kNumPretreeSymbols; ++i) bw.Put(lens[i], 4);
    for (const PreSym& s : syms) {
      bw.Put(codes[s.sym], lens[s.sym]);
      bw.Put(s.extra, s.extraBits);
    }
  }
};

}  // namespace

BlockCoder::BlockCoder(int windowBits) : numMain_(kNumChars + 8 * NumPositionSlots(windowBits)) {}

uint64_t BlockCoder::Plan(const BlockStats& stats, BlockCodes& codes) const {
  std::array<uint32_t, kMaxMainSymbols> mainFreq = stats.main;
  // A 0xE8 literal code in every block tells decoders the call translation is in use
  // from the first block on, whatever the literals of the data are.
  if (!mainFreq[0xE8]) mainFreq[0xE8] = 1;
  BuildCodeLengths(mainFreq.data(), numMain_, kMaxCodeLength, codes.lens.main.data());
  BuildCodeLengths(stats.length.data(), kNumLengthSymbols, kMaxCodeLength, codes.lens.length.data());
  BuildCodeLengths(stats.aligned.data(), kNumAlignedSymbols, kMaxAlignedLength, codes.alignedLen.data());
  uint64_t alignedBits = 3 * kNumAlignedSymbols + stats.alignedFooterBits;
  for (int i = 0; i < kNumAlignedSymbols; ++i) alignedBits += uint64_t{stats.aligned[i]} * codes.alignedLen[i];
  codes.aligned = alignedBits < stats.verbatimFooterBits;
  return Bits(stats, codes);
}

uint64_t BlockCoder::HeaderBits(const BlockCodes& codes) const {
  uint64_t bits = 3 + 24 + (codes.aligned ? 3 * kNumAlignedSymbols : 0);
  bits += PretreeRun(codes.lens.main.data(), prev_.main.data(), kNumChars).bits;
  bits += PretreeRun(codes.lens.main.data() + kNumChars, prev_.main.data() + kNumChars, numMain_ - kNumChars).bits;
  bits += PretreeRun(codes.lens.length.data(), prev_.length.data(), kNumLengthSymbols).bits;
  return bits;
}

uint64_t BlockCoder::ItemsBits(const BlockStats& stats, const BlockCodes& codes) {
  uint64_t bits = 0;
  for (int i = 0; i < kMaxMainSymbols; ++i) bits += uint64_t{stats.main[i]} * codes.lens.main[i];
  for (int i = 0; i < kNumLengthSymbols; ++i) bits += uint64_t{stats.length[i]} * codes.lens.length[i];
  if (!codes.aligned) return bits + stats.verbatimFooterBits;
  bits += stats.alignedFooterBits;
  for (int i = 0; i < kNumAlignedSymbols; ++i) bits += uint64_t{stats.aligned[i]} * codes.alignedLen[i];
  return bits;
}

void BlockCoder::MakeCodes(BlockCodes& codes) const {
  BuildCodes(codes.lens.main.data(), numMain_, codes.mainCode.data());
  BuildCodes(codes.lens.length.data(), kNumLengthSymbols, codes.lengthCode.data());
  BuildCodes(codes.alignedLen.data(), kNumAlignedSymbols, codes.alignedCode.data());
}

void BlockCoder::WriteHeader(BitWriter& bw, const BlockCodes& codes, uint32_t blockSize) {
  bw.Put(codes.aligned ? kAligned : kVerbatim, 3);
  bw.Put(blockSize, 24);
  if (codes.aligned)
    for (int i = 0; i < kNumAlignedSymbols; ++i) bw.Put(codes.alignedLen[i], 3);
  PretreeRun(codes.lens.main.data(), prev_.main.data(), kNumChars).Write(bw);
  PretreeRun(codes.lens.main.data() + kNumChars, prev_.main.data() + kNumChars, numMain_ - kNumChars).Write(bw);
  PretreeRun(codes.lens.length.data(), prev_.length.data(), kNumLengthSymbols).Write(bw);
  prev_ = codes.lens;
}

void BlockCoder::WriteItem(BitWriter& bw, const BlockCodes& c, const Item& it) {
  if (it.len == 0) {
    bw.Put(c.mainCode[it.value], c.lens.main[it.value]);
    return;
  }
  int slot = SlotOf(it.value);
  uint32_t lh = std::min<uint32_t>(it.len - kMinMatch, kNumPrimaryLengths);
  int sym = kNumChars + slot * 8 + static_cast<int>(lh);
  bw.Put(c.mainCode[sym], c.lens.main[sym]);
  if (lh == kNumPrimaryLengths) {
    int ls = static_cast<int>(it.len) - kMinMatch - kNumPrimaryLengths;
    bw.Put(c.lengthCode[ls], c.lens.length[ls]);
  }
  if (slot < kNumRepeats) return;
  int extra = kSlots.extraBits[slot];
  uint32_t footer = it.value - kSlots.base[slot];
  if (c.aligned && extra >= 3) {
    bw.Put(footer >> 3, extra - 3);
    bw.Put(c.alignedCode[footer & 7], c.alignedLen[footer & 7]);
  } else {
    bw.Put(footer, extra);
  }
}

}  // namespace bvq::cab::lzx
