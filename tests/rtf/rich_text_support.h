#pragma once
// A compact text form of a document for test expectations: runs separated by "|", each run's
// character styles in brackets before its text ("[b]" bold, "[i]" italic, "[u]" underline,
// "[s]" strike-out), paragraphs separated by " / ".
#include <string>
#include <vector>

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

inline CharFormat Format(int charset) {
  CharFormat format;
  format.fontName = "Arial";
  format.fontCharset = charset;
  return format;
}

inline Paragraph Para(std::vector<Run> runs, ParagraphFormat format = {}) { return Paragraph{std::move(format), std::move(runs)}; }

// A document with every kind of formatting the model holds, in fonts of the given character set.
inline RichDocument SampleDocument(int charset) {
  CharFormat plain = Format(charset), bold = plain, italic = plain, underline = plain, strike = plain, big = plain,
             red = plain, courier = plain, greek = plain;
  bold.bold = true;
  italic.italic = true;
  underline.underline = true;
  strike.strikeOut = true;
  big.sizeHalfPoints = 40;
  big.bold = true;
  red.color = Color{200, 10, 20};
  courier.fontName = "Courier New";
  greek.fontName = "Greek Font";
  greek.fontCharset = 161;
  greek.color = Color{0, 0, 200};
  ParagraphFormat centred;
  centred.alignment = Alignment::Centre;
  ParagraphFormat indented;
  indented.alignment = Alignment::Justified;
  indented.leftIndentTwips = 720;
  indented.rightIndentTwips = 360;
  indented.firstLineIndentTwips = -360;
  indented.tabStops = {{1440, TabStop::Kind::Left}, {2880, TabStop::Kind::Centre}, {4320, TabStop::Kind::Right},
                       {5760, TabStop::Kind::Decimal}};
  ParagraphFormat right;
  right.alignment = Alignment::Right;
  auto listItem = [&](ListStyle style, int level, int number) {
    ParagraphFormat format;
    format.leftIndentTwips = 360 * (level + 1);
    format.firstLineIndentTwips = -360;
    format.list = ListMark{style, level, number};
    return format;
  };
  return RichDocument{{
      Para({{"Licence ", big}, {"Agreement", bold}}, centred),
      Para({{"Plain é, Привет, € 中文 😀, ", plain}, {"italic", italic}, {", underlined", underline}, {", struck", strike}, {" and red.", red}}),
      Para({{"Braces {} and \\ backslash\tafter a tab\nand a line break; 1 2 3 digits", plain}}, indented),
      Para({{"code()", courier}, {" αβγ", greek}}, right),
      Para({}),
      Para({{"first bullet", plain}}, listItem(ListStyle::Bullet, 0, 0)),
      Para({{"second bullet", red}}, listItem(ListStyle::Bullet, 0, 0)),
      Para({{"one", plain}}, listItem(ListStyle::Decimal, 0, 1)),
      Para({{"nested", plain}}, listItem(ListStyle::LowerLetter, 1, 1)),
      Para({{"two", plain}}, listItem(ListStyle::Decimal, 0, 2)),
      Para({{"iv", plain}}, listItem(ListStyle::UpperRoman, 0, 4)),
  }};
}

}  // namespace bvq::rtf::test
