#include "rtf/rtf_writer.h"

#include <gtest/gtest.h>

#include "rich_text_support.h"
#include "rtf/rtf_reader.h"

namespace bvq::rtf {
namespace {

using test::StyledText;

CharFormat Format(int charset) {
  CharFormat format;
  format.fontName = "Arial";
  format.fontCharset = charset;
  return format;
}

Paragraph Para(std::vector<Run> runs, ParagraphFormat format = {}) { return Paragraph{std::move(format), std::move(runs)}; }

// A document with every kind of formatting the model holds, in fonts of the given character set.
RichDocument EverythingDocument(int charset) {
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
      Para({{"Plain, ", plain}, {"italic", italic}, {", underlined", underline}, {", struck", strike}, {" and red.", red}}),
      Para({{"Braces {} and \\ backslash\tafter a tab\nand a line break; 1 2 3 digits", plain}}, indented),
      Para({{"code()", courier}, {" αβγ", greek}}, right),
      Para({}),
      Para({{"first bullet", plain}}, listItem(ListStyle::Bullet, 0, 0)),
      Para({{"second bullet", plain}}, listItem(ListStyle::Bullet, 0, 0)),
      Para({{"one", plain}}, listItem(ListStyle::Decimal, 0, 1)),
      Para({{"nested", plain}}, listItem(ListStyle::LowerLetter, 1, 1)),
      Para({{"two", plain}}, listItem(ListStyle::Decimal, 0, 2)),
      Para({{"iv", plain}}, listItem(ListStyle::UpperRoman, 0, 4)),
  }};
}

class WriterRoundTrip : public testing::TestWithParam<int> {};

TEST_P(WriterRoundTrip, ReaderGetsTheSameDocument) {
  const int codePage = GetParam();
  RichDocument document = EverythingDocument(codePage == 1251 ? 204 : 0);
  // Text of the code page, of another one, and outside the Basic Multilingual Plane.
  document.paragraphs[1].runs.front().text = "Plain é, Привет, € 中文 😀 ";
  const std::string rtf = WriteRtf(document, codePage);
  const RtfReadResult read = ReadRtf(rtf);
  ASSERT_TRUE(read.problems.empty()) << read.problems.front();
  EXPECT_EQ(StyledText(read.document), StyledText(document));
  ASSERT_EQ(read.document.paragraphs.size(), document.paragraphs.size());
  for (size_t i = 0; i < document.paragraphs.size(); ++i)
    EXPECT_EQ(read.document.paragraphs[i], document.paragraphs[i]) << "paragraph " << i << "\n" << rtf;
}

INSTANTIATE_TEST_SUITE_P(CodePages, WriterRoundTrip, testing::Values(1252, 1251, 1250));

struct EscapeCase {
  int codePage;
  const char* text;
  const char* expectedRtf;  // the text as it must appear in the body
};

class WriterEscapes : public testing::TestWithParam<EscapeCase> {};

TEST_P(WriterEscapes, EncodeForTheCodePage) {
  CharFormat format;
  format.fontName = "Arial";
  const std::string rtf = WriteRtf(RichDocument{{Para({{GetParam().text, format}})}}, GetParam().codePage);
  EXPECT_NE(rtf.find(GetParam().expectedRtf), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\ansicpg" + std::to_string(GetParam().codePage)), std::string::npos) << rtf;
  EXPECT_EQ(rtf.find_first_of("\x80\xff"), std::string::npos) << "8-bit bytes in " << rtf;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriterEscapes,
    testing::Values(EscapeCase{1252, "é€", R"(\pard\'e9\'80\par)"},
                    EscapeCase{1252, "aПb", R"( a\u1055?b\par)"},
                    EscapeCase{1251, "Пé", R"(\pard\'cf\u233?\par)"},
                    EscapeCase{1251, "\u20AC", R"(\'88)"},
                    EscapeCase{1252, "\uFFFF\uFB01", R"(\u-1?\u-1279?)"},
                    EscapeCase{1252, "😀", R"(\u-10179?\u-8704?)"},
                    EscapeCase{1252, "{a}\\", R"( \{a\}\\\par)"},
                    EscapeCase{1252, "1\t2\n3", R"( 1\tab 2\line 3\par)"}));

TEST(Writer, FontTableGivesFontsTheCodePagesCharacterSet) {
  CharFormat format;  // no font name and the default character set
  const std::string rtf = WriteRtf(RichDocument{{Para({{"x", format}})}}, 1251);
  EXPECT_NE(rtf.find(R"({\rtf1\ansi\ansicpg1251\deff0)"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find(std::string(R"({\f0\fnil\fcharset204 )") + kDefaultFontName + ";}"), std::string::npos) << rtf;
}

TEST(Writer, EmptyDocumentIsValidRtf) {
  const std::string rtf = WriteRtf(RichDocument{}, 1252);
  const RtfReadResult read = ReadRtf(rtf);
  EXPECT_TRUE(read.isRtf);
  EXPECT_TRUE(read.problems.empty());
  EXPECT_TRUE(read.document.paragraphs.empty());
}

}  // namespace
}  // namespace bvq::rtf
