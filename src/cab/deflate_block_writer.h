#pragma once
// Turns a parse (literals and matches) into deflate blocks: for each block the cheapest of
// stored, fixed codes and dynamic codes (limited to 15 bits, code-length code to 7 bits).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bvq::cab::deflate {

// One parse item: a literal byte (value < 256) or a match, length | distance << 9.
using Symbol = uint32_t;
inline Symbol LiteralSymbol(uint8_t byte) { return byte; }
inline Symbol MatchSymbol(uint32_t length, uint32_t distance) { return length | distance << 9; }

// Writes the parse `symbols` of `data[0, size)` as one complete deflate stream (the last
// block final) into `out`, cut into blocks where separate codes pay; returns the bytes
// written, never more than size + 5.
size_t WriteStream(const std::vector<Symbol>& symbols, const uint8_t* data, size_t size, uint8_t* out);

}  // namespace bvq::cab::deflate
