// Our writer's RTF read by programs nobody here wrote (unrtf, LibreOffice, pandoc), converted
// to HTML: they must see the text and formatting of the document we wrote.
#include <gtest/gtest.h>

#include <memory>

#include "oracle_tools.h"
#include "rich_text_support.h"
#include "rtf/font_charsets.h"
#include "rtf/rtf_writer.h"
#include "util/temp_dir.h"

namespace bvq::rtf {
namespace {

using test::BlockTagBefore;
using test::HtmlText;
using test::IsInside;

constexpr int kCodePages[] = {1252, 1251};

RichDocument Sample(int codePage) { return test::SampleDocument(CharsetOfCodePage(codePage)); }

// The text of every non-empty paragraph, blanks collapsed as HTML shows them.
std::vector<std::string> ShownParagraphTexts(const RichDocument& document) {
  std::vector<std::string> texts;
  for (const Paragraph& paragraph : document.paragraphs) {
    std::string text;
    for (char c : ParagraphText(paragraph)) {
      const char shown = c == '\t' || c == '\n' ? ' ' : c;
      if (shown != ' ' || text.empty() || text.back() != ' ') text += shown;
    }
    if (!text.empty()) texts.push_back(text);
  }
  return texts;
}

// The sample written in each code page, in one folder for all oracles.
class OurRtf : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = std::make_unique<bvq::test::TempDir>();
    for (int codePage : kCodePages) folder_->Write(Name(codePage) + ".rtf", WriteRtf(Sample(codePage), codePage));
  }
  static void TearDownTestSuite() { folder_.reset(); }
  static std::string Name(int codePage) { return "sample" + std::to_string(codePage); }
  static std::string PathOf(int codePage) { return folder_->Path() + Name(codePage) + ".rtf"; }

  // The text every reader must show for the sample.
  static void ExpectAllText(const std::string& html, int codePage) {
    const std::string shown = HtmlText(html);
    for (const std::string& text : ShownParagraphTexts(Sample(codePage)))
      EXPECT_NE(shown.find(text), std::string::npos) << "missing: " << text << "\nshown: " << shown;
  }

  // Bold, italic, underline and strike-out (shown with `strikeTag`) where the sample has them.
  static void ExpectCharacterStyles(const std::string& html, const std::string& strikeTag) {
    EXPECT_TRUE(IsInside(html, "Agreement", "b")) << html;
    EXPECT_FALSE(IsInside(html, "Plain", "b")) << html;
    EXPECT_TRUE(IsInside(html, "italic", "i")) << html;
    EXPECT_TRUE(IsInside(html, "underlined", "u")) << html;
    EXPECT_TRUE(IsInside(html, "struck", strikeTag)) << html;
  }

  static inline std::unique_ptr<bvq::test::TempDir> folder_;
};

class UnrtfReadsOurRtf : public OurRtf {};

TEST_F(UnrtfReadsOurRtf, TextAndFormatting) {
  const std::string unrtf = test::FindProgram("unrtf");
  if (unrtf.empty()) GTEST_SKIP() << "unrtf is not installed";
  for (int codePage : kCodePages) {
    SCOPED_TRACE("code page " + std::to_string(codePage));
    const test::CommandResult converted = test::RunCommand(test::Quoted(unrtf) + " --html " + test::Quoted(PathOf(codePage)));
    ASSERT_EQ(converted.status, 0) << converted.output;
    const std::string& html = converted.output;
    ExpectAllText(html, codePage);
    ExpectCharacterStyles(html, "s");
    EXPECT_EQ(BlockTagBefore(html, "Licence"), "<center>");
    EXPECT_EQ(BlockTagBefore(html, "code()"), "<div align=\"right\">");
    EXPECT_EQ(BlockTagBefore(html, "Braces"), "<div align=\"justify\">");
    EXPECT_LT(html.find("<font color=\"#c80a14\">"), html.find("and red.")) << html;
    EXPECT_LT(html.find("Courier New"), html.find("code()")) << html;
    // The marks of list paragraphs, as we wrote them into \pntext.
    for (const char* mark : {"&bull;", "1.", "a.", "2.", "IV."}) EXPECT_NE(html.find(mark), std::string::npos) << mark;
  }
}

