#include "rtf/rtf_reader.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <unordered_set>

#include "rtf/font_charsets.h"
#include "rtf/rtf_lexer.h"
#include "util/code_page.h"

namespace bvq::rtf {
namespace {

// Limits that keep damaged or hostile input from costing unbounded time or memory.
constexpr size_t kMaxGroupDepth = 200;
constexpr size_t kMaxTabStops = 64;
constexpr size_t kMaxFontNameBytes = 64;
constexpr size_t kMaxMarkTextBytes = 64;
constexpr size_t kMaxProblems = 8;
constexpr int kMaxListLevel = 8;
constexpr int kMaxUnicodeSkip = 16;

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Where the text of a group goes.
enum class Destination {
  Body,          // the document (also a field's result)
  Skip,          // nothing: the group is passed over
  FontTable,     // font names
  ColorTable,    // ";"-separated colour entries
  ListTable,     // list definitions: numbering style per level
  ListOverrides, // \ls numbers -> list definitions
  MarkText,      // \pntext, \listtext: the shown bullet or number of the paragraph
  Numbering,     // \pn: old-style paragraph numbering of the paragraph
};

// Destinations that never hold document text; passed over with everything inside.
constexpr std::string_view kSkippedDestinations[] = {
    "annotation", "atnauthor", "atndate", "atnid", "atnparent", "atnref", "atrfend", "atrfstart",
    "author", "bkmkend", "bkmkstart", "buptim", "category", "colorschememapping", "comment",
    "company", "creatim", "datastore", "docvar", "doccomm", "falt", "fchars", "filetbl", "fldinst",
    "fontemb", "fontfile", "footer", "footerf", "footerl", "footerr", "footnote", "ftncn", "ftnsep",
    "ftnsepc", "aftnsep", "aftnsepc", "aftncn", "generator", "header", "headerf", "headerl",
    "headerr", "hlinkbase", "info", "keywords", "latentstyles", "lchars", "leveltext",
    "levelnumbers", "listname", "listpicture", "manager", "mmathPr", "nonshppict", "objclass",
    "objdata", "objname", "operator", "panose", "pgdsctbl", "pgptbl", "pict", "pntxta", "pntxtb",
    "printim", "private", "revtbl", "revtim", "rsidtbl", "shp", "shpgrp", "shpinst", "shppict",
    "shprslt", "stylesheet", "subject", "tc", "template", "themedata", "title", "txe",
    "userprops", "wgrffmtfilter", "xe", "xmlnstbl", "xmlopen",
};

bool IsSkippedDestination(std::string_view word) {
  static const std::unordered_set<std::string_view> kSet(std::begin(kSkippedDestinations), std::end(kSkippedDestinations));
  return kSet.contains(word);
}

// Numbering style of a list level (\levelnfc) or of old-style numbering.
ListStyle StyleOfLevelNumberFormat(int format) {
  switch (format) {
    case 0: return ListStyle::Decimal;
    case 1: return ListStyle::UpperRoman;
    case 2: return ListStyle::LowerRoman;
    case 3: return ListStyle::UpperLetter;
    case 4: return ListStyle::LowerLetter;
    case 23: return ListStyle::Bullet;
    case 255: return ListStyle::None;
    default: return ListStyle::Decimal;
  }
}

// Appends UTF-8 text up to `limit` bytes in all, never splitting a character.
void AppendLimited(std::string& target, std::string_view text, size_t limit) {
  if (target.size() >= limit) return;
  size_t take = std::min(text.size(), limit - target.size());
  if (take < text.size())
    while (take > 0 && (static_cast<unsigned char>(text[take]) & 0xC0) == 0x80) --take;
  target.append(text.substr(0, take));
}

bool IsNumbered(ListStyle style) { return style != ListStyle::None && style != ListStyle::Bullet; }

struct FontEntry {
  std::string name;
  int charset = kDefaultCharset;
  int codePage = 0;  // \cpg; 0: the character set's
};

struct ListLevel {
  ListStyle style = ListStyle::Decimal;
  int startAt = 1;
};

struct ListDefinition {
  int id = 0;
  std::vector<ListLevel> levels;
};

struct ListOverride {
  int listId = 0;
  int number = 0;  // \ls
};

// Old-style paragraph numbering (\pn).
struct OldNumbering {
  ListStyle style = ListStyle::None;
  int level = 0;
  int startAt = 1;
};

struct ParagraphState {
  ParagraphFormat format;
  int listOverride = 0;  // \ls; 0: none
  int listLevel = 0;     // \ilvl
  OldNumbering numbering;
  TabStop::Kind nextTabKind = TabStop::Kind::Left;
};

struct CharState {
  bool bold = false, italic = false, underline = false, strikeOut = false;
  int font = -1;  // -1: the default font (\deff)
  int sizeHalfPoints = kRtfDefaultFontSizeHalfPoints;
  int color = 0;  // index into the colour table; 0 and unknown: automatic
  bool hidden = false;  // hidden text (\v) and text deleted with revision marks (\deleted)
};

struct GroupState {
  Destination destination = Destination::Body;
  CharState chars;
  ParagraphState paragraph;
  int unicodeSkip = 1;  // \uc
  bool starred = false; // the group started with \*: an unknown destination word skips it
  bool wordSeen = false;
};

class Reader {
 public:
  explicit Reader(std::string_view bytes) : lexer_(bytes) {}
  RtfReadResult Read();

