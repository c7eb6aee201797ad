#pragma once
// The transforms of the project file: the position-dependent byte scramble and the
// 64-character encoding. Encode/Decode are also used alone for the packed-list slots.
#include <string>
#include <string_view>

namespace bvq {

// "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/": character k stands for k.
inline constexpr std::string_view kEncodeAlphabet =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/";

// s[i] = (t[i] + round(255 * cos(i)) - n) mod 256 for 1-based i, n = length; the cosine in
// extended precision, rounding half to even.
std::string ScrambleText(std::string_view text);
// The inverse: t[i] = (n + s[i] - round(255 * cos(i))) mod 256.
std::string UnscrambleText(std::string_view bytes);
// round(255 * cos(i)) as the scramble uses it; ScrambleOffsetExtended always computes it in
// extended precision (the reference the fast path is tested against).
int ScrambleOffset(long long position);
int ScrambleOffsetExtended(long long position);

// 6 bits per character, most significant first; n bytes give ceil(8n/6) characters.
std::string EncodeText(std::string_view bytes);
// Stops at the first character outside the alphabet; leftover bits are dropped.
std::string DecodeText(std::string_view text);

}  // namespace bvq
