#include "rtf/plain_text.h"

#include <gtest/gtest.h>

#include "rtf/installer_text.h"
#include "rtf/rtf_reader.h"

namespace bvq::rtf {
namespace {

struct PlainCase {
  std::string bytes;
  int codePage;
  std::string expectedText;  // DocumentText: paragraphs joined by "\n"
  size_t paragraphs;
};

class PlainText : public testing::TestWithParam<PlainCase> {};

TEST_P(PlainText, OneParagraphPerLine) {
  const RichDocument document = DocumentFromPlainText(GetParam().bytes, GetParam().codePage);
  EXPECT_EQ(DocumentText(document), GetParam().expectedText);
  EXPECT_EQ(document.paragraphs.size(), GetParam().paragraphs);
  for (const Paragraph& paragraph : document.paragraphs)
    for (const rtf::Run& run : paragraph.runs) {
      EXPECT_EQ(run.format.fontName, kDefaultFontName);
      EXPECT_EQ(run.format.sizeHalfPoints, kDefaultFontSizeHalfPoints);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlainText,
    testing::Values(PlainCase{"", 1252, "", 0},
                    PlainCase{"one\r\ntwo\nthree\rfour", 1252, "one\ntwo\nthree\nfour", 4},
                    PlainCase{"a\r\n\r\nb\r\n", 1252, "a\n\nb\n", 4},
                    PlainCase{"tab\there", 1252, "tab\there", 1},
                    PlainCase{"\xcf\xf0\xe8\xe2\xe5\xf2", 1251, "Привет", 1},
                    PlainCase{"\xe9t\xe9", 1252, "été", 1},
                    // A byte order mark decides over the code page.
                    PlainCase{"\xEF\xBB\xBF\xD0\x9F\xC3\xA9", 1252, "Пé", 1},
                    PlainCase{std::string("\xFF\xFE\x1F\x04\n\0x\0", 8), 1252, "П\nx", 2},
                    PlainCase{std::string("\xFE\xFF\x04\x1F", 4), 1252, "П", 1}));

TEST(InstallerText, SoundRtfIsKeptAsItIs) {
  const std::string rtf = "{\\rtf1\\ansi{\\pict\\pngblip 89504e47}\\b licence\\par}";
  EXPECT_EQ(InstallerRichText(rtf, 1252), rtf);
}

TEST(InstallerText, DamagedRtfIsWrittenAnewFromWhatCouldBeRead) {
  const std::string made = InstallerRichText("{\\rtf1\\ansi\\ansicpg1251 {\\b \\'cf\\'f0\\'e8", 1251);
  const RtfReadResult read = ReadRtf(made);
  EXPECT_TRUE(read.problems.empty()) << made;
  EXPECT_EQ(DocumentText(read.document), "При");
  EXPECT_TRUE(read.document.paragraphs[0].runs[0].format.bold);
}

TEST(InstallerText, PlainTextBecomesRtfWithTheSameText) {
  for (int codePage : {1252, 1251}) {
    const std::string made = InstallerRichText("Licence {1}\r\n\r\nC:\\Program Files\r\n\xe9\xe0", codePage);
    const RtfReadResult read = ReadRtf(made);
    ASSERT_TRUE(read.isRtf) << made;
    EXPECT_TRUE(read.problems.empty());
    EXPECT_EQ(DocumentText(read.document), codePage == 1252 ? "Licence {1}\n\nC:\\Program Files\néà"
                                                            : "Licence {1}\n\nC:\\Program Files\nйа");
  }
  const RtfReadResult empty = ReadRtf(InstallerRichText("", 1252));
  EXPECT_TRUE(empty.isRtf);
  EXPECT_TRUE(empty.document.paragraphs.empty());
}

}  // namespace
}  // namespace bvq::rtf
