#pragma once
// Reads RTF as word processors, converters and rich-edit controls write it into a RichDocument.
#include <string>
#include <string_view>
#include <vector>

#include "rtf/rich_text.h"

namespace bvq::rtf {

struct RtfReadResult {
  // False when the input does not start with "{\rtf": nothing was read.
  bool isRtf = false;
  RichDocument document;
  // What was wrong with damaged input (unbalanced braces, a truncated file, nesting too deep),
  // in reading order; the document then holds what could be read. Empty for sound input.
  std::vector<std::string> problems;
};

// Unknown control words are passed over; destinations without text for the reader (pictures,
// document information, style sheets, "\*" destinations it does not know) are skipped; a field
// gives its result text. 8-bit text is read in the code page of its font's character set, or
// in the document's code page (\ansicpg); \uN gives the character and skips its \ucN fallback.
RtfReadResult ReadRtf(std::string_view bytes);

// True when the bytes start with "{\rtf" (after an optional UTF-8 byte order mark).
bool LooksLikeRtf(std::string_view bytes);

}  // namespace bvq::rtf
