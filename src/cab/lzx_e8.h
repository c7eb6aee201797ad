#pragma once
// The x86 call translation of LZX: in every frame, the 32-bit operand after each 0xE8 byte
// is turned from a relative into an absolute target so that repeated calls to one function
// become repeated byte strings. Decoders undo it per frame after decoding.
#include <cstdint>

namespace bvq::cab::lzx {

// Translates one frame in place. `framePos` is the frame's offset in the folder's data,
// `size` its length (decoders leave frames of 10 bytes or less, and the last 6 bytes of
// every frame, alone).
void TranslateE8Frame(uint8_t* data, uint32_t size, uint32_t framePos, uint32_t translationSize);

}  // namespace bvq::cab::lzx
