#pragma once
// Turns a parse (literals and matches) into deflate blocks: for each block the cheapest of
// stored, fixed codes and dynamic codes (limited to 15 bits, code-length code to 7 bits).
#include <cstddef>
#include <cstdint>

namespace bvq::cab::deflate {

// One parse item: a literal byte (value < 256) or a match, length | distance << 9.
using Symbol = uint32_t;
inline Symbol LiteralSymbol(uint8_t byte) { return byte; }
inline Symbol MatchSymbol(uint32_t length, uint32_t distance) { return length | distance << 9; }

// Writes the parse (`count` symbols) of `data` as one complete deflate stream (the last
// block final) into `out`, cut into blocks where separate codes pay; returns the bytes
// written, never more than 5 bytes over the data's size.
size_t WriteStream(const Symbol* symbols, size_t count, const uint8_t* data, uint8_t* out);

}  // namespace bvq::cab::deflate
