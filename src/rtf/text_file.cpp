#include "rtf/text_file.h"

#include "rtf/plain_text.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "util/code_page.h"

namespace bvq::rtf {

TextFileContent ReadTextFile(std::string_view bytes, bool plainText, int codePage) {
  TextFileContent content;
  if (plainText || !LooksLikeRtf(bytes)) {
    content.document = DocumentFromPlainText(bytes, codePage);
    return content;
  }
  RtfReadResult read = ReadRtf(bytes);
  content.document = std::move(read.document);
  if (!read.problems.empty()) content.problem = read.problems.front();
  return content;
}

std::string TextFileBytes(const RichDocument& document, bool plainText, int codePage) {
  if (!plainText) return WriteRtf(document, codePage);
  std::string text;
  for (char c : DocumentText(document)) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return Utf8ToAnsi(text, codePage);
}

}  // namespace bvq::rtf
