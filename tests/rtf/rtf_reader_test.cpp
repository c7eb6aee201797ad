#include "rtf/rtf_reader.h"

#include <gtest/gtest.h>

#include "rich_text_support.h"
#include "util/files.h"

namespace bvq::rtf {
namespace {

using test::ParagraphWith;
using test::RunWith;
using test::StyledText;
using namespace std::string_literals;

// Reads input that must be sound.
RichDocument Read(const std::string& rtf) {
  RtfReadResult result = ReadRtf(rtf);
  EXPECT_TRUE(result.isRtf);
  EXPECT_TRUE(result.problems.empty()) << rtf << "\nfirst problem: " << result.problems.front();
  return result.document;
}

struct TextCase {
  const char* body;      // between "{\rtf1 " and "}"
  const char* expected;  // StyledText of the document
};

class ReaderText : public testing::TestWithParam<TextCase> {};

TEST_P(ReaderText, GivesTheStyledText) {
  EXPECT_EQ(StyledText(Read(std::string("{\\rtf1 ") + GetParam().body + "}")), GetParam().expected)
      << GetParam().body;
}

INSTANTIATE_TEST_SUITE_P(
    CharacterFormatting, ReaderText,
    testing::Values(TextCase{R"(a{\b b}\i c\i0 d)", "a|[b]b|[i]c|d"},
                    TextCase{R"(\b x\b0 y\ul u\ulnone\uldb d\ul0 n\strike s\strike0\striked1 t)", "[b]x|y|[u]ud|n|[s]st"},
                    TextCase{R"(\b\i bi\plain p)", "[bi]bi|p"},
                    // Hidden text and text deleted with revision marks are not shown.
                    TextCase{R"(a{\v hidden}b\v c\v0 d{\deleted gone}e)", "abde"},
                    // A group restores the formatting in effect before it.
                    TextCase{R"(\b{\i\ul x}y)", "[biu]x|[b]y"}));

INSTANTIATE_TEST_SUITE_P(
    SpecialCharacters, ReaderText,
    testing::Values(TextCase{R"(a\tab b\line c)", "a\tb\nc"},
                    TextCase{R"(\{\}\\)", "{}\\"},
                    TextCase{R"(\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~)", "—–•‘’“”\u00A0"},
                    // Line ends in the file are not text; a backslash before one ends a paragraph.
                    TextCase{"a\r\nb\\\nc", "ab / c"},
                    TextCase{R"(one\par two\par)", "one / two"},
                    TextCase{R"(one\par\par two)", "one /  / two"}));

// Destinations without document text leave "AB" alone.
INSTANTIATE_TEST_SUITE_P(
    SkippedGroups, ReaderText,
    testing::Values(TextCase{R"(A{\*\unknowndestination junk {\nested more}}B)", "AB"},
                    TextCase{R"(A{\stylesheet{\s0\b Normal;}{\s1 Heading;}}B)", "AB"},
                    TextCase{R"(A{\info{\title T}{\author W}}B)", "AB"},
                    TextCase{R"(A{\pict\wmetafile8\picw10 0102ff}B)", "AB"},
                    TextCase{R"(A{\*\shppict{\pict\pngblip 00}}{\nonshppict{\pict 00}}B)", "AB"},
                    TextCase{R"(A{\header head}{\footer foot}B)", "AB"},
                    TextCase{R"(A\bin4 {}\}B)", "AB"},
                    TextCase{R"(A\someunknownword B)", "AB"},
                    TextCase{R"({\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt A}}B)", "AB"},
                    TextCase{R"({\field{\fldinst PAGE}{\fldrslt{\ul A}}}B)", "[u]A|B"}));

struct CodePageCase {
  const char* rtf;
  const char* expected;
};

class ReaderCodePages : public testing::TestWithParam<CodePageCase> {};

TEST_P(ReaderCodePages, DecodeToUnicode) { EXPECT_EQ(DocumentText(Read(GetParam().rtf)), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderCodePages,
    testing::Values(
        CodePageCase{R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8})", "При"},
        CodePageCase{R"({\rtf1\ansi \'e9\'80})", "é€"},
        // Raw 8-bit bytes are in the code page as well.
        CodePageCase{"{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0}", "Пр"},
        // A font's character set decides over the document's code page.
        CodePageCase{R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0 Arial;}{\f1\fcharset204 Arial;}{\f2\fcharset161 Arial;}}\'e9{\f1\'e9}{\f2\'e9}})",
                     "éйι"},
        CodePageCase{R"({\rtf1\ansi\ansicpg932 \'82\'a0\'82\'a2})", "あい"},
        // \uN and its fallback: \ucN characters (a hex escape counts as one) are passed over.
        CodePageCase{R"({\rtf1\uc1\u1087?\u1088\'3f!})", "пр!"},
        CodePageCase{R"({\rtf1\uc2\u1087??x{\uc0\u1088 y}\u1089??z})", "пxрyсz"},
        CodePageCase{R"({\rtf1\u8226\'95\tab x})", "•\tx"},
        // Negative numbers are the upper half; two surrogates make one character.
        CodePageCase{R"({\rtf1\u-3840?\u-10179?\u-8704?})", "\uF100😀"},
        CodePageCase{R"({\rtf1\u-10179?x})", "\uFFFDx"},
        // Control characters are not text, whichever way they come; a tab is. (In the EBCDIC
        // code page 274, 0x81 is "a" and 0x2D a control character.)
        CodePageCase{R"({\rtf1\ansi\ansicpg274 \'81\'2d\'82})", "ab"},
        CodePageCase{"{\\rtf1 a\\u2?\\u0?\\u9?\\'01\x02\\u10?b\\u-10179?\\u4?}", "a\tb\uFFFD"}));

