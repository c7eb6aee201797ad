#pragma once
// Licence and information files as the text editor opens and saves them: rich text, or plain
// text for ".txt" files.
#include <string>
#include <string_view>

#include "rtf/rich_text.h"

namespace bvq::rtf {

struct TextFileContent {
  RichDocument document;
  // Set when the file was damaged RTF: what was wrong. The document holds what could be read.
  std::string problem;
};

// The bytes of a file as a document. In rich-text mode RTF is read and anything else is
// plain text; in plain-text mode every file is plain text (RTF shows as its source). Plain
// text is in `codePage` unless it starts with a byte order mark.
TextFileContent ReadTextFile(std::string_view bytes, bool plainText, int codePage);

// The bytes to save: RTF with `codePage` as its code page, or in plain-text mode the text
// alone in `codePage` with CR LF line ends (characters the code page lacks become "?").
std::string TextFileBytes(const RichDocument& document, bool plainText, int codePage);

}  // namespace bvq::rtf
