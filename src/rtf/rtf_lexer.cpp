#include "rtf/rtf_lexer.h"

#include <limits>

namespace bvq::rtf {
namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

RtfToken RtfLexer::Next() {
  RtfToken token;
  while (pos_ < input_.size()) {
    const char c = input_[pos_];
    if (c == '{') {
      ++pos_;
      token.kind = RtfToken::Kind::GroupStart;
      return token;
    }
    if (c == '}') {
      ++pos_;
      token.kind = RtfToken::Kind::GroupEnd;
      return token;
    }
    if (c == '\\') {
      token = ReadControl();
      if (token.kind != RtfToken::Kind::End || pos_ >= input_.size()) return token;
      continue;  // a \bin block or a broken escape: nothing to report, go on
    }
    if (c == '\r' || c == '\n') {
      ++pos_;
      continue;
    }
    const size_t start = pos_;
    while (pos_ < input_.size() && input_[pos_] != '{' && input_[pos_] != '}' && input_[pos_] != '\\' &&
           input_[pos_] != '\r' && input_[pos_] != '\n')
      ++pos_;
    token.kind = RtfToken::Kind::Text;
    token.text = input_.substr(start, pos_ - start);
    return token;
  }
  return token;
}

RtfToken RtfLexer::ReadControl() {
  RtfToken token;
  ++pos_;  // the backslash
  if (pos_ >= input_.size()) return token;
  const char c = input_[pos_];
  if (!IsLetter(c)) {
    ++pos_;
    if (c == '\'') {
      if (pos_ + 2 <= input_.size()) {
        const int high = HexValue(input_[pos_]), low = HexValue(input_[pos_ + 1]);
        if (high >= 0 && low >= 0) {
          pos_ += 2;
          token.kind = RtfToken::Kind::HexByte;
          token.byte = static_cast<uint8_t>(high * 16 + low);
        }
      } else {
        pos_ = input_.size();  // cut off in the middle
      }
      return token;  // a broken escape gives nothing
    }
    token.kind = RtfToken::Kind::Symbol;
    token.symbol = c == '\r' ? '\n' : c;
    return token;
  }
  const size_t start = pos_;
  while (pos_ < input_.size() && IsLetter(input_[pos_])) ++pos_;
  token.kind = RtfToken::Kind::Word;
  token.word = input_.substr(start, std::min(pos_ - start, kMaxWordLength));
  bool negative = false;
  if (pos_ + 1 < input_.size() && input_[pos_] == '-' && IsDigit(input_[pos_ + 1])) {
    negative = true;
    ++pos_;
  }
  if (pos_ < input_.size() && IsDigit(input_[pos_])) {
    int64_t value = 0;
    while (pos_ < input_.size() && IsDigit(input_[pos_])) {
      if (value <= std::numeric_limits<int32_t>::max()) value = value * 10 + (input_[pos_] - '0');
      ++pos_;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) value = std::numeric_limits<int32_t>::min();
    token.hasParameter = true;
    token.parameter = static_cast<int32_t>(value);
  }
  if (pos_ < input_.size() && input_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
  if (token.word == "bin") {
    const size_t length = token.parameter > 0 ? static_cast<size_t>(token.parameter) : 0;
    pos_ += std::min(length, input_.size() - pos_);
    return RtfToken{};
  }
  return token;
}

}  // namespace bvq::rtf