TEST(Reader, FontAndColourTablesGiveNamesAndColours) {
  const RichDocument document = Read(
      R"({\rtf1\ansi\deff1{\fonttbl{\f0\froman\fcharset0 Times New Roman{\*\panose 02020603050405020304};})"
      R"({\f1\fswiss Arial;}{\f2\fcharset204 \'c0\'f0\'e8\'e0\'eb;}})"
      R"({\colortbl;\red255\green0\blue0;\red0\green128\blue255;})"
      R"(dflt {\f0\fs32 big} {\f2\cf2 cyr} {\cf1 red}\cf0 auto})");
  ASSERT_NE(RunWith(document, "dflt"), nullptr);
  EXPECT_EQ(RunWith(document, "dflt")->format.fontName, "Arial");
  EXPECT_EQ(RunWith(document, "dflt")->format.sizeHalfPoints, kRtfDefaultFontSizeHalfPoints);
  EXPECT_EQ(RunWith(document, "big")->format.fontName, "Times New Roman");
  EXPECT_EQ(RunWith(document, "big")->format.sizeHalfPoints, 32);
  EXPECT_EQ(RunWith(document, "cyr")->format.fontName, "Ариал");
  EXPECT_EQ(RunWith(document, "cyr")->format.fontCharset, 204);
  EXPECT_EQ(RunWith(document, "cyr")->format.color, (Color{0, 128, 255}));
  EXPECT_EQ(RunWith(document, "red")->format.color, (Color{255, 0, 0}));
  EXPECT_EQ(RunWith(document, "auto")->format.color, std::nullopt);
}

TEST(Reader, OverlongFontNameIsCutBeforeAWholeCharacter) {
  std::string name;
  for (int i = 0; i < 40; ++i) name += "\\'cf";  // "П" in Windows-1251: two bytes in UTF-8 each
  const RichDocument document = Read("{\\rtf1{\\fonttbl{\\f0\\fcharset204 x" + name + ";}}text}");
  const std::string& read = document.paragraphs.at(0).runs.at(0).format.fontName;
  EXPECT_EQ(read.size(), 63u);
  EXPECT_EQ(read.substr(0, 5), "xПП");
  EXPECT_EQ(read.substr(61), "П");
}

TEST(Reader, FontTableWithoutInnerGroups) {
  // As pandoc writes it.
  const RichDocument document = Read(R"({\rtf1\ansi\deff0{\fonttbl{\f0 \fswiss Helvetica;}{\f1 \fmodern Courier;}})"
                                     R"(x {\f1 code}})");
  EXPECT_EQ(RunWith(document, "x")->format.fontName, "Helvetica");
  EXPECT_EQ(RunWith(document, "code")->format.fontName, "Courier");
  const RichDocument flat = Read(R"({\rtf1{\fonttbl\f0\fswiss Helvetica;\f1\fmodern Courier;}{\f1 code}})");
  EXPECT_EQ(RunWith(flat, "code")->format.fontName, "Courier");
}

TEST(Reader, ParagraphFormatting) {
  const RichDocument document = Read(
      R"({\rtf1\pard\qc\li720\ri360\fi-360\tqr\tx5000\tqc\tx3000\tx1000 centred\par )"
      R"(still centred\par\pard\qr right\par\pard\qj just\par\pard plain\par})");
  ASSERT_EQ(document.paragraphs.size(), 5u);
  const ParagraphFormat& first = document.paragraphs[0].format;
  EXPECT_EQ(first.alignment, Alignment::Centre);
  EXPECT_EQ(first.leftIndentTwips, 720);
  EXPECT_EQ(first.rightIndentTwips, 360);
  EXPECT_EQ(first.firstLineIndentTwips, -360);
  EXPECT_EQ(first.tabStops, (std::vector<TabStop>{{1000, TabStop::Kind::Left},
                                                  {3000, TabStop::Kind::Centre},
                                                  {5000, TabStop::Kind::Right}}));
  // Paragraph properties stay until \pard.
  EXPECT_EQ(document.paragraphs[1].format, first);
  EXPECT_EQ(document.paragraphs[2].format.alignment, Alignment::Right);
  EXPECT_EQ(document.paragraphs[3].format.alignment, Alignment::Justified);
  EXPECT_EQ(document.paragraphs[4].format, ParagraphFormat{});
}

