#include <gtest/gtest.h>

#include "images/bmp.h"
#include "images/byte_reader.h"
#include "images/icon_file.h"
#include "images/png_reader.h"
#include "test_support.h"

namespace bvq::images {
namespace {

using namespace fixtures;

// A PNG with an opaque square in a transparent frame, `size` pixels wide.
std::string FramedPng(const ScratchDir& dir, int size, const std::string& colour) {
  const std::string file = dir / ("framed" + std::to_string(size) + colour + ".png");
  const int inner = size / 4;
  MakePicture("-size " + std::to_string(size) + "x" + std::to_string(size) + " xc:none -fill '" + colour +
              "' -draw 'rectangle " + std::to_string(inner) + "," + std::to_string(inner) + " " +
              std::to_string(size - inner - 1) + "," + std::to_string(size - inner - 1) + "' " + Quote(file));
  return file;
}

// The icon's images as icoutils extracts them to PNG, decoded.
RgbaImage ExtractedByIcotool(const ScratchDir& dir, const std::string& ico, int index) {
  const std::string out = dir / ("extracted" + std::to_string(index) + ".png");
  EXPECT_TRUE(RunTool("icotool -x -i " + std::to_string(index + 1) + " -o " + Quote(out) + " " + Quote(ico)));
  auto image = DecodePng(ReadBytes(out));
  EXPECT_TRUE(image) << image.error();
  return image ? *image : RgbaImage();
}

TEST(IconReading, DecodesEachKindOfImageLikeIcoutils) {
  ScratchDir dir;
  const std::string png16 = FramedPng(dir, 16, "red"), png32 = FramedPng(dir, 32, "blue"),
                    png48 = FramedPng(dir, 48, "lime");
  struct Case {
    const char* name;
    std::string options;  // icotool options before the inputs
    std::string inputs;
  };
  const Case cases[] = {
      {"32-bit with alpha", "-b 32", Quote(png16) + " " + Quote(png32)},
      {"8-bit with mask", "-b 8", Quote(png16) + " " + Quote(png48)},
      {"1-bit with mask", "-b 1", Quote(png32)},
      {"PNG image", "", "-r " + Quote(png48)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string ico = dir / (std::string(c.name) + ".ico");
    ASSERT_TRUE(RunTool("icotool -c " + c.options + " -o " + Quote(ico) + " " + c.inputs));
    auto icon = ReadIconFile(ico);
    ASSERT_TRUE(icon) << icon.error();
    for (size_t i = 0; i < icon->images.size(); ++i) {
      auto pixels = DecodeIconImage(icon->images[i]);
      ASSERT_TRUE(pixels) << pixels.error();
      EXPECT_EQ(MaxDifference(*pixels, ExtractedByIcotool(dir, ico, int(i))), 0) << "image " << i;
    }
  }
}

// An icon whose images are only described by their entries (for the choice rules).
IconFile IconOf(std::initializer_list<std::pair<int, int>> widthAndBits) {
  IconFile icon;
  for (auto [width, bits] : widthAndBits) {
    IconImage image;
    image.entry[0] = image.entry[1] = uint8_t(width);
    image.entry[6] = uint8_t(bits);
    image.bytes = "image " + std::to_string(icon.images.size());
    icon.images.push_back(image);
  }
  return icon;
}

TEST(IconChoice, ThirtyTwoByThirtyTwoRules) {
  struct Case {
    const char* name;
    IconFile icon;
    size_t expected;
  };
  const Case cases[] = {
      {"exact size and depth", IconOf({{16, 32}, {32, 8}, {32, 32}, {32, 32}}), 2},
      {"size with most bits", IconOf({{16, 32}, {32, 4}, {32, 24}, {32, 8}}), 2},
      {"first of equal depths", IconOf({{32, 8}, {48, 32}, {32, 8}}), 0},
      {"no 32-pixel image: first", IconOf({{16, 8}, {48, 32}}), 0},
      {"32-pixel images without bit count: first", IconOf({{48, 32}, {32, 0}}), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseIconImage(c.icon, 32, 32), c.expected) << c.name;
}

TEST(IconChoice, BitCountMissingFromTheEntryIsTakenFromTheImage) {
  ScratchDir dir;
  const std::string ico = dir / "a.ico";
  ASSERT_TRUE(RunTool("icotool -c -b 32 -o " + Quote(ico) + " " + Quote(FramedPng(dir, 32, "red"))));
  std::string bytes = ReadBytes(ico);
  bytes[6 + 6] = bytes[6 + 7] = 0;  // clear wBitCount of the only entry
  auto icon = ParseIconFile(bytes);
  ASSERT_TRUE(icon);
  EXPECT_EQ(ImageBitCount(icon->images[0]), 32);
}

TEST(IconExtraction, WritesTheChosenImageAsAOneImageIcon) {
  ScratchDir dir;
  const std::string ico = dir / "three.ico";
  ASSERT_TRUE(RunTool("icotool -c -b 8 -o " + Quote(ico) + " " + Quote(FramedPng(dir, 16, "red")) + " " +
                  Quote(FramedPng(dir, 32, "blue")) + " -b 32 " + Quote(FramedPng(dir, 32, "lime"))));
  auto icon = ReadIconFile(ico);
  ASSERT_TRUE(icon);
  ASSERT_EQ(icon->images.size(), 3u);
  const std::string out = dir / "ico.tmp";
  ASSERT_TRUE(ExtractIconImage(32, 32, ico, out));

  const std::string bytes = ReadBytes(out);
  const ByteReader in(bytes);
  EXPECT_EQ(in.U16(0), 0);
  EXPECT_EQ(in.U16(2), 1);
  EXPECT_EQ(in.U16(4), 1);
  EXPECT_EQ(in.U32(18), 22u);  // dwImageOffset
  const IconImage& chosen = icon->images[2];
  EXPECT_EQ(bytes.substr(6, 12), std::string(reinterpret_cast<const char*>(chosen.entry), 12));  // as it was
  EXPECT_EQ(bytes.substr(22), chosen.bytes);
  EXPECT_EQ(Capture("icotool -l " + Quote(out)), "--icon --index=1 --width=32 --height=32 --bit-depth=32 --palette-size=0\n");
}

TEST(IconPreview, SixteenAndFortyEightOnlyIsShownFromTheFirstImage) {
  ScratchDir dir;
  const std::string ico = dir / "two.ico";
  ASSERT_TRUE(RunTool("icotool -c -b 32 -o " + Quote(ico) + " " + Quote(FramedPng(dir, 16, "red")) + " " +
                  Quote(FramedPng(dir, 48, "blue"))));
  auto preview = IconPreview(ico);
  ASSERT_TRUE(preview) << preview.error();
  EXPECT_EQ(preview->width, 16);
  EXPECT_EQ(MaxDifference(*preview, ExtractedByIcotool(dir, ico, 0)), 0);
}

TEST(IconToBitmap, ShowsTheLargestImageOnWhite) {
  ScratchDir dir;
  const std::string ico = dir / "two.ico";
  ASSERT_TRUE(RunTool("icotool -c -b 32 -o " + Quote(ico) + " " + Quote(FramedPng(dir, 16, "red")) + " " +
                  Quote(FramedPng(dir, 48, "blue"))));
  const std::string bmp = dir / "icon.bmp";
  ASSERT_TRUE(IconToBitmap(ico, bmp));
  auto written = DecodeBmp(ReadBytes(bmp));
  ASSERT_TRUE(written);
  ASSERT_EQ(written->width, 48);
  const uint8_t* corner = written->At(0, 0);
  const uint8_t* centre = written->At(24, 24);
  EXPECT_EQ(std::vector<int>(corner, corner + 4), (std::vector<int>{255, 255, 255, 255}));
  EXPECT_EQ(std::vector<int>(centre, centre + 4), (std::vector<int>{0, 0, 255, 255}));
}

TEST(IconReading, RefusesWhatIsNotAUsableIconFile) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const std::string entry = std::string("\x20\x20\0\0\1\0\x20\0", 8);
  auto u32 = [](uint32_t v) { std::string out; PutU32(out, v); return out; };
  const Case cases[] = {
      {"empty", ""},
      {"cursor", std::string("\0\0\2\0\1\0", 6) + entry + u32(4) + u32(22) + "abcd"},
      {"no images", std::string("\0\0\1\0\0\0", 6)},
      {"entry cut short", std::string("\0\0\1\0\1\0", 6) + entry},
      {"image beyond the end", std::string("\0\0\1\0\1\0", 6) + entry + u32(5) + u32(22) + "abcd"},
      {"empty image", std::string("\0\0\1\0\1\0", 6) + entry + u32(0) + u32(22)},
  };
  for (const Case& c : cases) {
    auto icon = ParseIconFile(c.bytes);
    EXPECT_FALSE(icon) << c.name;
    if (!icon) {
      EXPECT_FALSE(icon.error().empty()) << c.name;
    }
  }
}

}  // namespace
}  // namespace bvq::images
