#include "util/strings.h"

#include <gtest/gtest.h>

namespace bvq {
namespace {

TEST(SplitText, PiecesEmptyPiecesAndTrailingSeparator) {
  EXPECT_EQ(SplitText(".", "1..2."), (TStrList{"1", "", "2"}));
  EXPECT_EQ(SplitText(".", ""), TStrList{});
  EXPECT_EQ(SplitText(", ", "a, b, c"), (TStrList{"a", "b", "c"}));
  EXPECT_EQ(SplitText(".", ".a"), (TStrList{"", "a"}));
}

TEST(ReplaceAll, Cases) {
  struct Case {
    const char* text;
    const char* searched;
    const char* replacement;
    const char* expected;
  } cases[] = {
      {"a%X%b", "%X%", "", "ab"},
      {"aaaa", "aa", "a", "a"},           // each round starts again at the first character
      {"abc", "b", "abc", "abc"},          // text equal to the replacement: unchanged
      {"xbx", "b", "b", "xbx"},            // searched equal to the replacement
      {"ab", "", "z", "ab"},               // nothing to search for
      {"%A%%A%", "%A%", "x%A%y", "x%A%yx%A%y"},  // replacement holds the searched text: one pass
      {"aab", "ab", "b", "b"},             // replacement forms a new occurrence before it
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReplaceAll(c.text, c.searched, c.replacement), c.expected) << c.text << " / " << c.searched;
}

TEST(TextHelpers, TrimCutNameLastFourFlags) {
  EXPECT_EQ(TrimBlanks("  a b \t "), "a b \t");
  EXPECT_EQ(TrimBlanks("   "), "");
  std::string text = "key=value;rest";
  EXPECT_EQ(CutToken(text, "=;"), "key");
  EXPECT_EQ(text, "value;rest");
  EXPECT_EQ(CutToken(text, "#"), "value;rest");
  EXPECT_EQ(text, "");
  EXPECT_EQ(NameBeforeParenthesis("Russian (Русский)"), "Russian");
  EXPECT_EQ(NameBeforeParenthesis("English"), "English");
  EXPECT_EQ(LastFourChars("photo.jpeg"), "jpeg");
  EXPECT_EQ(LastFourChars("a.b"), "a.b");
  EXPECT_EQ(FlagText(true), "1");
  EXPECT_FALSE(TextFlag("true"));
  EXPECT_TRUE(TextFlag("1"));
}

TEST(UnescapeLanguageText, FourPassesInOrder) {
  EXPECT_EQ(UnescapeLanguageText("Word#32#progname#"), "Word Belvandorithquessal");
  EXPECT_EQ(UnescapeLanguageText("a#13#10b"), "a\r\nb");
  // "#progname#" is replaced before "#32", so the program name never meets the blank pass.
  EXPECT_EQ(UnescapeLanguageText("#32#32x"), "  x");
}

TEST(SizeText, UnitsRoundingAndGrouping) {
  struct Case {
    int64_t count;
    const char* expected;
  } cases[] = {
      {0, "0,00 Kb"},
      {-5, "0,00 Kb"},
      {1, "0.00 Kb"},
      {1536, "1.50 Kb"},
      {128, "0.13 Kb"},  // 0.125 rounds away from zero
      {1048575, "1 024.00 Kb"},
      {1048576, "1.00 Mb"},
      {5000000, "4.77 Mb"},
      {1073741824, "1 024.00 Mb"},
      {1073741825, "1.00 Gb"},
      {1234567890, "1.15 Gb"},
      {int64_t(5000) * 1073741824, "5 000.00 Gb"},
  };
  for (const Case& c : cases) EXPECT_EQ(SizeText(c.count, '.'), c.expected) << c.count;
  EXPECT_EQ(SizeText(1536, ','), "1,50 Kb");
  EXPECT_EQ(SizeText(0, '.'), "0,00 Kb");  // fixed text whatever the separator
}

TEST(CaseHelpers, SortsWithoutCaseThenByBytes) {
  std::vector<std::string> v = {"beta", "Alpha", "alpha", "Beta", "ALPHA2"};
  std::sort(v.begin(), v.end(), LessNoCaseThenBytes);
  EXPECT_EQ(v, (std::vector<std::string>{"Alpha", "alpha", "ALPHA2", "Beta", "beta"}));
  EXPECT_TRUE(EqualsNoCase("/BUILD", "/build"));
  EXPECT_EQ(ParseInt(" 42 ", -1), 42);
  EXPECT_EQ(ParseInt("4x", -1), -1);
  EXPECT_EQ(ParseInt("", -1), -1);
}

}  // namespace
}  // namespace bvq
