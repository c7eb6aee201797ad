// RTF made at test time by programs nobody here wrote (LibreOffice from HTML, pandoc from
// Markdown), read by our reader: the text and formatting must be what the sources say.
#include <gtest/gtest.h>

#include <memory>

#include "oracle_tools.h"
#include "rich_text_support.h"
#include "rtf/rtf_reader.h"
#include "util/temp_dir.h"

namespace bvq::rtf {
namespace {

using test::ParagraphWith;
using test::RunWith;

constexpr const char* kSampleHtml = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Sample</title></head><body>
<p>Plain <b>bold words</b> and <i>italic words</i> and <u>underlined words</u>.</p>
<p align="center">Centred paragraph</p>
<p align="right">Right paragraph</p>
<ul><li>First bullet</li><li>Second bullet</li></ul>
<ol><li>First number</li><li>Second number</li></ol>
<p>Привет, мир. Café crème à la carte.</p>
<p><font color="#ff0000">Red text</font> <font face="Courier New">Courier text</font></p>
</body></html>
)";

constexpr const char* kSampleMarkdown = R"(Plain **bold words** and *italic words*.

- First bullet
- Second bullet

1. First number
2. Second number

Привет, мир. Café crème à la carte.
)";

std::vector<std::string> NonEmptyParagraphTexts(const RichDocument& document) {
  std::vector<std::string> texts;
  for (const Paragraph& paragraph : document.paragraphs)
    if (!ParagraphText(paragraph).empty()) texts.push_back(ParagraphText(paragraph));
  return texts;
}

// Reads RTF that a producer made: it must be sound.
RichDocument ReadProduced(const std::string& rtf) {
  const RtfReadResult read = ReadRtf(rtf);
  EXPECT_TRUE(read.isRtf);
  EXPECT_TRUE(read.problems.empty()) << read.problems.front();
  return read.document;
}

class LibreOfficeRtf : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string soffice = test::FindProgram("soffice");
    if (soffice.empty()) {
      skipReason_ = "LibreOffice (soffice) is not installed";
      return;
    }
    folder_ = std::make_unique<bvq::test::TempDir>();
    const std::string html = folder_->Write("sample.html", kSampleHtml);
    conversion_ = test::ConvertWithLibreOffice(soffice, {html}, "rtf", folder_->Path() + "out",
                                               folder_->Path() + "profile", "HTML (StarWriter)");
    rtf_ = ReadFileBytes(folder_->Path() + "out/sample.rtf").value_or("");
  }
  static void TearDownTestSuite() { folder_.reset(); }
  void SetUp() override {
    if (!skipReason_.empty()) GTEST_SKIP() << skipReason_;
    ASSERT_FALSE(rtf_.empty()) << "LibreOffice made no RTF: " << conversion_.output;
    document_ = ReadProduced(rtf_);
  }

  static inline std::string skipReason_;
  static inline std::unique_ptr<bvq::test::TempDir> folder_;
  static inline test::CommandResult conversion_;
  static inline std::string rtf_;
  RichDocument document_;
};

