#pragma once
// Conversion between single-byte ANSI code pages (the project's texts, language files) and
// UTF-8 (Qt widgets, file names on disk), through iconv.
#include <cstddef>
#include <string>
#include <string_view>

namespace bvq {

// Code page used when nothing else is known.
constexpr int kDefaultAnsiCodePage = 1252;

// The program's ANSI code page: the one set by SetAnsiCodePage, else 1252.
int AnsiCodePage();
void SetAnsiCodePage(int codePage);

// Bytes in `codePage` -> UTF-8. Bytes the code page does not define become U+FFFD.
std::string AnsiToUtf8(std::string_view text, int codePage);
// UTF-8 -> bytes in `codePage`; a character the code page cannot hold (or invalid UTF-8)
// becomes "?".
std::string Utf8ToAnsi(std::string_view text, int codePage);
inline std::string AnsiToUtf8(std::string_view text) { return AnsiToUtf8(text, AnsiCodePage()); }
inline std::string Utf8ToAnsi(std::string_view text) { return Utf8ToAnsi(text, AnsiCodePage()); }

// True when iconv knows the code page ("CP" + number).
bool IsKnownCodePage(int codePage);

// The code point of the UTF-8 sequence at `pos`, moving `pos` past it. A malformed or
// truncated sequence (a stray continuation byte, a lead byte without its continuations, an
// encoded surrogate, a two-byte form of ASCII) gives U+FFFD and moves one byte only, so
// decoding goes on with what follows.
char32_t NextUtf8CodePoint(std::string_view utf8, std::size_t& pos);
// Appends `c` as UTF-16 code units: a surrogate pair beyond U+FFFF.
void AppendUtf16(std::u16string& out, char32_t c);

// UTF-8 to UTF-16 code units, each sequence decoded by NextUtf8CodePoint.
std::u16string Utf8ToUtf16Lenient(std::string_view utf8);
// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8Lenient(std::u16string_view utf16);

}  // namespace bvq
