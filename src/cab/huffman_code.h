#pragma once
// Length-limited Huffman codes in the canonical form deflate and LZX decoders rebuild from the
// code lengths. The writers build several codes for every block they consider, so the lengths
// are found in place: no allocation, one sort.
#include <cstdint>

namespace bvq::cab {

// The most symbols a code may have (LZX's main tree with the largest window).
constexpr int kMaxCodeSymbols = 656;

// Computes code lengths (0 for unused symbols) for `n` symbols (at most kMaxCodeSymbols) with
// at most `maxLen` bits. The code is always complete: when fewer than two symbols are used, the
// lowest unused ones get 1-bit codes beside them.
void BuildCodeLengths(const uint32_t* freqs, int n, int maxLen, uint8_t* lens);

// Assigns canonical codes: shorter codes first, symbols in increasing order within a length.
void BuildCodes(const uint8_t* lens, int n, uint16_t* codes);

}  // namespace bvq::cab
