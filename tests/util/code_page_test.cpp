#include "util/code_page.h"

#include <gtest/gtest.h>

namespace bvq {
namespace {

TEST(CodePage, Cyrillic1251RoundTrip) {
  const std::string ansi = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in Windows-1251
  EXPECT_EQ(AnsiToUtf8(ansi, 1251), "Привет");
  EXPECT_EQ(Utf8ToAnsi("Привет", 1251), ansi);
}

TEST(CodePage, UnrepresentableAndBrokenInput) {
  // Cyrillic does not exist in 1252: one "?" per character, the rest kept.
  EXPECT_EQ(Utf8ToAnsi("aПрb", 1252), "a??b");
  EXPECT_EQ(Utf8ToAnsi("é€", 1252), "\xE9\x80");
  // A broken UTF-8 sequence costs only its bad byte.
  EXPECT_EQ(Utf8ToAnsi("x\xC3y", 1252), "x?y");
  // 0x81 is not defined in 1252.
  EXPECT_EQ(AnsiToUtf8("a\x81z", 1252), "a\xEF\xBF\xBDz");
  EXPECT_TRUE(IsKnownCodePage(1251));
  EXPECT_FALSE(IsKnownCodePage(99999));
  EXPECT_EQ(Utf8ToAnsi("aП", 99999), "a?");
}

TEST(CodePage, ProgramCodePageDefaultsTo1252) {
  int saved = AnsiCodePage();
  SetAnsiCodePage(kDefaultAnsiCodePage);
  EXPECT_EQ(AnsiToUtf8("\xE9"), "é");
  SetAnsiCodePage(1251);
  EXPECT_EQ(AnsiToUtf8("\xE9"), "й");
  SetAnsiCodePage(saved);
}

}  // namespace
}  // namespace bvq

// Names and version texts come in as UTF-8; broken bytes become U+FFFD one byte at a time and
// decoding goes on, so a damaged name never cuts off what follows it.
TEST(CodePage, Utf8ToUtf16LenientDecodesAndReplaces) {
  struct Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"ascii", "Setup", u"Setup"},
      {"two-byte Cyrillic", "\xD0\x9F\xD1\x80\xD0\xB8", u"\u041F\u0440\u0438"},
      {"three-byte euro", "5 \xE2\x82\xAC", u"5 \u20AC"},
      {"four-byte as surrogate pair", "\xF0\x9F\x93\xA6", u"\xD83D\xDCE6"},
      {"truncated at the end", "ab\xD0", u"ab\uFFFD"},
      {"lead byte without its continuation", "\xE2\x82x", u"\uFFFD\uFFFDx"},
      {"encoded surrogate", "\xED\xA0\x80z", u"\uFFFD\uFFFD\uFFFDz"},
      {"stray continuation byte", "\x80" "a", u"\uFFFDa"},
      {"two-byte form of ASCII", "\xC0\x80" "b", u"\uFFFD\uFFFDb"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(bvq::Utf8ToUtf16Lenient(c.utf8), c.utf16) << c.name;
}
