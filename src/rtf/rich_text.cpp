#include "rtf/rich_text.h"

namespace bvq::rtf {

std::string ParagraphText(const Paragraph& paragraph) {
  std::string text;
  for (const Run& run : paragraph.runs) text += run.text;
  return text;
}

std::string DocumentText(const RichDocument& document) {
  std::string text;
  for (size_t i = 0; i < document.paragraphs.size(); ++i) {
    if (i > 0) text += '\n';
    text += ParagraphText(document.paragraphs[i]);
  }
  return text;
}

void AppendText(Paragraph& paragraph, std::string_view text, const CharFormat& format) {
  if (text.empty()) return;
  if (!paragraph.runs.empty() && paragraph.runs.back().format == format) {
    paragraph.runs.back().text += text;
  } else {
    paragraph.runs.push_back(Run{std::string(text), format});
  }
}

}  // namespace bvq::rtf