// One test for everything LibreOffice made: CTest runs each test in a process of its own, and
// every process would start LibreOffice again.
TEST_F(LibreOfficeRtf, TextFormattingAlignmentAndLists) {
  EXPECT_EQ(NonEmptyParagraphTexts(document_),
            (std::vector<std::string>{"Plain bold words and italic words and underlined words.", "Centred paragraph",
                                      "Right paragraph", "First bullet", "Second bullet", "First number",
                                      "Second number", "Привет, мир. Café crème à la carte.",
                                      "Red text Courier text"}))
      << rtf_;

  struct Expected {
    const char* text;
    bool bold, italic, underline;
  };
  for (const Expected& expected : {Expected{"Plain ", false, false, false}, Expected{"bold words", true, false, false},
                                   Expected{"italic words", false, true, false},
                                   Expected{"underlined words", false, false, true}}) {
    const rtf::Run* run = RunWith(document_, expected.text);
    ASSERT_NE(run, nullptr) << expected.text;
    EXPECT_EQ(run->format.bold, expected.bold) << expected.text;
    EXPECT_EQ(run->format.italic, expected.italic) << expected.text;
    EXPECT_EQ(run->format.underline, expected.underline) << expected.text;
  }
  ASSERT_NE(RunWith(document_, "Red text"), nullptr);
  EXPECT_EQ(RunWith(document_, "Red text")->format.color, (Color{255, 0, 0}));
  EXPECT_EQ(RunWith(document_, "Courier text")->format.fontName, "Courier New");
  EXPECT_NE(RunWith(document_, "Plain")->format.fontName, "");

  EXPECT_EQ(ParagraphWith(document_, "Centred")->format.alignment, Alignment::Centre);
  EXPECT_EQ(ParagraphWith(document_, "Right")->format.alignment, Alignment::Right);
  EXPECT_EQ(ParagraphWith(document_, "Plain")->format.alignment, Alignment::Left);
  EXPECT_EQ(ParagraphWith(document_, "Plain")->format.list.style, ListStyle::None);
  for (const char* bullet : {"First bullet", "Second bullet"}) {
    EXPECT_EQ(ParagraphWith(document_, bullet)->format.list.style, ListStyle::Bullet) << bullet;
    EXPECT_GT(ParagraphWith(document_, bullet)->format.leftIndentTwips, 0) << bullet;
  }
  EXPECT_EQ(ParagraphWith(document_, "First number")->format.list, (ListMark{ListStyle::Decimal, 0, 1}));
  EXPECT_EQ(ParagraphWith(document_, "Second number")->format.list, (ListMark{ListStyle::Decimal, 0, 2}));
}

class PandocRtf : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string pandoc = test::FindProgram("pandoc");
    if (pandoc.empty()) {
      skipReason_ = "pandoc is not installed";
      return;
    }
    folder_ = std::make_unique<bvq::test::TempDir>();
    const std::string markdown = folder_->Write("sample.md", kSampleMarkdown);
    conversion_ = test::RunCommand(test::Quoted(pandoc) + " -s -f markdown -t rtf " + test::Quoted(markdown));
  }
  static void TearDownTestSuite() { folder_.reset(); }
  void SetUp() override {
    if (!skipReason_.empty()) GTEST_SKIP() << skipReason_;
    ASSERT_EQ(conversion_.status, 0) << conversion_.output;
    document_ = ReadProduced(conversion_.output);
  }

  static inline std::string skipReason_;
  static inline std::unique_ptr<bvq::test::TempDir> folder_;
  static inline test::CommandResult conversion_;
  RichDocument document_;
};

TEST_F(PandocRtf, TextFormattingAndListIndents) {
  // pandoc writes list marks as text with a hanging indent and a tab stop.
  EXPECT_EQ(NonEmptyParagraphTexts(document_),
            (std::vector<std::string>{"Plain bold words and italic words.", "•\tFirst bullet", "•\tSecond bullet",
                                      "1.\tFirst number", "2.\tSecond number",
                                      "Привет, мир. Café crème à la carte."}))
      << conversion_.output;
  ASSERT_NE(RunWith(document_, "bold words"), nullptr);
  EXPECT_TRUE(RunWith(document_, "bold words")->format.bold);
  EXPECT_FALSE(RunWith(document_, "bold words")->format.italic);
  EXPECT_TRUE(RunWith(document_, "italic words")->format.italic);
  EXPECT_FALSE(RunWith(document_, "Plain")->format.bold);
  EXPECT_EQ(RunWith(document_, "Plain")->format.fontName, "Helvetica");
  const ParagraphFormat& item = ParagraphWith(document_, "First bullet")->format;
  EXPECT_GT(item.leftIndentTwips, 0);
  EXPECT_EQ(item.firstLineIndentTwips, -item.leftIndentTwips);
  ASSERT_EQ(item.tabStops.size(), 1u);
  EXPECT_EQ(item.tabStops[0].positionTwips, item.leftIndentTwips);
}

}  // namespace
}  // namespace bvq::rtf
