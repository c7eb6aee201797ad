#include "rtf/rtf_writer.h"

#include <gtest/gtest.h>

#include "rich_text_support.h"
#include "rtf/rtf_reader.h"

namespace bvq::rtf {
namespace {

using test::Para;
using test::SampleDocument;
using test::StyledText;

class WriterRoundTrip : public testing::TestWithParam<int> {};

TEST_P(WriterRoundTrip, ReaderGetsTheSameDocument) {
  const int codePage = GetParam();
  // Its text has characters of the code page, of others, and outside the Basic Multilingual Plane.
  const RichDocument document = SampleDocument(codePage == 1251 ? 204 : 0);
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
                    EscapeCase{1252, "aПb", R"( a\u1055\'3fb\par)"},
                    EscapeCase{1251, "Пé", R"(\pard\'cf\u233\'3f\par)"},
                    EscapeCase{1251, "\u20AC", R"(\'88)"},
                    // A double-byte code page: its single-byte characters as hex, the rest as \u.
                    EscapeCase{932, "ｱあ", R"(\'b1\u12354\'3f)"},
                    EscapeCase{1252, "\uFFFF\uFB01", R"(\u-1\'3f\u-1279\'3f)"},
                    EscapeCase{1252, "😀", R"(\u-10179\'3f\u-8704\'3f)"},
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