 private:
  void Problem(std::string text);
  void OnGroupStart();
  void OnGroupEnd();
  void OnWord(const RtfToken& token);
  void OnSymbol(char symbol);
  void OnText(std::string_view text);
  void OnHexByte(uint8_t byte);
  void OnUnicode(int32_t value);
  bool OnDestinationWord(std::string_view word);
  bool OnCharacterWord(std::string_view word, bool hasParameter, int32_t parameter);
  bool OnParagraphWord(std::string_view word, bool hasParameter, int32_t parameter);
  void OnTableWord(std::string_view word, int32_t parameter);

  // Text collection: 8-bit bytes wait here until something else comes, then are converted
  // from their code page all at once (double-byte code pages need the bytes together).
  int CodePageOf(const FontEntry& font) const;
  int TextCodePage() const;
  void AddByte(char byte);
  void FlushBytes();
  void Emit(std::string_view utf8);
  void EndFontEntry();
  void EndColorEntry();
  void EndParagraph();
  void FinishDocument();
  CharFormat CurrentCharFormat() const;
  ListMark ResolveListMark();
  const ListLevel* FindListLevel(int overrideNumber, int level);

  GroupState& State() { return stack_.back(); }
  const GroupState& State() const { return stack_.back(); }

  RtfLexer lexer_;
  RtfReadResult result_;
  std::vector<GroupState> stack_;
  size_t skipDepth_ = 0;         // > 0: inside a skipped group, this many levels deep
  bool skipHasNoState_ = false;  // the skipped group was too deep to get a state of its own
  int pendingFallback_ = 0;      // characters of a \u fallback still to pass over
  char16_t highSurrogate_ = 0;
  bool documentEnded_ = false;

  int documentCodePage_ = 1252;
  int defaultFont_ = 0;
  std::string pendingBytes_;
  int pendingCodePage_ = 0;

  std::map<int, FontEntry> fonts_;
  int definingFont_ = -1;
  size_t fontEntryDepth_ = 0;  // the group depth at which the font in definition began
  FontEntry fontInDefinition_;
  std::vector<std::optional<Color>> colors_;
  std::optional<Color> colorInDefinition_;
  bool colorComponentSeen_ = false;
  std::vector<ListDefinition> lists_;
  std::vector<ListOverride> overrides_;
  bool listsChanged_ = false;
  std::map<int, int> listOfOverride_;  // \ls number -> list id
  std::map<int, const ListDefinition*> listById_;

