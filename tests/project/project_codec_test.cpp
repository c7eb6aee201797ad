// The scramble and the 64-character encoding of the project file.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "project/project_codec.h"

namespace bvq {
namespace {

TEST(EncodeText, LengthsAndKnownValues) {
  struct Case {
    std::string bytes;
    std::string encoded;
  };
  const Case cases[] = {
      {"", ""},
      {std::string(1, '\0'), "00"},
      {"\xFF", "/m"},        // 111111 11(0000): 63, 48
      {"a", "OG"},           // 011000 01(0000)
      {"ab", "OM8"},         // 011000 010110 0010(00)
      {"abc", "OM9Z"},       // 011000 010110 001001 100011
      {"\x01\x02\x03", "0G83"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeText(c.bytes), c.encoded) << c.encoded;
    EXPECT_EQ(DecodeText(c.encoded), c.bytes) << c.encoded;
  }
}

TEST(EncodeText, SizeIsCeilingOfEightSixths) {
  for (std::size_t n = 0; n < 40; ++n) {
    const std::string bytes(n, 'x');
    EXPECT_EQ(EncodeText(bytes).size(), (8 * n + 5) / 6) << n;
  }
}

TEST(DecodeText, StopsAtCharacterOutsideAlphabet) {
  EXPECT_EQ(DecodeText("OM9Z=OM9Z"), "abc");
  EXPECT_EQ(DecodeText("OM9Z\r\nOM9Z"), "abc");
  EXPECT_EQ(DecodeText("=OM9Z"), "");
}

TEST(EncodeText, RoundTripOfEveryByteValue) {
  std::string all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
  for (std::size_t n = 0; n <= all.size(); n += 7) {
    const std::string part = all.substr(0, n);
    const std::string encoded = EncodeText(part);
    EXPECT_EQ(encoded.find_first_not_of(kEncodeAlphabet), std::string::npos);
    EXPECT_EQ(DecodeText(encoded), part);
  }
}

TEST(ScrambleText, OffsetsAreRoundedExtendedCosines) {
  // 255 cos 1 = 137.78, 255 cos 2 = -106.12, 255 cos 3 = -252.45, 255 cos 4 = -166.68.
  EXPECT_EQ(ScrambleOffset(1), 138);
  EXPECT_EQ(ScrambleOffset(2), -106);
  EXPECT_EQ(ScrambleOffset(3), -252);
  EXPECT_EQ(ScrambleOffset(4), -167);
  for (long long i = 1; i < 5000; i += 37)
    EXPECT_EQ(ScrambleOffset(i), std::lround(255.0 * std::cos(static_cast<double>(i)))) << i;
}

TEST(ScrambleText, FastOffsetsEqualExtendedPrecision) {
  for (long long i = 1; i <= 300000; ++i) ASSERT_EQ(ScrambleOffset(i), ScrambleOffsetExtended(i)) << i;
  for (long long i = 2147480000LL; i <= 2147483647LL; ++i) ASSERT_EQ(ScrambleOffset(i), ScrambleOffsetExtended(i)) << i;
  // The whole-text scramble (computed block by block) gives the same offsets.
  const std::string zeros(5000, '\0');
  const std::string scrambled = ScrambleText(zeros);
  for (std::size_t i = 0; i < zeros.size(); ++i)
    ASSERT_EQ(static_cast<unsigned char>(scrambled[i]),
              static_cast<unsigned>(ScrambleOffsetExtended(static_cast<long long>(i) + 1) - 5000) & 0xFFu) << i;
}

TEST(ScrambleText, KnownBytes) {
  // n = 1: (65 + 138 - 1) mod 256 = 202.
  EXPECT_EQ(ScrambleText("A"), "\xCA");
  // n = 2: (65 + 138 - 2) = 201; (66 - 106 - 2) mod 256 = 214.
  EXPECT_EQ(ScrambleText("AB"), "\xC9\xD6");
  // n = 258 only matters modulo 256: byte 1 of a 258-byte text is (65 + 138 - 2) mod 256.
  const std::string long_text(258, 'A');
  EXPECT_EQ(static_cast<unsigned char>(ScrambleText(long_text)[0]), 201);
}

TEST(ScrambleText, RoundTripAtManyLengths) {
  std::mt19937 random(7);
  for (std::size_t n : {0u, 1u, 2u, 255u, 256u, 257u, 511u, 1000u, 70000u}) {
    std::string text(n, '\0');
    for (char& c : text) c = static_cast<char>(random());
    const std::string scrambled = ScrambleText(text);
    ASSERT_EQ(scrambled.size(), n);
    EXPECT_EQ(UnscrambleText(scrambled), text) << n;
    if (n > 16) EXPECT_NE(scrambled, text);
  }
}

}  // namespace
}  // namespace bvq
