#pragma once
// Encoding of LZX blocks: statistics of a parse, Huffman codes, the trees sent through the
// pretree against the previous block's lengths, and the items themselves.
#include <array>
#include <cstdint>
#include <vector>

#include "cab/lzx_bitwriter.h"
#include "cab/lzx_format.h"

namespace bvq::cab::lzx {

// One step of a parse: a literal (len 0, value = byte) or a match (len 2..257,
// value = formatted offset: 0..2 a repeated offset, else distance + 2).
struct Item {
  uint32_t len;
  uint32_t value;
};

struct BlockStats {
  std::array<uint32_t, kMaxMainSymbols> main{};
  std::array<uint32_t, kNumLengthSymbols> length{};
  std::array<uint32_t, kNumAlignedSymbols> aligned{};
  uint64_t verbatimFooterBits = 0;  // offset footers sent raw in a verbatim block
  uint64_t alignedFooterBits = 0;   // the part of them still sent raw in an aligned block
  uint32_t bytes = 0;               // uncompressed size covered

  void Add(const Item& it) { Count(it, 1); }
  void Remove(const Item& it) { Count(it, -1); }
  void Merge(const BlockStats& o);

 private:
  void Count(const Item& it, int delta);
};

// Code lengths as sent, and the lengths of the previous block that the next one is sent against.
struct TreeLengths {
  std::array<uint8_t, kMaxMainSymbols> main{};
  std::array<uint8_t, kNumLengthSymbols> length{};
};

struct BlockCodes {
  TreeLengths lens;
  std::array<uint8_t, kNumAlignedSymbols> alignedLen{};
  std::array<uint16_t, kMaxMainSymbols> mainCode{};
  std::array<uint16_t, kNumLengthSymbols> lengthCode{};
  std::array<uint16_t, kNumAlignedSymbols> alignedCode{};
  bool aligned = false;
};

class BlockCoder {
 public:
  explicit BlockCoder(int windowBits);

  int NumMainSymbols() const { return numMain_; }
  // Builds code lengths for `stats`; picks the aligned-offset type when it is smaller.
  // Returns Bits(stats, codes).
  uint64_t Plan(const BlockStats& stats, BlockCodes& codes) const;
  // The size in bits of a block of `stats` sent with `codes` after the blocks written so
  // far: HeaderBits plus ItemsBits.
  uint64_t Bits(const BlockStats& stats, const BlockCodes& codes) const {
    return HeaderBits(codes) + ItemsBits(stats, codes);
  }
  // Block type, size and trees, as WriteHeader sends them now.
  uint64_t HeaderBits(const BlockCodes& codes) const;
  // Bits WriteItem sends for all the items counted in `stats`.
  static uint64_t ItemsBits(const BlockStats& stats, const BlockCodes& codes);
  // The codes of the lengths Plan chose, which the writing needs.
  void MakeCodes(BlockCodes& codes) const;
  // Header and trees; the previous lengths are updated to this block's.
  void WriteHeader(BitWriter& bw, const BlockCodes& codes, uint32_t blockSize);
  static void WriteItem(BitWriter& bw, const BlockCodes& codes, const Item& it);
  // Starts a new folder: previous lengths back to zero.
  void Reset() { prev_ = TreeLengths{}; }
  const TreeLengths& Previous() const { return prev_; }

 private:
  int numMain_;
  TreeLengths prev_;
};

}  // namespace bvq::cab::lzx
