#pragma once
// A compact text form of a document for test expectations: runs separated by "|", each run's
// character styles in brackets before its text ("[b]" bold, "[i]" italic, "[u]" underline,
// "[s]" strike-out), paragraphs separated by " / ".
#include <string>

#include "rtf/rich_text.h"

namespace bvq::rtf::test {

inline std::string StyledText(const Paragraph& paragraph) {
  std::string text;
  for (const Run& run : paragraph.runs) {
    if (!text.empty()) text += '|';
    std::string styles;
    if (run.format.bold) styles += 'b';
    if (run.format.italic) styles += 'i';
    if (run.format.underline) styles += 'u';
    if (run.format.strikeOut) styles += 's';
    if (!styles.empty()) text += "[" + styles + "]";
    text += run.text;
  }
  return text;
}

inline std::string StyledText(const RichDocument& document) {
  std::string text;
  for (size_t i = 0; i < document.paragraphs.size(); ++i)
    text += (i ? " / " : "") + StyledText(document.paragraphs[i]);
  return text;
}

// The run holding `text` (the first whose text contains it), or nullptr.
inline const Run* RunWith(const RichDocument& document, const std::string& text) {
  for (const Paragraph& paragraph : document.paragraphs)
    for (const Run& run : paragraph.runs)
      if (run.text.find(text) != std::string::npos) return &run;
  return nullptr;
}

// The paragraph whose text contains `text`, or nullptr.
inline const Paragraph* ParagraphWith(const RichDocument& document, const std::string& text) {
  for (const Paragraph& paragraph : document.paragraphs)
    if (ParagraphText(paragraph).find(text) != std::string::npos) return &paragraph;
  return nullptr;
}

}  // namespace bvq::rtf::test