std::vector<ListMark> MarksOf(const RichDocument& document) {
  std::vector<ListMark> marks;
  for (const Paragraph& paragraph : document.paragraphs) marks.push_back(paragraph.format.list);
  return marks;
}

TEST(Reader, OldStyleBulletsAndNumbers) {
  // As rich-edit controls write them: the mark as \pntext, the numbering as \pn.
  const RichDocument document = Read(
      R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}})"
      R"(\pard{\pntext\f1\'B7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'B7}}\fi-720\li720 One\par)"
      R"({\pntext\f1\'B7\tab}Two\par)"
      R"(\pard{\pntext\f0 1.\tab}{\*\pn\pnlvlbody\pnf0\pnindent0\pnstart1\pnlcltr{\pntxta.}}N1\par)"
      R"({\pntext\f0 2.\tab}N2\par\pard After\par})");
  EXPECT_EQ(StyledText(document), "One / Two / N1 / N2 / After");
  EXPECT_EQ(MarksOf(document), (std::vector<ListMark>{{ListStyle::Bullet, 0, 0},
                                                      {ListStyle::Bullet, 0, 0},
                                                      {ListStyle::LowerLetter, 0, 1},
                                                      {ListStyle::LowerLetter, 0, 2},
                                                      {}}));
  EXPECT_EQ(document.paragraphs[0].format.leftIndentTwips, 720);
}

TEST(Reader, ListTableLevelsAndNumbering) {
  // Word-processor lists: \ls names an override, the override a list, the list its levels.
  const RichDocument document = Read(
      R"({\rtf1{\*\listtable{\list\listtemplateid7{\listlevel\levelnfc4\levelstartat1{\leveltext\'02\'00.;}{\levelnumbers\'01;}})"
      R"({\listlevel\levelnfc23{\leveltext\'01\u8226 ?;}{\levelnumbers;}}{\listname ;}\listid42}})"
      R"({\*\listoverridetable{\listoverride\listid42\listoverridecount0\ls3}})"
      R"(\pard\ls3\ilvl0 a\par\pard\ls3\ilvl1 sub\par\pard\ls3\ilvl0 b\par\pard plain\par\pard\ls3 again\par})");
  EXPECT_EQ(StyledText(document), "a / sub / b / plain / again");
  EXPECT_EQ(MarksOf(document), (std::vector<ListMark>{{ListStyle::LowerLetter, 0, 1},
                                                      {ListStyle::Bullet, 1, 0},
                                                      {ListStyle::LowerLetter, 0, 2},
                                                      {},
                                                      {ListStyle::LowerLetter, 0, 1}}));
}

TEST(Reader, ShownMarkTextGivesStyleAndNumber) {
  // Without list definitions the shown mark is all there is.
  const RichDocument document =
      Read(R"({\rtf1{\listtext 3.\tab}x\par{\listtext\pard\plain \u8226\'95\tab}y\par{\listtext ii)\tab}z\par{\listtext iii)\tab}zz\par})");
  EXPECT_EQ(StyledText(document), "x / y / z / zz");
  EXPECT_EQ(MarksOf(document), (std::vector<ListMark>{{ListStyle::Decimal, 0, 3},
                                                      {ListStyle::Bullet, 0, 0},
                                                      {ListStyle::LowerRoman, 0, 2},
                                                      {ListStyle::LowerRoman, 0, 3}}));
}

