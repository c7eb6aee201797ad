#pragma once
// Text helpers shared by the whole program. Texts are single-byte ANSI bytes held in
// std::string; letter-case rules below only touch ASCII letters.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bvq {

// A growable array of strings.
using TStrList = std::vector<std::string>;

// Every piece between separators, in order; empty pieces between adjacent separators count;
// the text after the last separator is added only when not empty; "" gives no pieces.
TStrList SplitText(std::string_view separator, std::string_view text);

// Replaces occurrences of `searched` again and again, always searching from the start, so a
// replacement that leaves a new occurrence behind is replaced as well ("aaaa", "aa" -> "a"
// gives "a"). When the replacement itself contains the searched text the repeated search
// would never end; then a single left-to-right pass is made instead.
std::string ReplaceAll(std::string text, std::string_view searched, std::string_view replacement);

// The UTF-8 text with every control character (C0, DEL and C1, line breaks and tabs
// included) shown as "?", so that bytes taken from a project cannot steer a terminal or break
// a log line when printed.
std::string ControlsAsQuestionMarks(std::string_view utf8);

// Removes leading and trailing blanks (only ' ').
std::string TrimBlanks(std::string_view text);

// Token before the first of any `delimiters`; `text` keeps what follows that delimiter
// (becomes empty when none occurs, and the token is the whole text).
std::string CutToken(std::string& text, std::string_view delimiters);

// The text before the first " (", or the whole text.
std::string NameBeforeParenthesis(std::string_view text);

// The last four characters (the whole text when shorter).
std::string LastFourChars(std::string_view text);

// True <-> "1"; any text other than "1" reads as false.
std::string FlagText(bool value);
bool TextFlag(std::string_view text);

// Unescapes a language-file value: "#progname#" -> program name, "#32" -> blank,
// "#10" -> LF, "#13" -> CR, in this order.
std::string UnescapeLanguageText(std::string_view text);

// The program's product name used by "#progname#" and titles.
inline constexpr const char* kProgramName = "Belvandorithquessal";

// The current year as "yyyy".
std::string CurrentYearText();

// Size for display: "0,00 Kb" for 0; otherwise Kb below 1 MiB, Mb up to 1 GiB inclusive, Gb
// beyond; two decimals with the locale's decimal separator; one blank before the last three
// integer digits when there are more. `decimalSeparator` 0 means: the locale's.
std::string SizeText(int64_t count, char decimalSeparator = 0);
// The decimal separator of the user's locale (LC_NUMERIC from the environment), '.' when unknown.
char LocaleDecimalSeparator();

// ASCII case helpers.
std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// Orders names without regard to ASCII letter case, then by bytes (a total order).
bool LessNoCaseThenBytes(const std::string& a, const std::string& b);

// Decimal text of an integer, and a tolerant parse: `fallback` when the text is not a number.
std::string IntText(int64_t value);
int64_t ParseInt(std::string_view text, int64_t fallback);

}  // namespace bvq