class LibreOfficeReadsOurRtf : public OurRtf {};

TEST_F(LibreOfficeReadsOurRtf, TextFormattingAndLists) {
  const std::string soffice = test::FindProgram("soffice");
  if (soffice.empty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  std::vector<std::string> files;
  for (int codePage : kCodePages) files.push_back(PathOf(codePage));
  const test::CommandResult converted = test::ConvertWithLibreOffice(
      soffice, files, "html", folder_->Path() + "html", folder_->Path() + "profile");
  for (int codePage : kCodePages) {
    SCOPED_TRACE("code page " + std::to_string(codePage));
    const std::string html = ReadFileBytes(folder_->Path() + "html/" + Name(codePage) + ".html").value_or("");
    ASSERT_FALSE(html.empty()) << converted.output;
    ExpectAllText(html, codePage);
    ExpectCharacterStyles(html, "strike");
    EXPECT_NE(BlockTagBefore(html, "Licence").find("align=\"center\""), std::string::npos) << html;
    EXPECT_NE(BlockTagBefore(html, "code()").find("align=\"right\""), std::string::npos) << html;
    const std::string indented = BlockTagBefore(html, "Braces");
    EXPECT_NE(indented.find("align=\"justify\""), std::string::npos) << indented;
    EXPECT_NE(indented.find("margin-left: 0.5in"), std::string::npos) << indented;
    EXPECT_NE(indented.find("text-indent: -0.25in"), std::string::npos) << indented;
    EXPECT_LT(html.find("#c80a14"), html.find("and red.")) << html;
    EXPECT_LT(html.find("font-size: 20pt"), html.find("Licence")) << html;
    // Bullets and numbers are real lists, the nested item one level deeper.
    EXPECT_EQ(test::OpenCountBefore(html, "first", "<ul", "</ul>"), 1) << html;
    EXPECT_EQ(test::OpenCountBefore(html, "one<", "<ol", "</ol>"), 1) << html;
    EXPECT_EQ(test::OpenCountBefore(html, "nested", "<ol", "</ol>"), 2) << html;
    EXPECT_EQ(test::OpenCountBefore(html, "Plain", "<ul", "</ul>"), 0) << html;
  }
}

class PandocReadsOurRtf : public OurRtf {};

TEST_F(PandocReadsOurRtf, TextAndFormatting) {
  const std::string pandoc = test::FindProgram("pandoc");
  if (pandoc.empty()) GTEST_SKIP() << "pandoc is not installed";
  // pandoc reads 8-bit text as Windows-1252 whatever the document or the font says, and \u
  // surrogate pairs not at all: it judges the Windows-1252 file, without the Greek font's text
  // and the character beyond 16 bits.
  const test::CommandResult converted =
      test::RunCommand(test::Quoted(pandoc) + " -f rtf -t html " + test::Quoted(PathOf(1252)));
  ASSERT_EQ(converted.status, 0) << converted.output;
  const std::string& html = converted.output;
  const std::string shown = HtmlText(html);
  for (const char* text : {"Licence Agreement", "Plain é, Привет, € 中文", "Braces {} and \\ backslash after a tab",
                           "code()", "first bullet", "nested"})
    EXPECT_NE(shown.find(text), std::string::npos) << text << "\n" << shown;
  EXPECT_NE(html.find("<strong>Licence Agreement</strong>"), std::string::npos) << html;
  EXPECT_NE(html.find("<em>italic</em>"), std::string::npos) << html;
  EXPECT_TRUE(IsInside(html, "underlined", "u")) << html;
  EXPECT_TRUE(IsInside(html, "struck", "del")) << html;
}

}  // namespace
}  // namespace bvq::rtf
