// Our RTF shown by the rich-edit control the installer's licence page uses, under Wine: every
// paragraph's alignment and list numbering and every run's styles, colour, size, face and text
// must be what the document says, in a Western and a Cyrillic code page.
#include <gtest/gtest.h>

#include "rich_text_support.h"
#include "richedit_oracle.h"
#include "rtf/rtf_writer.h"
#include "util/temp_dir.h"
#include "wine_capability.h"

namespace bvq::rtf {
namespace {

struct CodePageCase {
  int codePage;
  int charset;
};

void PrintTo(const CodePageCase& c, std::ostream* out) { *out << "code page " << c.codePage; }

class RichEditShowsOurRtf : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(RichEditShowsOurRtf, EveryRunAndParagraphAsWritten) {
  if (const std::string reason = bvq::testing::WineSkipReason(); !reason.empty()) GTEST_SKIP() << reason;
  if (const std::string reason = test::RichEditMissingReason(); !reason.empty()) GTEST_SKIP() << reason;
  const RichDocument document = test::SampleDocument(GetParam().charset);
  bvq::test::TempDir dir;
  const std::string path = dir.Write("licence.rtf", WriteRtf(document, GetParam().codePage));
  const test::RichEditView view =
      test::ShowInRichEdit(path, std::string(BVQ_BINARY_DIR) + "/tests/richedit-wineprefix/rtf");
  ASSERT_EQ(view.error, "");
  ASSERT_EQ(view.paragraphs.size(), document.paragraphs.size());
  for (size_t i = 0; i < document.paragraphs.size(); ++i)
    EXPECT_EQ(test::Describe(view.paragraphs[i]), test::Describe(test::ExpectedRichEdit(document.paragraphs[i])))
        << "paragraph " << i;
}

INSTANTIATE_TEST_SUITE_P(CodePages, RichEditShowsOurRtf,
                         ::testing::Values(CodePageCase{1252, kAnsiCharset}, CodePageCase{1251, 204}),
                         [](const ::testing::TestParamInfo<CodePageCase>& info) {
                           return "CodePage" + std::to_string(info.param.codePage);
                         });

}  // namespace
}  // namespace bvq::rtf
