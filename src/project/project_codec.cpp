#include "project/project_codec.h"

#include <array>
#include <cmath>

namespace bvq {

int ScrambleOffsetExtended(long long position) {
  // Extended precision as the file format was defined with; llrintl rounds half to even in
  // the default rounding mode.
  const long double value = 255.0L * std::cos(static_cast<long double>(position));
  return static_cast<int>(std::llrintl(value));
}

namespace {

// Rounds 255 cos(position) given a double approximation `value` of it, accurate to far
// better than 1e-9: the approximation decides unless it is close to a half, where the
// extended-precision value is computed.
int RoundOffset(double value, long long position) {
  // |value| <= 255: shifting by 1024 makes the truncating conversion a floor.
  const long long below = static_cast<long long>(value + 1024.0) - 1024;
  const double fraction = value - static_cast<double>(below);
  if (std::fabs(fraction - 0.5) <= 1e-6) return ScrambleOffsetExtended(position);  // rare
  return static_cast<int>(below) + (fraction > 0.5 ? 1 : 0);  // without a branch
}

// cos of positions 1, 2, 3 ... by blocks of 1024: cos(b + l) = cos b cos l - sin b sin l,
// with cos l and sin l from a table; one sine and cosine per block.
class OffsetSequence {
 public:
  static constexpr int kBlock = 1024;
  OffsetSequence() {
    static const Tables tables;
    tables_ = &tables;
  }
  // Offset of 1-based position `position`; positions must be asked for in increasing order.
  int At(long long position) {
    const long long block = position / kBlock;
    if (block != block_) {
      block_ = block;
      const double base = static_cast<double>(block * kBlock);
      cosBase_ = std::cos(base);
      sinBase_ = std::sin(base);
    }
    const int low = static_cast<int>(position % kBlock);
    const double value = 255.0 * (cosBase_ * tables_->cos[low] - sinBase_ * tables_->sin[low]);
    return RoundOffset(value, position);
  }

 private:
  struct Tables {
    std::array<double, kBlock> cos{}, sin{};
    Tables() {
      for (int l = 0; l < kBlock; ++l) {
        cos[l] = std::cos(static_cast<double>(l));
        sin[l] = std::sin(static_cast<double>(l));
      }
    }
  };
  const Tables* tables_;
  long long block_ = -1;
  double cosBase_ = 1, sinBase_ = 0;
};

}  // namespace

int ScrambleOffset(long long position) {
  return RoundOffset(255.0 * std::cos(static_cast<double>(position)), position);
}

std::string ScrambleText(std::string_view text) {
  const unsigned n = static_cast<unsigned>(text.size());
  std::string out(text.size(), '\0');
  OffsetSequence offsets;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned t = static_cast<unsigned char>(text[i]);
    const unsigned offset = static_cast<unsigned>(offsets.At(static_cast<long long>(i) + 1));
    out[i] = static_cast<char>((t + offset - n) & 0xFFu);
  }
  return out;
}

std::string UnscrambleText(std::string_view bytes) {
  const unsigned n = static_cast<unsigned>(bytes.size());
  std::string out(bytes.size(), '\0');
  OffsetSequence offsets;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned s = static_cast<unsigned char>(bytes[i]);
    const unsigned offset = static_cast<unsigned>(offsets.At(static_cast<long long>(i) + 1));
    out[i] = static_cast<char>((n + s - offset) & 0xFFu);
  }
  return out;
}

std::string EncodeText(std::string_view bytes) {
  std::string out((bytes.size() * 8 + 5) / 6, '\0');
  std::size_t at = 0;
  unsigned acc = 0;  // never holds more than 13 significant bits
  int bits = 0;
  for (unsigned char x : bytes) {
    acc = (acc << 8) | x;
    bits += 8;
    while (bits >= 6) {
      bits -= 6;
      out[at++] = kEncodeAlphabet[acc >> bits];
      acc &= (1u << bits) - 1;
    }
  }
  if (bits > 0) out[at++] = kEncodeAlphabet[acc << (6 - bits)];
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
