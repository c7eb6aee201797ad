#pragma once
// Windows font character sets (\fcharset) and the ANSI code pages their 8-bit text uses.
namespace bvq::rtf {

// The code page of a font's character set; 0 when the character set names none (the default
// character set, unknown numbers): then the document's code page applies.
int CodePageOfCharset(int charset);
// The character set whose code page is `codePage`; kDefaultCharset (1) when none is.
int CharsetOfCodePage(int codePage);

}  // namespace bvq::rtf
