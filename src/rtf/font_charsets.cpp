#include "rtf/font_charsets.h"

#include <iterator>

#include "rtf/rich_text.h"

namespace bvq::rtf {
namespace {

struct CharsetCodePage {
  int charset;
  int codePage;
};

// The symbol character set (2) has no code page; its bytes are read as Windows-1252, where
// the bullet 0xB7 of the Symbol font is a middle dot.
constexpr CharsetCodePage kCharsets[] = {
    {kAnsiCharset, 1252}, {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},
    {136, 950},           {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
    {186, 1257},          {204, 1251}, {222, 874},  {238, 1250}, {255, 437},
};

}  // namespace

int CodePageOfCharset(int charset) {
  if (charset == kSymbolCharset) return 1252;
  for (const CharsetCodePage& entry : kCharsets)
    if (entry.charset == charset) return entry.codePage;
  return 0;
}

int CharsetOfCodePage(int codePage) {
  for (const CharsetCodePage& entry : kCharsets)
    if (entry.codePage == codePage) return entry.charset;
  return kDefaultCharset;
}

}  // namespace bvq::rtf