TEST(Reader, WordProcessorDocument) {
  // Word-processor RTF: style sheet, theme and revision data, associated fonts (\af, \hich,
  // \loch), list tables, a hyperlink field, bookmarks, section properties, CR LF line ends.
  const std::optional<std::string> rtf =
      ReadFileBytes(std::string(BVQ_SOURCE_DIR) + "/tests/rtf/fixtures/word_processor.rtf");
  ASSERT_TRUE(rtf);
  const RichDocument document = Read(*rtf);
  EXPECT_EQ(StyledText(document),
            "[b]End User Licence / Read the |[u]terms| before you install. / You may copy it. / [i]Once. / Third. / "
            "Привет — |[s]old");
  const Paragraph& title = document.paragraphs.at(0);
  EXPECT_EQ(title.format.alignment, Alignment::Centre);
  EXPECT_EQ(title.runs.at(0).format.sizeHalfPoints, 32);
  EXPECT_EQ(title.runs.at(0).format.fontName, "Calibri");
  EXPECT_EQ(document.paragraphs.at(1).format.alignment, Alignment::Justified);
  EXPECT_EQ(RunWith(document, "terms")->format.color, (Color{0, 0, 255}));
  EXPECT_EQ(MarksOf(document)[2], (ListMark{ListStyle::Bullet, 0, 0}));
  EXPECT_EQ(MarksOf(document)[3], (ListMark{ListStyle::LowerLetter, 1, 1}));
  EXPECT_EQ(MarksOf(document)[4], (ListMark{ListStyle::Decimal, 0, 3}));
  EXPECT_EQ(document.paragraphs.at(3).format.leftIndentTwips, 1440);
  EXPECT_EQ(document.paragraphs.at(3).format.firstLineIndentTwips, -360);
  const Paragraph& last = document.paragraphs.at(5);
  EXPECT_EQ(last.format.alignment, Alignment::Right);
  EXPECT_EQ(last.runs.at(0).format.fontName, "Calibri Cyr");
  EXPECT_EQ(last.runs.at(0).format.color, (Color{192, 0, 0}));
}

struct DamageCase {
  std::string rtf;
  std::string expectedText;
  std::string problemMentions;  // empty: the input is sound
};

class ReaderDamage : public testing::TestWithParam<DamageCase> {};

TEST_P(ReaderDamage, GivesBestEffortTextAndSaysWhy) {
  const RtfReadResult result = ReadRtf(GetParam().rtf);
  EXPECT_TRUE(result.isRtf);
  EXPECT_EQ(DocumentText(result.document), GetParam().expectedText);
  if (GetParam().problemMentions.empty()) {
    EXPECT_TRUE(result.problems.empty()) << result.problems.front();
  } else {
    ASSERT_FALSE(result.problems.empty());
    EXPECT_NE(result.problems.front().find(GetParam().problemMentions), std::string::npos) << result.problems.front();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderDamage,
    testing::Values(DamageCase{R"({\rtf1 Hello \b wor)", "Hello wor", "unclosed"},
                    DamageCase{R"({\rtf1 one\par {\b two)", "one\ntwo", "2 unclosed groups"},
                    DamageCase{R"({\rtf1 A}B})", "A", "after the end"},
                    DamageCase{"{\\rtf1 A}\r\n\0\0"s, "A", ""},
                    DamageCase{R"({\rtf1 x\'4)", "x", "unclosed"},
                    DamageCase{R"({\rtf1 x\)", "x", "unclosed"},
                    DamageCase{R"({\rtf1 x\'zzy})", "xzzy", ""},
                    DamageCase{R"({\rtf1 x\bin99999999999 abc})", "x", "unclosed"},
                    DamageCase{R"({\rtf1\uc99999999999\u65 abc{}\u-99999999999 d})", "A\uFFFD", ""},
                    DamageCase{std::string("{\\rtf1 out") + std::string(100000, '{') + "deep" + std::string(100000, '}') + "side}",
                               "outside", "nested deeper"},
                    DamageCase{std::string("{\\rtf1 ") + std::string(100000, '}'), "", "after the end"}));

TEST(Reader, HugeParametersAreBounded) {
  std::string rtf = R"({\rtf1\fs99999999999999999999\li-99999999999999999\f99999999999 x)";
  for (int i = 0; i < 10000; ++i) rtf += "\\tx" + std::to_string(i);
  rtf += R"(\par})";
  const RichDocument document = Read(rtf);
  ASSERT_EQ(document.paragraphs.size(), 1u);
  EXPECT_EQ(ParagraphText(document.paragraphs[0]), "x");
  EXPECT_LE(document.paragraphs[0].runs[0].format.sizeHalfPoints, 3276);
  EXPECT_LT(document.paragraphs[0].format.leftIndentTwips, 0);
  EXPECT_LE(document.paragraphs[0].format.tabStops.size(), 64u);
}

TEST(Reader, RefusesWhatIsNotRtf) {
  for (const char* input : {"", "plain text", "{\\rt", " {\\rtf1 x}"}) {
    const RtfReadResult result = ReadRtf(input);
    EXPECT_FALSE(result.isRtf) << input;
    EXPECT_TRUE(result.document.paragraphs.empty());
    EXPECT_FALSE(result.problems.empty());
  }
  EXPECT_TRUE(ReadRtf("\xEF\xBB\xBF{\\rtf1 x}").isRtf);
  EXPECT_TRUE(LooksLikeRtf("{\\rtf1"));
  EXPECT_FALSE(LooksLikeRtf("\\rtf1"));
}

}  // namespace
}  // namespace bvq::rtf
