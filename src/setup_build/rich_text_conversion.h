#pragma once
// Licence and information texts reach the installer as rich text: a sound rich-text file goes
// in as it is, a damaged one as the RTF module rewrites it, a plain-text file becomes a
// rich-text document with the same text.
#include <string>
#include <string_view>

namespace bvq {

// True when the bytes begin (after blanks and line breaks) with "{\rtf".
bool IsRichText(std::string_view bytes);

// A rich-text document holding `text` (project code page `codePage`): "\", "{" and "}"
// escaped, bytes above 127 as \'hh, tabs as \tab, each line break (CR LF, LF or CR) as \par.
std::string PlainTextToRichText(std::string_view text, int codePage);

// Writes the rich-text form of `source` to `target` (replacing it). An empty `source`
// path gives an empty document. Raises FileError when a file cannot be read or written.
void ConvertToRichTextFile(const std::string& source, const std::string& target, int codePage);

}  // namespace bvq
