#include <gtest/gtest.h>

#include "images/bmp.h"
#include "images/jpeg_reader.h"
#include "images/png_reader.h"
#include "test_support.h"

namespace bvq::images {
namespace {

using namespace fixtures;

TEST(PngReading, DecodesColourTypesLikeAnotherDecoder) {
  ScratchDir dir;
  const std::string source = dir / "source.png";
  MakePicture("-size 9x4 gradient:yellow-navy " + Quote(source));
  struct Case {
    const char* name;
    std::string args;
  };
  // ImageMagick arguments between source and target.
  const Case cases[] = {
      {"rgb", "-depth 8"},
      {"palette", "-type Palette"},
      {"grey", "-type Grayscale"},
      {"grey 2-bit", "-type Grayscale -depth 2"},
      {"rgba", "-alpha set -channel A -evaluate set 50% +channel"},
      {"palette with transparency", "-alpha set -channel A -fx 'i<4?0:1' +channel -type PaletteAlpha"},
      {"16-bit", "-depth 16"},
      {"interlaced", "-interlace PNG"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir / (std::string(c.name) + ".png");
    MakePictureIM(Quote(source) + " " + c.args + " " + Quote(file));
    auto decoded = DecodePng(ReadBytes(file));
    ASSERT_TRUE(decoded) << decoded.error();
    EXPECT_LE(MaxDifference(*decoded, ReferencePixels(file)), 1);
  }
}

TEST(JpegReading, DecodesColourGreyAndCmykPictures) {
  ScratchDir dir;
  const std::string source = dir / "source.ppm";
  MakePicture("-size 16x16 xc:'#3060c0' " + Quote(source));
  struct Case {
    const char* name;
    std::string args;
    std::vector<int> colour;  // expected RGB of every pixel
  };
  const Case cases[] = {
      {"colour", "-quality 100", {0x30, 0x60, 0xc0}},
      {"progressive", "-quality 100 -interlace Line", {0x30, 0x60, 0xc0}},
      {"grey", "-quality 100 -colorspace Gray", {0x58, 0x58, 0x58}},
      {"cmyk", "-quality 100 -colorspace CMYK", {0x30, 0x60, 0xc0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir / (std::string(c.name) + ".jpg");
    MakePictureIM(Quote(source) + " " + c.args + " " + Quote(file));
    auto decoded = DecodeJpeg(ReadBytes(file));
    ASSERT_TRUE(decoded) << decoded.error();
    ASSERT_EQ(decoded->width, 16);
    ASSERT_EQ(decoded->height, 16);
    // A flat picture survives JPEG almost unchanged; grey's exact level is the encoder's.
    const RgbaImage reference = ReferencePixels(file);
    EXPECT_LE(MaxDifference(ToRgba(*decoded), reference), 2);
    if (std::string(c.name) != "grey") {
      for (int ch = 0; ch < 3; ++ch) EXPECT_NEAR(decoded->pixels[size_t(ch)], c.colour[size_t(ch)], 3) << ch;
    }
  }
}

TEST(JpegReading, JpegToBitmapWritesTheDecodedPicture) {
  ScratchDir dir;
  const std::string jpeg = dir / "photo.jpeg";
  MakePicture("-size 21x13 gradient:white-darkgreen -quality 100 " + Quote(jpeg));
  const std::string bitmap = dir / "photo.bmp";
  ASSERT_TRUE(JpegToBitmap(jpeg, bitmap));
  auto written = DecodeBmp(ReadBytes(bitmap));
  ASSERT_TRUE(written);
  auto decoded = DecodeJpeg(ReadBytes(jpeg));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(MaxDifference(*written, ToRgba(*decoded)), 0);
  EXPECT_LE(MaxDifference(*written, ReferencePixels(jpeg)), 2);
}

}  // namespace
}  // namespace bvq::images
