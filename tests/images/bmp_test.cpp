#include <gtest/gtest.h>

#include "images/bmp.h"
#include "images/byte_reader.h"
#include "test_support.h"

namespace bvq::images {
namespace {

using namespace fixtures;

// Bitmap variants written by other tools, read back by us and by ImageMagick.
TEST(BmpReading, DecodesTheCommonVariantsLikeAnotherDecoder) {
  ScratchDir dir;
  const std::string source = dir / "source.ppm";
  MakePicture("-size 7x5 gradient:red-blue " + Quote(source));
  struct Case {
    const char* name;
    std::string args;  // ImageMagick arguments between source and target
    const char* target;
  };
  const Case cases[] = {
      {"24-bit", "", "BMP3:"},
      {"24-bit, core header", "", "BMP2:"},
      {"8-bit palette", "-type palette", "BMP3:"},
      {"8-bit RLE", "-type palette -compress RLE", "BMP3:"},
      {"4-bit palette", "-colors 16 -type palette", "BMP3:"},
      {"1-bit", "-monochrome", "BMP3:"},
      {"32-bit with alpha", "-alpha on -channel A -evaluate set 40% +channel", "BMP:"},
      {"16-bit 5-6-5 bit fields", "-define bmp:subtype=RGB565", "BMP:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir / (std::string(c.name) + ".bmp");
    MakePictureIM(Quote(source) + " " + c.args + " " + c.target + Quote(file));
    auto decoded = DecodeBmp(ReadBytes(file));
    ASSERT_TRUE(decoded) << decoded.error();
    // 5-6-5 fields scale to 8 bits with rounding that may differ by one step.
    EXPECT_LE(MaxDifference(*decoded, ReferencePixels(file)), std::string(c.name).find("5-6-5") == std::string::npos ? 0 : 4);
  }
}

// A bitmap file built by hand: file header, 40-byte info header, optional palette, bits.
std::string HandMadeBmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                        const std::string& palette, const std::string& data) {
  std::string out = "BM";
  const uint32_t offset = 14 + 40 + uint32_t(palette.size());
  PutU32(out, offset + uint32_t(data.size()));
  PutU32(out, 0);
  PutU32(out, offset);
  PutU32(out, 40);
  PutU32(out, uint32_t(width));
  PutU32(out, uint32_t(height));
  PutU16(out, 1);
  PutU16(out, bits);
  PutU32(out, compression);
  PutU32(out, uint32_t(data.size()));
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, uint32_t(palette.size() / 4));
  PutU32(out, 0);
  return out + palette + data;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(char(v));
  return out;
}

std::vector<int> Channels(const RgbaImage& image) { return {image.pixels.begin(), image.pixels.end()}; }

TEST(BmpReading, TopDownRowsComeFirst) {
  // Negative height: the first row in the file is the top row. Rows are padded to 4 bytes.
  const std::string data = Bytes({0, 0, 255, /* pad */ 0}) + Bytes({255, 0, 0, 0});
  auto image = DecodeBmp(HandMadeBmp(1, -2, 24, 0, "", data));
  ASSERT_TRUE(image) << image.error();
  EXPECT_EQ(Channels(*image), (std::vector<int>{255, 0, 0, 255, 0, 0, 255, 255}));
}

TEST(BmpReading, Rle4RunsAndLiteralsFillTheirPixels) {
  // Palette 0 black, 1 red, 2 green. Bottom row: a run of 3 pixels alternating 1 and 2;
  // top row: a literal of 3 pixels 2, 1, 2 (padded to a 16-bit boundary), then end of bitmap.
  const std::string palette = Bytes({0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0});
  const std::string data = Bytes({3, 0x12, 0, 0, 0, 3, 0x21, 0x20, 0, 1});
  auto image = DecodeBmp(HandMadeBmp(3, 2, 4, 2, palette, data));
  ASSERT_TRUE(image) << image.error();
  const int R[4] = {255, 0, 0, 255}, G[4] = {0, 255, 0, 255};
  const int* top[3] = {G, R, G};
  const int* bottom[3] = {R, G, R};
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(std::vector<int>(image->At(x, 0), image->At(x, 0) + 4), std::vector<int>(top[x], top[x] + 4)) << x;
    EXPECT_EQ(std::vector<int>(image->At(x, 1), image->At(x, 1) + 4), std::vector<int>(bottom[x], bottom[x] + 4)) << x;
  }
}

TEST(BmpReading, ThirtyTwoBitsWithoutAnyAlphaAreOpaque) {
  auto image = DecodeBmp(HandMadeBmp(1, 1, 32, 0, "", Bytes({10, 20, 30, 0})));
  ASSERT_TRUE(image) << image.error();
  EXPECT_EQ(Channels(*image), (std::vector<int>{30, 20, 10, 255}));
}

TEST(BmpWriting, TwentyFourBitFileReadsBackExactly) {
  ScratchDir dir;
  // 3 pixels wide: 9 bytes of colour and 3 of padding per row.
  RgbImage image(3, 2);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = uint8_t(i * 13);
  const std::string file = dir / "out.bmp";
  ASSERT_TRUE(WriteBmp24(file, image));
  const std::string bytes = ReadBytes(file);
  const ByteReader in(bytes);
  EXPECT_EQ(bytes.size(), 54u + 2 * 12);
  EXPECT_EQ(in.U32(2), bytes.size());
  EXPECT_EQ(in.U32(10), 54u);
  EXPECT_EQ(in.U16(28), 24);
  EXPECT_EQ(MaxDifference(ReferencePixels(file), ToRgba(image)), 0);
}

TEST(BmpWriting, TransparencyIsLaidOnTheBackground) {
  ScratchDir dir;
  RgbaImage image(2, 1);
  const uint8_t pixels[8] = {255, 0, 0, 128, 0, 0, 255, 0};  // half-transparent red, clear blue
  std::copy(pixels, pixels + 8, image.pixels.begin());
  const std::string file = dir / "flat.bmp";
  ASSERT_TRUE(WriteBmp24(file, image));
  auto back = DecodeBmp(ReadBytes(file));
  ASSERT_TRUE(back);
  EXPECT_EQ(Channels(*back), (std::vector<int>{255, 127, 127, 255, 255, 255, 255, 255}));
}

TEST(BmpWriting, FailureLeavesNoFile) {
  ScratchDir dir;
  const std::string file = dir / "missing-folder/out.bmp";
  const Status status = WriteBmp24(file, RgbImage(2, 2));
  EXPECT_FALSE(status);
  EXPECT_NE(status.error.find("out.bmp"), std::string::npos);
  EXPECT_FALSE(fs::exists(file));
}

}  // namespace
}  // namespace bvq::images
