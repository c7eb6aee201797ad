#pragma once
// Writes a RichDocument as RTF that rich-edit controls, word processors and converters read.
#include <string>

#include "rtf/rich_text.h"

namespace bvq::rtf {

// RTF with \ansicpg`codePage`: characters of that code page (or of a run font's own character
// set) as \'hh escapes, every other character as \uN with "?" (\'3f) for readers without Unicode.
// Fonts without a character set of their own get the one of `codePage`. List paragraphs carry
// their mark as text (\pntext) and as paragraph numbering (\pn), as rich-edit controls write them.
std::string WriteRtf(const RichDocument& document, int codePage);

}  // namespace bvq::rtf
