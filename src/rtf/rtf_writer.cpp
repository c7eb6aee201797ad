#include "rtf/rtf_writer.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "rtf/font_charsets.h"
#include "util/code_page.h"
#include "util/strings.h"

namespace bvq::rtf {
namespace {

// Bullets are the Symbol font's 0xB7, as rich-edit controls write them.
constexpr const char* kSymbolFontName = "Symbol";

// The characters beyond ASCII that a single-byte code page holds, with their bytes.
using CodePageTable = std::unordered_map<char32_t, uint8_t>;

CodePageTable MakeCodePageTable(int codePage) {
  // All 128 bytes in one conversion: each byte of a single-byte code page gives one character
  // (U+FFFD where it defines none). When the count differs (double-byte code pages), one byte
  // at a time.
  std::string bytes;
  for (int byte = 0x80; byte <= 0xFF; ++byte) bytes += static_cast<char>(byte);
  const auto characters = [](std::string_view utf8) {
    std::vector<char32_t> decoded;
    for (size_t pos = 0; pos < utf8.size();) decoded.push_back(NextUtf8CodePoint(utf8, pos));
    return decoded;
  };
  std::vector<char32_t> decoded = characters(AnsiToUtf8(bytes, codePage));
  if (decoded.size() != bytes.size()) {
    decoded.clear();
    for (char byte : bytes) {
      const std::vector<char32_t> one = characters(AnsiToUtf8(std::string(1, byte), codePage));
      decoded.push_back(one.size() == 1 ? one[0] : 0xFFFD);
    }
  }
  CodePageTable table;
  for (size_t i = 0; i < decoded.size(); ++i)
    if (decoded[i] != 0xFFFD && decoded[i] >= 0x80) table.emplace(decoded[i], static_cast<uint8_t>(0x80 + i));
  return table;
}

struct FontKey {
  std::string name;
  int charset;
  bool operator<(const FontKey& other) const {
    return name != other.name ? name < other.name : charset < other.charset;
  }
};

class Writer {
 public:
  Writer(const RichDocument& document, int codePage) : document_(document), codePage_(codePage) {}
  std::string Write();

 private:
  FontKey KeyOf(const CharFormat& format) const;
  int FontIndex(const CharFormat& format);
  int ColorIndex(const std::optional<Color>& color);
  int CodePageOfFont(int charset) const;
  const CodePageTable& TableOf(int codePage);
  void Word(std::string_view word);
  void Word(std::string_view word, int parameter);
  void Text(std::string_view utf8, int codePage);
  void WriteListMark(const ListMark& mark, const CharFormat& format);
  void WriteParagraphFormat(const ParagraphFormat& format);
  void WriteCharFormat(const CharFormat& format);

