#pragma once
// Splits RTF bytes into groups, control words, control symbols, hex escapes and text.
#include <cstdint>
#include <string_view>

namespace bvq::rtf {

struct RtfToken {
  enum class Kind { End, GroupStart, GroupEnd, Word, Symbol, HexByte, Text };
  Kind kind = Kind::End;
  std::string_view word;  // Word: the letters (at most kMaxWordLength of them)
  bool hasParameter = false;
  int32_t parameter = 0;  // Word: the number after it, saturated to the 32-bit range
  char symbol = 0;        // Symbol: the character after the backslash ('\n' for "\<newline>")
  uint8_t byte = 0;       // HexByte: the value of \'hh
  std::string_view text;  // Text: bytes without line ends, braces and backslashes
};

class RtfLexer {
 public:
  static constexpr size_t kMaxWordLength = 32;

  explicit RtfLexer(std::string_view input) : input_(input) {}
  // The next token; End at the end of the input. Binary data after \binN is passed over (never
  // further than the end of the input) and does not appear as a token.
  RtfToken Next();

 private:
  RtfToken ReadControl();
  std::string_view input_;
  size_t pos_ = 0;
};

}  // namespace bvq::rtf
