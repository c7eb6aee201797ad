#include <gtest/gtest.h>

#include "images/psd_reader.h"
#include "test_support.h"

namespace bvq::images {
namespace {

using namespace fixtures;

TEST(PsdReading, DecodesTheMergedPictureLikeAnotherDecoder) {
  ScratchDir dir;
  const std::string source = dir / "source.png";
  MakePictureIM("-size 13x7 gradient:gold-firebrick -depth 8 " + Quote(source));
  struct Case {
    const char* name;
    std::string args;  // ImageMagick arguments between source and target
    int tolerance;     // 16-bit samples and CMYK round to 8-bit RGB in slightly different ways
  };
  const Case cases[] = {
      {"rgb, run-length", "-type TrueColor -compress RLE", 0},
      {"rgb, raw", "-type TrueColor -compress None", 0},
      {"16-bit", "-type TrueColor -depth 16", 1},
      {"grey", "-colorspace Gray", 0},
      {"cmyk", "-colorspace CMYK", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir / (std::string(c.name) + ".psd");
    MakePictureIM(Quote(source) + " " + c.args + " " + Quote(file));
    auto decoded = DecodePsd(ReadBytes(file));
    ASSERT_TRUE(decoded) << decoded.error();
    EXPECT_LE(MaxDifference(*decoded, ReferencePixels(file)), c.tolerance);
  }
}

TEST(PsdReading, IndexedPictureTakesItsPaletteColours) {
  // ImageMagick cannot read back its own indexed Photoshop files, so the source picture is
  // the reference: its few colours all fit the palette.
  ScratchDir dir;
  const std::string source = dir / "source.png", file = dir / "indexed.psd";
  MakePictureIM("-size 13x7 gradient:gold-firebrick -depth 8 " + Quote(source));
  MakePictureIM(Quote(source) + " -type Palette " + Quote(file));
  auto decoded = DecodePsd(ReadBytes(file));
  ASSERT_TRUE(decoded) << decoded.error();
  EXPECT_EQ(MaxDifference(*decoded, ReferencePixels(source)), 0);
}

// A 2 x 1 RGB picture with a transparency channel, raw, as Photoshop stores a merged picture
// with transparency: a negative layer count, colours laid on white.
std::string TransparentPsd() {
  std::string out = "8BPS";
  auto put = [&](uint64_t value, int size) {
    for (int i = size - 1; i >= 0; --i) out.push_back(char((value >> (8 * i)) & 0xFF));
  };
  put(1, 2);        // version
  put(0, 6);        // reserved
  put(4, 2);        // channels: R, G, B, transparency
  put(1, 4);        // height
  put(2, 4);        // width
  put(8, 2);        // depth
  put(3, 2);        // RGB
  put(0, 4);        // no colour mode data
  put(0, 4);        // no image resources
  put(6, 4);        // layer section: layer info of 2 bytes
  put(2, 4);
  put(0xFFFF, 2);   // layer count -1
  put(0, 2);        // raw image data
  // Pixel 0 opaque red; pixel 1 blue at alpha 128, stored laid on white.
  out += std::string("\xFF\x7F", 2);  // R
  out += std::string("\x00\x7F", 2);  // G
  out += std::string("\x00\xFF", 2);  // B
  out += std::string("\xFF\x80", 2);  // transparency
  return out;
}

TEST(PsdReading, TransparencyTakesTheWhiteOutOfTheMergedColours) {
  auto decoded = DecodePsd(TransparentPsd());
  ASSERT_TRUE(decoded) << decoded.error();
  EXPECT_EQ(std::vector<int>(decoded->pixels.begin(), decoded->pixels.end()),
            (std::vector<int>{255, 0, 0, 255, 0, 0, 255, 128}));
}

TEST(PsdReading, CutShortAnywhereFails) {
  const std::string file = TransparentPsd();
  for (size_t size = 0; size < file.size(); ++size) EXPECT_FALSE(DecodePsd(file.substr(0, size))) << size;
}

}  // namespace
}  // namespace bvq::images