  Paragraph paragraph_;
  std::string markText_;
  std::array<int, kMaxListLevel + 1> counters_{};  // last number shown per list level
  std::array<ListStyle, kMaxListLevel + 1> counterStyles_{};
  bool previousWasList_ = false;
};

void Reader::Problem(std::string text) {
  if (result_.problems.size() < kMaxProblems) result_.problems.push_back(std::move(text));
}

RtfReadResult Reader::Read() {
  for (RtfToken token = lexer_.Next(); token.kind != RtfToken::Kind::End; token = lexer_.Next()) {
    if (skipDepth_ > 0) {
      if (token.kind == RtfToken::Kind::GroupStart) {
        ++skipDepth_;
      } else if (token.kind == RtfToken::Kind::GroupEnd && --skipDepth_ == 0) {
        if (skipHasNoState_)
          skipHasNoState_ = false;
        else
          OnGroupEnd();
      }
      continue;
    }
    if (documentEnded_) {
      const bool blank = token.kind == RtfToken::Kind::Text &&
                         token.text.find_first_not_of(std::string_view(" \t\0", 3)) == std::string_view::npos;
      if (!blank) {
        Problem("text after the end of the document is ignored");
        break;
      }
      continue;
    }
    if (pendingFallback_ > 0) {
      if (token.kind == RtfToken::Kind::Text) {
        const size_t passed = std::min(token.text.size(), static_cast<size_t>(pendingFallback_));
        pendingFallback_ -= static_cast<int>(passed);
        token.text.remove_prefix(passed);
        if (token.text.empty()) continue;
      } else if (token.kind == RtfToken::Kind::GroupStart || token.kind == RtfToken::Kind::GroupEnd) {
        pendingFallback_ = 0;
      } else {
        --pendingFallback_;
        continue;
      }
    }
    switch (token.kind) {
      case RtfToken::Kind::GroupStart: OnGroupStart(); break;
      case RtfToken::Kind::GroupEnd: OnGroupEnd(); break;
      case RtfToken::Kind::Word: OnWord(token); break;
      case RtfToken::Kind::Symbol: OnSymbol(token.symbol); break;
      case RtfToken::Kind::HexByte: OnHexByte(token.byte); break;
      case RtfToken::Kind::Text: OnText(token.text); break;
      case RtfToken::Kind::End: break;
    }
  }
  if (!documentEnded_ && !stack_.empty()) {
    const size_t open = stack_.size() + (skipHasNoState_ ? skipDepth_ : 0);
    Problem("the text ends inside " + std::to_string(open) + " unclosed group" + (open == 1 ? "" : "s") +
            " (a truncated file?)");
    FinishDocument();
  }
  return std::move(result_);
}

void Reader::OnGroupStart() {
  FlushBytes();
  if (stack_.size() >= kMaxGroupDepth) {
    if (!skipHasNoState_) Problem("groups nested deeper than " + std::to_string(kMaxGroupDepth) + " levels are left out");
    skipDepth_ = 1;
    skipHasNoState_ = true;
    return;
  }
  GroupState state = stack_.empty() ? GroupState{} : State();
  state.starred = false;
  state.wordSeen = false;
  stack_.push_back(std::move(state));
}

void Reader::OnGroupEnd() {
  FlushBytes();
  if (stack_.empty()) return;
  if (stack_.size() == 1) {
    FinishDocument();
    stack_.pop_back();
    documentEnded_ = true;
    return;
  }
  const GroupState closed = std::move(stack_.back());
  stack_.pop_back();
  if (closed.destination == Destination::FontTable && stack_.size() + 1 == fontEntryDepth_) {
    if (definingFont_ >= 0 && !fontInDefinition_.name.empty()) EndFontEntry();  // no closing ";"
    fontEntryDepth_ = 0;
  }
  if (closed.destination == Destination::Numbering && State().destination != Destination::Numbering)
    State().paragraph.numbering = closed.paragraph.numbering;  // \pn describes the enclosing paragraph
}

void Reader::FinishDocument() {
  FlushBytes();
  if (!paragraph_.runs.empty()) EndParagraph();
}

void Reader::OnSymbol(char symbol) {
  if (stack_.empty()) return;
  switch (symbol) {
    case '*':
      State().starred = true;
      return;
    case '\\': case '{': case '}':
      AddByte(symbol);
      return;
    case '~': FlushBytes(); Emit("\u00A0"); return;
    case '_': FlushBytes(); Emit("\u2011"); return;
    case '\n': case '\t':  // "\<line end>" is a paragraph end; a backslash before a tab, a tab
      FlushBytes();
      if (symbol == '\n') {
        if (State().destination == Destination::Body) EndParagraph();
      } else {
        Emit("\t");
      }
      return;
    default: return;  // \- (optional hyphen), \| \: (index entries) and the rest
  }
}

void Reader::OnText(std::string_view text) {
  if (stack_.empty()) return;
  switch (State().destination) {
    case Destination::FontTable:
      for (char c : text) {
        if (c == ';') {
          FlushBytes();
          EndFontEntry();
        } else {
          AddByte(c);
        }
      }
      return;
    case Destination::ColorTable:
      for (char c : text)
        if (c == ';') EndColorEntry();
      return;
    default:
      for (char c : text) AddByte(c);
  }
}

void Reader::OnHexByte(uint8_t byte) {
  if (stack_.empty()) return;
  AddByte(static_cast<char>(byte));
}

void Reader::OnUnicode(int32_t value) {
  FlushBytes();
  pendingFallback_ = State().unicodeSkip;
  // Numbers are signed 16-bit: -1 is U+FFFF. Anything outside that range is no character.
  const char16_t unit = value < -32768 || value > 65535 ? 0xFFFD : static_cast<char16_t>(value < 0 ? value + 65536 : value);
  if (unit >= 0xD800 && unit < 0xDC00) {
    if (highSurrogate_) Emit("");  // the earlier high surrogate had no partner
    highSurrogate_ = unit;
    return;
  }
  if (highSurrogate_) {
    const char16_t high = highSurrogate_;
    highSurrogate_ = 0;
    if (unit >= 0xDC00 && unit < 0xE000) {
      Emit(Utf16ToUtf8Lenient(std::u16string{high, unit}));
      return;
    }
    Emit("\uFFFD");  // a high surrogate without its partner
  }
  if (unit < 0x20) {
    if (unit == '\t') Emit("\t");
    return;  // other control characters are not text, as with 8-bit text
  }
  Emit(Utf16ToUtf8Lenient(std::u16string(1, unit)));
}

int Reader::CodePageOf(const FontEntry& font) const {
  const int codePage = font.codePage ? font.codePage : CodePageOfCharset(font.charset);
  return codePage ? codePage : documentCodePage_;
}

int Reader::TextCodePage() const {
  const GroupState& state = State();
  if (state.destination == Destination::FontTable) return CodePageOf(fontInDefinition_);
  auto font = fonts_.find(state.chars.font < 0 ? defaultFont_ : state.chars.font);
  if (font == fonts_.end()) font = fonts_.find(defaultFont_);
  return font == fonts_.end() ? documentCodePage_ : CodePageOf(font->second);
}

void Reader::AddByte(char byte) {
  const Destination destination = State().destination;
  if (destination == Destination::Skip || destination == Destination::ColorTable ||
      destination == Destination::ListTable || destination == Destination::ListOverrides ||
      destination == Destination::Numbering)
    return;
  const unsigned char c = static_cast<unsigned char>(byte);
  if (c < 0x20 && c != '\t') return;  // control characters are not text in RTF
  const int codePage = TextCodePage();
  if (!pendingBytes_.empty() && codePage != pendingCodePage_) FlushBytes();
  pendingCodePage_ = codePage;
  pendingBytes_ += byte;
}

void Reader::FlushBytes() {
  if (pendingBytes_.empty()) return;
  const bool ascii = std::all_of(pendingBytes_.begin(), pendingBytes_.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  std::string bytes = std::move(pendingBytes_);
  pendingBytes_.clear();
  if (ascii) {
    Emit(bytes);
    return;
  }
  // Some code pages (EBCDIC ones) give control characters for printable bytes: not text either.
  std::string text = AnsiToUtf8(bytes, pendingCodePage_);
  std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
  Emit(text);
}

void Reader::Emit(std::string_view utf8) {
  if (stack_.empty()) return;
  if (highSurrogate_) {
    highSurrogate_ = 0;
    Emit("\uFFFD");
  }
  switch (State().destination) {
    case Destination::Body:
      if (!State().chars.hidden) AppendText(paragraph_, utf8, CurrentCharFormat());
      return;
    case Destination::FontTable:
      AppendLimited(fontInDefinition_.name, utf8, kMaxFontNameBytes);
      return;
    case Destination::MarkText:
      AppendLimited(markText_, utf8, kMaxMarkTextBytes);
      return;
    default: return;
  }
}

void Reader::EndFontEntry() {
  if (definingFont_ >= 0) {
    std::string& name = fontInDefinition_.name;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(name.begin());
    fonts_[definingFont_] = fontInDefinition_;
  }
  definingFont_ = -1;
  fontInDefinition_ = FontEntry{};
}

void Reader::EndColorEntry() {
  colors_.push_back(colorComponentSeen_ ? colorInDefinition_ : std::nullopt);
  colorInDefinition_.reset();
  colorComponentSeen_ = false;
}

CharFormat Reader::CurrentCharFormat() const {
  const CharState& chars = State().chars;
  CharFormat format;
  format.bold = chars.bold;
  format.italic = chars.italic;
  format.underline = chars.underline;
  format.strikeOut = chars.strikeOut;
  format.sizeHalfPoints = chars.sizeHalfPoints;
  auto font = fonts_.find(chars.font < 0 ? defaultFont_ : chars.font);
  if (font == fonts_.end()) font = fonts_.find(defaultFont_);
  if (font != fonts_.end()) {
    format.fontName = font->second.name;
    format.fontCharset = font->second.charset;
  }
  if (chars.color >= 0 && static_cast<size_t>(chars.color) < colors_.size()) format.color = colors_[chars.color];
  return format;
}

// The value of a Roman number such as "xiv" (either case).
int RomanValue(std::string_view text) {
  const auto digit = [](char c) {
    switch (c | 0x20) {
      case 'i': return 1;
      case 'v': return 5;
      case 'x': return 10;
      case 'l': return 50;
      case 'c': return 100;
      case 'd': return 500;
      default: return 1000;
    }
  };
  int value = 0;
  for (size_t i = 0; i < text.size() && i < 16; ++i) {
    const int here = digit(text[i]);
    value += i + 1 < text.size() && digit(text[i + 1]) > here ? -here : here;
  }
  return std::max(value, 0);
}

// The style of a shown mark such as "1.", "b)", "iv." or a bullet character.
ListMark MarkOfText(std::string_view text) {
  ListMark mark;
  while (!text.empty() && (text.back() == '\t' || text.back() == ' ')) text.remove_suffix(1);
  while (!text.empty() && (text.front() == '\t' || text.front() == ' ')) text.remove_prefix(1);
  if (text.empty()) return mark;
  while (!text.empty() && (text.back() == '.' || text.back() == ')')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '(') text.remove_prefix(1);
  const auto all = [&](auto predicate) { return !text.empty() && std::all_of(text.begin(), text.end(), predicate); };
  if (all([](char c) { return c >= '0' && c <= '9'; })) {
    mark.style = ListStyle::Decimal;
    mark.number = std::min(static_cast<int>(std::stol(std::string(text.substr(0, 9)))), 999999);
  } else if (text.size() > 1 && all([](char c) { return std::string_view("ivxlcdm").find(c) != std::string_view::npos; })) {
    mark.style = ListStyle::LowerRoman;
    mark.number = RomanValue(text);
  } else if (text.size() > 1 && all([](char c) { return std::string_view("IVXLCDM").find(c) != std::string_view::npos; })) {
    mark.style = ListStyle::UpperRoman;
    mark.number = RomanValue(text);
  } else if (text.size() == 1 && text[0] >= 'a' && text[0] <= 'z') {
    mark.style = ListStyle::LowerLetter;
    mark.number = text[0] - 'a' + 1;
  } else if (text.size() == 1 && text[0] >= 'A' && text[0] <= 'Z') {
    mark.style = ListStyle::UpperLetter;
    mark.number = text[0] - 'A' + 1;
  } else {
    mark.style = ListStyle::Bullet;
  }
  return mark;
}

const ListLevel* Reader::FindListLevel(int overrideNumber, int level) {
  if (listsChanged_) {
    // Indexed once the tables are read (they precede the text), so that a paragraph costs a
    // look-up and not a search through every list. The first definition of a number counts.
    listOfOverride_.clear();
    listById_.clear();
    for (const ListOverride& entry : overrides_) listOfOverride_.emplace(entry.number, entry.listId);
    for (const ListDefinition& list : lists_) listById_.emplace(list.id, &list);
    listsChanged_ = false;
  }
  const auto override = listOfOverride_.find(overrideNumber);
  if (override == listOfOverride_.end()) return nullptr;
  const auto list = listById_.find(override->second);
  if (list == listById_.end() || static_cast<size_t>(level) >= list->second->levels.size()) return nullptr;
  return &list->second->levels[level];
}

ListMark Reader::ResolveListMark() {
  const ParagraphState& state = State().paragraph;
  const ListMark shown = MarkOfText(markText_);
  ListMark mark;
  int startAt = 1;
  if (state.listOverride > 0) {
    mark.level = std::clamp(state.listLevel, 0, kMaxListLevel);
    mark.style = shown.style == ListStyle::None ? ListStyle::Decimal : shown.style;
    if (const ListLevel* level = FindListLevel(state.listOverride, mark.level)) {
      mark.style = level->style;
      startAt = level->startAt;
    }
  } else if (state.numbering.style != ListStyle::None) {
    mark.style = state.numbering.style;
    mark.level = std::clamp(state.numbering.level ? state.numbering.level : state.listLevel, 0, kMaxListLevel);
    startAt = state.numbering.startAt;
  } else {
    mark.style = shown.style;
  }
  if (mark.style == ListStyle::None) return mark;
  const bool continues = previousWasList_ && counterStyles_[mark.level] == mark.style && counters_[mark.level] > 0;
  if (IsNumbered(mark.style)) {
    if (shown.number > 0 && IsNumbered(shown.style))
      mark.number = shown.number;
    else
      mark.number = continues ? counters_[mark.level] + 1 : startAt;
  }
  counters_[mark.level] = mark.number;
  counterStyles_[mark.level] = mark.style;
  for (int level = mark.level + 1; level <= kMaxListLevel; ++level) counters_[level] = 0;
  return mark;
}

void Reader::EndParagraph() {
  FlushBytes();
  paragraph_.format = State().paragraph.format;
  paragraph_.format.list = ResolveListMark();
  previousWasList_ = paragraph_.format.list.style != ListStyle::None;
  if (!previousWasList_) counters_.fill(0);
  result_.document.paragraphs.push_back(std::move(paragraph_));
  paragraph_ = Paragraph{};
  markText_.clear();
}

bool Reader::OnDestinationWord(std::string_view word) {
  GroupState& state = State();
  Destination destination;
  if (word == "fonttbl") destination = Destination::FontTable;
  else if (word == "colortbl") destination = Destination::ColorTable;
  else if (word == "listtable") destination = Destination::ListTable;
  else if (word == "listoverridetable") destination = Destination::ListOverrides;
  else if (word == "pntext" || word == "listtext") destination = Destination::MarkText;
  else if (word == "pn") destination = Destination::Numbering;
  else if (IsSkippedDestination(word)) destination = Destination::Skip;
  else return false;
  if (destination == Destination::MarkText) markText_.clear();
  if (destination == Destination::Numbering) state.paragraph.numbering = OldNumbering{ListStyle::Decimal, 0, 1};
  state.destination = destination;
  if (destination == Destination::Skip) skipDepth_ = 1;
  return true;
}

bool Reader::OnCharacterWord(std::string_view word, bool hasParameter, int32_t parameter) {
  CharState& chars = State().chars;
  const bool on = !hasParameter || parameter != 0;
  if (word == "b") chars.bold = on;
  else if (word == "i") chars.italic = on;
  else if (word == "strike" || word == "striked") chars.strikeOut = on;
  else if (word == "ulnone") chars.underline = false;
  else if (word.starts_with("ul") && word != "ulc") chars.underline = on;
  else if (word == "f") chars.font = std::max(parameter, 0);
  else if (word == "fs") chars.sizeHalfPoints = hasParameter ? std::clamp(parameter, 2, 3276) : kRtfDefaultFontSizeHalfPoints;
  else if (word == "cf") chars.color = std::max(parameter, 0);
  else if (word == "v" || word == "deleted") chars.hidden = on;
  else if (word == "plain") chars = CharState{};
  else return false;
  return true;
}

bool Reader::OnParagraphWord(std::string_view word, bool hasParameter, int32_t parameter) {
  ParagraphState& paragraph = State().paragraph;
  ParagraphFormat& format = paragraph.format;
  constexpr int kMaxTwips = 31680 * 4;
  const int twips = std::clamp(parameter, -kMaxTwips, kMaxTwips);
  if (word == "pard") paragraph = ParagraphState{};
  else if (word == "ql") format.alignment = Alignment::Left;
  else if (word == "qc") format.alignment = Alignment::Centre;
  else if (word == "qr") format.alignment = Alignment::Right;
  else if (word == "qj" || word == "qd") format.alignment = Alignment::Justified;
  else if (word == "li" || word == "lin") format.leftIndentTwips = twips;
  else if (word == "ri" || word == "rin") format.rightIndentTwips = twips;
  else if (word == "fi") format.firstLineIndentTwips = twips;
  else if (word == "tqc") paragraph.nextTabKind = TabStop::Kind::Centre;
  else if (word == "tqr") paragraph.nextTabKind = TabStop::Kind::Right;
  else if (word == "tqdec") paragraph.nextTabKind = TabStop::Kind::Decimal;
  else if (word == "tb") paragraph.nextTabKind = TabStop::Kind::Left;
  else if (word == "tx") {
    if (hasParameter && format.tabStops.size() < kMaxTabStops) {
      const TabStop stop{twips, paragraph.nextTabKind};
      auto at = std::lower_bound(format.tabStops.begin(), format.tabStops.end(), stop,
                                 [](const TabStop& a, const TabStop& b) { return a.positionTwips < b.positionTwips; });
      if (at != format.tabStops.end() && at->positionTwips == stop.positionTwips) *at = stop;
      else format.tabStops.insert(at, stop);
    }
    paragraph.nextTabKind = TabStop::Kind::Left;
  } else if (word == "ls") paragraph.listOverride = std::max(parameter, 0);
  else if (word == "ilvl") paragraph.listLevel = std::clamp(parameter, 0, kMaxListLevel);
  else return false;
  return true;
}

// Words of the list table, the list override table, the colour table and \pn groups.
void Reader::OnTableWord(std::string_view word, int32_t parameter) {
  GroupState& state = State();
  switch (state.destination) {
    case Destination::ColorTable:
      if (word == "red" || word == "green" || word == "blue") {
        if (!colorInDefinition_) colorInDefinition_ = Color{};
        const auto value = static_cast<uint8_t>(std::clamp(parameter, 0, 255));
        (word == "red" ? colorInDefinition_->red : word == "green" ? colorInDefinition_->green : colorInDefinition_->blue) = value;
        colorComponentSeen_ = true;
      }
      return;
    case Destination::ListTable:
      listsChanged_ = true;
      if (word == "list") lists_.emplace_back();
      else if (lists_.empty()) return;
      else if (word == "listid") lists_.back().id = parameter;
      else if (word == "listlevel") lists_.back().levels.emplace_back();
      else if (lists_.back().levels.empty() || lists_.back().levels.size() > kMaxListLevel + 1) return;
      else if (word == "levelnfc" || word == "levelnfcn") lists_.back().levels.back().style = StyleOfLevelNumberFormat(parameter);
      else if (word == "levelstartat") lists_.back().levels.back().startAt = std::clamp(parameter, 0, 999999);
      return;
    case Destination::ListOverrides:
      listsChanged_ = true;
      if (word == "listoverride") overrides_.emplace_back();
      else if (overrides_.empty()) return;
      else if (word == "listid") overrides_.back().listId = parameter;
      else if (word == "ls") overrides_.back().number = parameter;
      return;
    case Destination::Numbering: {
      OldNumbering& numbering = state.paragraph.numbering;
      if (word == "pnlvlblt") numbering.style = ListStyle::Bullet;
      else if (word == "pnlvlbody") numbering.level = 0;
      else if (word == "pnlvlcont") numbering.style = ListStyle::None;
      else if (word == "pnlvl") numbering.level = std::clamp(parameter - 1, 0, kMaxListLevel);
      else if (word == "pndec") numbering.style = ListStyle::Decimal;
      else if (word == "pnucltr") numbering.style = ListStyle::UpperLetter;
      else if (word == "pnlcltr") numbering.style = ListStyle::LowerLetter;
      else if (word == "pnucrm") numbering.style = ListStyle::UpperRoman;
      else if (word == "pnlcrm") numbering.style = ListStyle::LowerRoman;
      else if (word == "pnstart") numbering.startAt = std::clamp(parameter, 0, 999999);
      return;
    }
    default: return;
  }
}

void Reader::OnWord(const RtfToken& token) {
  const std::string_view word = token.word;
  const int32_t parameter = token.hasParameter ? token.parameter : 0;
  if (stack_.empty()) return;
  GroupState& state = State();
  const bool firstWord = !state.wordSeen;
  state.wordSeen = true;
  if (word == "u" && token.hasParameter) {
    OnUnicode(parameter);
    return;
  }
  FlushBytes();
  if (OnDestinationWord(word)) return;
  if (state.starred && firstWord) {
    state.destination = Destination::Skip;  // an ignorable destination this reader does not know
    skipDepth_ = 1;
    return;
  }
  if (word == "uc") {
    state.unicodeSkip = std::clamp(parameter, 0, kMaxUnicodeSkip);
    return;
  }
  switch (state.destination) {
    case Destination::FontTable:
      if (word == "f") {
        if (definingFont_ >= 0 && !fontInDefinition_.name.empty()) EndFontEntry();
        definingFont_ = std::max(parameter, 0);
        fontInDefinition_ = FontEntry{};
        fontEntryDepth_ = stack_.size();
      } else if (word == "fcharset") {
        fontInDefinition_.charset = parameter;
      } else if (word == "cpg") {
        fontInDefinition_.codePage = parameter > 0 ? parameter : 0;
      }
      return;
    case Destination::ColorTable:
    case Destination::ListTable:
    case Destination::ListOverrides:
    case Destination::Numbering:
      OnTableWord(word, parameter);
      return;
    default: break;
  }
  if (word == "rtf" && stack_.size() == 1) return;
  if (word == "ansicpg") {
    if (parameter > 0) documentCodePage_ = parameter;
  } else if (word == "ansi") documentCodePage_ = 1252;
  else if (word == "mac") documentCodePage_ = 10000;
  else if (word == "pc") documentCodePage_ = 437;
  else if (word == "pca") documentCodePage_ = 850;
  else if (word == "deff") defaultFont_ = std::max(parameter, 0);
  else if (OnCharacterWord(word, token.hasParameter, parameter)) return;
  else if (OnParagraphWord(word, token.hasParameter, parameter)) return;
  else if (word == "par" || word == "sect" || word == "page" || word == "row") {
    if (state.destination == Destination::Body) EndParagraph();
  } else if (word == "line" || word == "lbr") Emit("\n");
  else if (word == "tab" || word == "cell" || word == "nestcell") Emit("\t");
  else if (word == "emdash") Emit("\u2014");
  else if (word == "endash") Emit("\u2013");
  else if (word == "emspace") Emit("\u2003");
  else if (word == "enspace") Emit("\u2002");
  else if (word == "qmspace") Emit("\u2005");
  else if (word == "bullet") Emit("\u2022");
  else if (word == "lquote") Emit("\u2018");
  else if (word == "rquote") Emit("\u2019");
  else if (word == "ldblquote") Emit("\u201C");
  else if (word == "rdblquote") Emit("\u201D");
  else if (word == "zwj") Emit("\u200D");
  else if (word == "zwnj") Emit("\u200C");
  // Everything else (section and page layout, styles, borders, unknown words) is passed over.
}

}  // namespace

bool LooksLikeRtf(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  return bytes.starts_with("{\\rtf");
}

RtfReadResult ReadRtf(std::string_view bytes) {
  if (!LooksLikeRtf(bytes)) {
    RtfReadResult result;
    result.problems.push_back("not RTF: the text does not start with {\\rtf");
    return result;
  }
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  RtfReadResult result = Reader(bytes).Read();
  result.isRtf = true;
  return result;
}

}  // namespace bvq::rtf
