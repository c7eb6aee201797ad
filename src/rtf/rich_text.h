#pragma once
// The rich-text document of licence and information texts: paragraphs of formatted runs.
// The reader fills it from RTF, the writer turns it back into RTF, the editor window maps it to
// and from its text widget (a paragraph to a text block, a run to a fragment with a character
// format, a list mark to a list of that style and level), and the build makes one from a
// plain-text file. Text is UTF-8; lengths are twips (1/20 point), font sizes half-points.
#include <cstdint>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

namespace bvq::rtf {

// The font and size a document has where nothing else is said (plain-text files, new texts).
inline constexpr const char* kDefaultFontName = "Arial";
inline constexpr int kDefaultFontSizeHalfPoints = 20;
// The size RTF gives text that names no size (\fs24: 12 points).
inline constexpr int kRtfDefaultFontSizeHalfPoints = 24;

struct Color {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Color&) const = default;
};

// Windows character-set numbers of a font (\fcharset): which code page its 8-bit text uses.
inline constexpr int kAnsiCharset = 0;
inline constexpr int kDefaultCharset = 1;
inline constexpr int kSymbolCharset = 2;

struct CharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::string fontName;             // empty: the document's default font
  int fontCharset = kDefaultCharset;
  int sizeHalfPoints = kRtfDefaultFontSizeHalfPoints;
  std::optional<Color> color;       // none: the automatic (window text) colour
  bool operator==(const CharFormat&) const = default;
};

// A stretch of text with one format. Inside a paragraph, "\n" is a line break (\line, a line
// separator in a text widget) and "\t" a tab; no other control character occurs.
struct Run {
  std::string text;
  CharFormat format;
  bool operator==(const Run&) const = default;
};

enum class Alignment { Left, Centre, Right, Justified };

struct TabStop {
  enum class Kind { Left, Centre, Right, Decimal };
  int positionTwips = 0;  // from the left indent of the page's text area; 1440 twips = 1 inch
  Kind kind = Kind::Left;
  bool operator==(const TabStop&) const = default;
};

// What stands before a list paragraph: a bullet, or a number in one of the numbering styles.
enum class ListStyle { None, Bullet, Decimal, LowerLetter, UpperLetter, LowerRoman, UpperRoman };

struct ListMark {
  ListStyle style = ListStyle::None;
  int level = 0;   // nesting level, 0 for the outermost list
  int number = 0;  // the number shown for a numbered paragraph (1 for the first item)
  bool operator==(const ListMark&) const = default;
};

struct ParagraphFormat {
  Alignment alignment = Alignment::Left;
  int leftIndentTwips = 0;
  int rightIndentTwips = 0;
  int firstLineIndentTwips = 0;  // relative to the left indent; negative for a hanging indent
  std::vector<TabStop> tabStops;  // ascending positions
  ListMark list;
  bool operator==(const ParagraphFormat&) const = default;
};

struct Paragraph {
  ParagraphFormat format;
  std::vector<Run> runs;  // adjacent runs differ in format; no run is empty
  bool operator==(const Paragraph&) const = default;
};

struct RichDocument {
  std::vector<Paragraph> paragraphs;
  bool operator==(const RichDocument&) const = default;
};

// The text of a paragraph without formatting.
std::string ParagraphText(const Paragraph& paragraph);
// The text of the document: paragraphs joined by "\n" (line breaks inside paragraphs are "\n"
// as well), without list marks.
std::string DocumentText(const RichDocument& document);
// Appends text in `format` to the paragraph, merging it into the last run when that has the
// same format; empty text adds nothing.
void AppendText(Paragraph& paragraph, std::string_view text, const CharFormat& format);

}  // namespace bvq::rtf
