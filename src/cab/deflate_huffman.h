#pragma once
// Code lengths of length-limited Huffman codes, made for the deflate block writer, which
// builds several codes for every block it considers: no allocation, one sort.
#include <cstdint>

namespace bvq::cab::deflate {

// Computes code lengths (0 for unused symbols) for `n` symbols (at most 288) with at most
// `maxLen` bits. The code is always complete: when fewer than two symbols are used, the
// lowest unused ones get 1-bit codes beside them.
void BuildCodeLengths(const uint32_t* freqs, int n, int maxLen, uint8_t* lens);

}  // namespace bvq::cab::deflate
