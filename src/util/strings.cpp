#include "util/strings.h"

#include <langinfo.h>
#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace bvq {

TStrList SplitText(std::string_view separator, std::string_view text) {
  TStrList pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  size_t start = 0;
  for (;;) {
    size_t pos = text.find(separator, start);
    if (pos == std::string_view::npos) break;
    pieces.emplace_back(text.substr(start, pos - start));
    start = pos + separator.size();
  }
  if (start < text.size()) pieces.emplace_back(text.substr(start));
  return pieces;
}

std::string ControlsAsQuestionMarks(std::string_view utf8) {
  std::string shown;
  shown.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x20 || c == 0x7F) {
      shown += '?';
    } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
      shown += '?';  // U+0080..U+009F
      ++i;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

std::string ReplaceAll(std::string text, std::string_view searched, std::string_view replacement) {
  if (searched.empty() || text == replacement || searched == replacement) return text;
  // A replacement holding the searched text would create a new occurrence every round.
  const bool singlePass = replacement.find(searched) != std::string_view::npos;
  size_t from = 0;
  for (;;) {
    size_t pos = text.find(searched, from);
    if (pos == std::string::npos) break;
    text.replace(pos, searched.size(), replacement);
    if (singlePass) {
      from = pos + replacement.size();
    } else {
      // Searching again from the start finds nothing before the replaced spot except an
      // occurrence that overlaps it, so resuming a little before the spot is equivalent.
      from = pos >= searched.size() - 1 ? pos - (searched.size() - 1) : 0;
    }
  }
  return text;
}

std::string TrimBlanks(std::string_view text) {
  size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = text.find_last_not_of(' ');
  return std::string(text.substr(b, e - b + 1));
}

std::string CutToken(std::string& text, std::string_view delimiters) {
  size_t pos = text.find_first_of(delimiters);
  if (pos == std::string::npos) {
    std::string token = std::move(text);
    text.clear();
    return token;
  }
  std::string token = text.substr(0, pos);
  text.erase(0, pos + 1);
  return token;
}

std::string NameBeforeParenthesis(std::string_view text) {
  size_t pos = text.find(" (");
  return std::string(pos == std::string_view::npos ? text : text.substr(0, pos));
}

std::string LastFourChars(std::string_view text) {
  return std::string(text.size() <= 4 ? text : text.substr(text.size() - 4));
}

std::string FlagText(bool value) { return value ? "1" : "0"; }
bool TextFlag(std::string_view text) { return text == "1"; }

std::string UnescapeLanguageText(std::string_view text) {
  std::string s(text);
  s = ReplaceAll(std::move(s), "#progname#", kProgramName);
  s = ReplaceAll(std::move(s), "#32", " ");
  s = ReplaceAll(std::move(s), "#10", "\n");
  s = ReplaceAll(std::move(s), "#13", "\r");
  return s;
}

std::string CurrentYearText() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d", tm.tm_year + 1900);
  return buf;
}

char LocaleDecimalSeparator() {
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return '.';
  const char* radix = nl_langinfo_l(RADIXCHAR, loc);
  char c = (radix && radix[0] && !radix[1]) ? radix[0] : '.';
  freelocale(loc);
  return c;
}

std::string SizeText(int64_t count, char decimalSeparator) {
  if (count < 0) count = 0;
  if (count == 0) return "0,00 Kb";
  if (decimalSeparator == 0) decimalSeparator = LocaleDecimalSeparator();
  double value;
  const char* unit;
  if (count < 1048576) {
    value = static_cast<double>(count) / 1024.0;
    unit = " Kb";
  } else if (count <= 1073741824) {
    value = static_cast<double>(count) / 1048576.0;
    unit = " Mb";
  } else {
    value = static_cast<double>(count) / 1073741824.0;
    unit = " Gb";
  }
  // Two decimals, halves rounded away from zero.
  long long hundredths = std::llround(value * 100.0);
  std::string digits = std::to_string(hundredths / 100);
  if (digits.size() > 3) digits.insert(digits.size() - 3, " ");
  char frac[4];
  std::snprintf(frac, sizeof frac, "%02lld", hundredths % 100);
  return TrimBlanks(digits + decimalSeparator + frac + unit);
}

static char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
static char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

std::string ToUpperAscii(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = UpperAscii(c);
  return s;
}

std::string ToLowerAscii(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = LowerAscii(c);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool LessNoCaseThenBytes(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(LowerAscii(a[i]));
    unsigned char y = static_cast<unsigned char>(LowerAscii(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::string IntText(int64_t value) { return std::to_string(value); }

int64_t ParseInt(std::string_view text, int64_t fallback) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size() || text.empty()) return fallback;
  return value;
}

}  // namespace bvq