  const RichDocument& document_;
  int codePage_;
  std::map<FontKey, int> fontIndices_;
  std::vector<FontKey> fonts_;
  std::vector<Color> colors_;
  std::map<uint32_t, int> colorIndices_;  // 0xRRGGBB -> index in the colour table
  std::map<int, CodePageTable> tables_;
  std::string out_;
  bool delimiterDue_ = false;
  // The character format in effect in the body, as the reader sees it.
  int font_ = 0, size_ = kRtfDefaultFontSizeHalfPoints, color_ = 0;
  bool bold_ = false, italic_ = false, underline_ = false, strikeOut_ = false;
};

FontKey Writer::KeyOf(const CharFormat& format) const {
  return FontKey{format.fontName.empty() ? kDefaultFontName : format.fontName,
                 format.fontCharset == kDefaultCharset ? CharsetOfCodePage(codePage_) : format.fontCharset};
}

int Writer::FontIndex(const CharFormat& format) {
  const FontKey key = KeyOf(format);
  auto [at, added] = fontIndices_.emplace(key, static_cast<int>(fonts_.size()));
  if (added) fonts_.push_back(key);
  return at->second;
}

int Writer::ColorIndex(const std::optional<Color>& color) {
  if (!color) return 0;
  const uint32_t key = uint32_t(color->red) << 16 | uint32_t(color->green) << 8 | color->blue;
  auto [at, added] = colorIndices_.emplace(key, static_cast<int>(colors_.size()) + 1);
  if (added) colors_.push_back(*color);
  return at->second;
}

int Writer::CodePageOfFont(int charset) const {
  const int codePage = CodePageOfCharset(charset);
  return codePage ? codePage : codePage_;
}

const CodePageTable& Writer::TableOf(int codePage) {
  auto at = tables_.find(codePage);
  if (at == tables_.end()) at = tables_.emplace(codePage, MakeCodePageTable(codePage)).first;
  return at->second;
}

void Writer::Word(std::string_view word) {
  out_ += '\\';
  out_ += word;
  delimiterDue_ = true;
}

void Writer::Word(std::string_view word, int parameter) {
  Word(word);
  out_ += std::to_string(parameter);
}

void Writer::Text(std::string_view utf8, int codePage) {
  const CodePageTable& table = TableOf(codePage);
  for (size_t pos = 0; pos < utf8.size();) {
    const char32_t c = NextUtf8CodePoint(utf8, pos);
    if (c == '\t') {
      Word("tab");
    } else if (c == '\n') {
      Word("line");
    } else if (c < 0x20) {
      continue;  // other control characters are not text in RTF
    } else if (c < 0x80) {
      if (delimiterDue_) out_ += ' ';
      delimiterDue_ = false;
      if (c == '\\' || c == '{' || c == '}') out_ += '\\';
      out_ += static_cast<char>(c);
    } else if (auto byte = table.find(c); byte != table.end()) {
      static constexpr char kHex[] = "0123456789abcdef";
      out_ += "\\'";
      out_ += kHex[byte->second >> 4];
      out_ += kHex[byte->second & 15];
      delimiterDue_ = false;
    } else {
      // UTF-16 units as signed 16-bit numbers, each followed by its one-character fallback "?".
      // The fallback is written as a hex escape: some readers pass over the whole word of
      // literal text after \uN instead of one character.
      const auto unit = [&](char32_t u) {
        Word("u", u >= 0x8000 ? static_cast<int>(u) - 0x10000 : static_cast<int>(u));
        out_ += "\\'3f";
        delimiterDue_ = false;
      };
      std::u16string units;
      AppendUtf16(units, c);
      for (char16_t u : units) unit(u);
    }
  }
}

std::string RomanNumber(int number) {
  static constexpr std::pair<int, const char*> kDigits[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
                                                            {100, "c"},  {90, "xc"},  {50, "l"},  {40, "xl"},
                                                            {10, "x"},   {9, "ix"},   {5, "v"},   {4, "iv"},
                                                            {1, "i"}};
  std::string text;
  for (const auto& [value, digits] : kDigits)
    while (number >= value && text.size() < 32) text += digits, number -= value;
  return text;
}

std::string LetterNumber(int number) {
  std::string text;
  while (number > 0 && text.size() < 8) {
    text.insert(text.begin(), static_cast<char>('a' + (number - 1) % 26));
    number = (number - 1) / 26;
  }
  return text;
}

void Writer::WriteListMark(const ListMark& mark, const CharFormat& format) {
  if (mark.style == ListStyle::None) return;
  const int number = std::max(mark.number, 1);
  std::string shown;
  std::string_view style;
  switch (mark.style) {
    case ListStyle::Decimal: shown = std::to_string(number), style = "pndec"; break;
    case ListStyle::LowerLetter: shown = LetterNumber(number), style = "pnlcltr"; break;
    case ListStyle::UpperLetter: shown = ToUpperAscii(LetterNumber(number)), style = "pnucltr"; break;
    case ListStyle::LowerRoman: shown = RomanNumber(number), style = "pnlcrm"; break;
    case ListStyle::UpperRoman: shown = ToUpperAscii(RomanNumber(number)), style = "pnucrm"; break;
    default: break;
  }
  if (mark.style == ListStyle::Bullet) {
    CharFormat symbol;
    symbol.fontName = kSymbolFontName;
    symbol.fontCharset = kSymbolCharset;
    const int symbolFont = FontIndex(symbol);
    out_ += "{";
    Word("pntext");
    Word("f", symbolFont);
    out_ += "\\'b7";
    Word("tab");
    out_ += "}{\\*";
    Word("pn");
    Word("pnlvlblt");
    Word("pnf", symbolFont);
    Word("pnindent", 0);
    out_ += "{";
    Word("pntxtb");
    out_ += "\\'b7}}";
  } else {
    const int font = FontIndex(format);
    out_ += "{";
    Word("pntext");
    Word("f", font);
    Text(shown + ".", codePage_);
    Word("tab");
    out_ += "}{\\*";
    Word("pn");
    Word("pnlvlbody");
    Word("pnf", font);
    Word("pnindent", 0);
    Word("pnstart", number);
    Word(style);
    out_ += "{";
    Word("pntxta");
    out_ += ".}}";
  }
  delimiterDue_ = false;
  if (mark.level > 0) Word("ilvl", mark.level);
}

void Writer::WriteParagraphFormat(const ParagraphFormat& format) {
  Word("pard");
  switch (format.alignment) {
    case Alignment::Left: break;
    case Alignment::Centre: Word("qc"); break;
    case Alignment::Right: Word("qr"); break;
    case Alignment::Justified: Word("qj"); break;
  }
  if (format.leftIndentTwips) Word("li", format.leftIndentTwips);
  if (format.rightIndentTwips) Word("ri", format.rightIndentTwips);
  if (format.firstLineIndentTwips) Word("fi", format.firstLineIndentTwips);
  for (const TabStop& stop : format.tabStops) {
    switch (stop.kind) {
      case TabStop::Kind::Left: break;
      case TabStop::Kind::Centre: Word("tqc"); break;
      case TabStop::Kind::Right: Word("tqr"); break;
      case TabStop::Kind::Decimal: Word("tqdec"); break;
    }
    Word("tx", stop.positionTwips);
  }
}

void Writer::WriteCharFormat(const CharFormat& format) {
  const int font = FontIndex(format);
  if (font != font_) Word("f", font_ = font);
  if (format.sizeHalfPoints != size_) Word("fs", size_ = format.sizeHalfPoints);
  if (format.bold != bold_) (bold_ = format.bold) ? Word("b") : Word("b", 0);
  if (format.italic != italic_) (italic_ = format.italic) ? Word("i") : Word("i", 0);
  if (format.underline != underline_) (underline_ = format.underline) ? Word("ul") : Word("ulnone");
  if (format.strikeOut != strikeOut_) (strikeOut_ = format.strikeOut) ? Word("strike") : Word("strike", 0);
  const int color = ColorIndex(format.color);
  if (color != color_) Word("cf", color_ = color);
}

std::string Writer::Write() {
  // The body first: it decides which fonts and colours the tables hold. Font 0 is the font of
  // the first run (or the default font), so that \deff0 names it.
  const CharFormat* first = nullptr;
  for (const Paragraph& paragraph : document_.paragraphs)
    if (!first && !paragraph.runs.empty()) first = &paragraph.runs.front().format;
  FontIndex(first ? *first : CharFormat{});
  for (const Paragraph& paragraph : document_.paragraphs) {
    WriteParagraphFormat(paragraph.format);
    const CharFormat& markFormat = paragraph.runs.empty() ? CharFormat{} : paragraph.runs.front().format;
    WriteListMark(paragraph.format.list, markFormat);
    for (const Run& run : paragraph.runs) {
      WriteCharFormat(run.format);
      Text(run.text, CodePageOfFont(KeyOf(run.format).charset));
    }
    Word("par");
    out_ += "\r\n";
    delimiterDue_ = false;
  }
  std::string body = std::move(out_);
  out_.clear();
  out_ += "{\\rtf1\\ansi\\ansicpg" + std::to_string(codePage_) + "\\deff0\\uc1{\\fonttbl";
  for (size_t i = 0; i < fonts_.size(); ++i) {
    out_ += "{";
    Word("f", static_cast<int>(i));
    Word("fnil");
    Word("fcharset", fonts_[i].charset);
    // A ";" ends the name in the font table; real font names hold none, so one is dropped.
    Text(ReplaceAll(fonts_[i].name, ";", ""), CodePageOfFont(fonts_[i].charset));
    out_ += ";}";
  }
  out_ += "}\r\n";
  if (!colors_.empty()) {
    out_ += "{\\colortbl ;";
    for (const Color& color : colors_)
      out_ += "\\red" + std::to_string(color.red) + "\\green" + std::to_string(color.green) + "\\blue" +
              std::to_string(color.blue) + ";";
    out_ += "}\r\n";
  }
  out_ += body;
  out_ += "}\r\n";
  return std::move(out_);
}

}  // namespace

std::string WriteRtf(const RichDocument& document, int codePage) { return Writer(document, codePage).Write(); }

}  // namespace bvq::rtf
