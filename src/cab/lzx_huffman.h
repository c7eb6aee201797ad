#pragma once
// Length-limited Huffman codes in the canonical form LZX decoders rebuild from lengths.
#include <cstdint>

namespace bvq::cab::lzx {

// Computes code lengths (0 for unused symbols) for `n` symbols with at most `maxLen` bits.
// At least two symbols get a length so every code is complete; when fewer than two are
// used, the first unused symbols take their place.
void BuildCodeLengths(const uint32_t* freqs, int n, int maxLen, uint8_t* lens);

// Assigns canonical codes: shorter codes first, symbols in increasing order within a length.
void BuildCodes(const uint8_t* lens, int n, uint16_t* codes);

}  // namespace bvq::cab::lzx
