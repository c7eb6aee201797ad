#include "project/project_codec.h"

#include <array>
#include <cfenv>
#include <cmath>

namespace bvq {

int ScrambleOffset(long long position) {
  // Extended precision as the file format was defined with; llrintl rounds half to even in
  // the default rounding mode.
  const long double value = 255.0L * std::cos(static_cast<long double>(position));
  return static_cast<int>(std::llrintl(value));
}

std::string ScrambleText(std::string_view text) {
  const unsigned n = static_cast<unsigned>(text.size());
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned t = static_cast<unsigned char>(text[i]);
    out[i] = static_cast<char>((t + static_cast<unsigned>(ScrambleOffset(static_cast<long long>(i) + 1)) - n) & 0xFFu);
  }
  return out;
}

std::string UnscrambleText(std::string_view bytes) {
  const unsigned n = static_cast<unsigned>(bytes.size());
  std::string out(bytes.size(), '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned s = static_cast<unsigned char>(bytes[i]);
    out[i] = static_cast<char>((n + s - static_cast<unsigned>(ScrambleOffset(static_cast<long long>(i) + 1))) & 0xFFu);
  }
  return out;
}

std::string EncodeText(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() * 8 + 5) / 6);
  unsigned acc = 0;  // never holds more than 13 significant bits
  int bits = 0;
  for (unsigned char x : bytes) {
    acc = (acc << 8) | x;
    bits += 8;
    while (bits >= 6) {
      bits -= 6;
      out.push_back(kEncodeAlphabet[acc >> bits]);
      acc &= (1u << bits) - 1;
    }
  }
  if (bits > 0) out.push_back(kEncodeAlphabet[acc << (6 - bits)]);
  return out;
}

namespace {
constexpr std::array<signed char, 256> MakeDecodeTable() {
  std::array<signed char, 256> table{};
  for (auto& v : table) v = -1;
  for (std::size_t k = 0; k < kEncodeAlphabet.size(); ++k)
    table[static_cast<unsigned char>(kEncodeAlphabet[k])] = static_cast<signed char>(k);
  return table;
}
constexpr auto kDecodeTable = MakeDecodeTable();
}  // namespace

std::string DecodeText(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 6 / 8);
  unsigned acc = 0;
  int bits = 0;
  for (char c : text) {
    const int v = kDecodeTable[static_cast<unsigned char>(c)];
    if (v < 0) break;
    acc = (acc << 6) | static_cast<unsigned>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<char>((acc >> bits) & 0xFFu));
      acc &= (1u << bits) - 1;
    }
  }
  return out;
}

}  // namespace bvq
