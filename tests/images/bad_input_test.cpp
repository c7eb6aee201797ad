#include <gtest/gtest.h>

#include "images/byte_reader.h"
#include "images/icon_file.h"
#include "images/picture_import.h"
#include "images/pictures.h"
#include "test_support.h"

namespace bvq::images {
namespace {

using namespace fixtures;

// A damaged picture must give a failure with a reason, write no bitmap and leave the picked
// file as it was.
void ExpectCleanFailure(const std::string& name, const std::string& bytes) {
  SCOPED_TRACE(name + " (" + std::to_string(bytes.size()) + " bytes)");
  ScratchDir pictures, userData;
  const std::string picked = pictures / name;
  WriteBytes(picked, bytes);
  auto result = ImportImage(picked, /*convertPng=*/true, userData.path());
  EXPECT_FALSE(result) << "converted to " << (result ? result->path : "");
  if (!result) {
    EXPECT_FALSE(result.error().empty());
  }
  EXPECT_EQ(ReadBytes(picked), bytes);
  const std::string imports = userData / "Bitmaps/Import";
  EXPECT_TRUE(!fs::exists(imports) || fs::is_empty(imports)) << "a bitmap was written";
}

class BadInput : public ::testing::Test {
 protected:
  ScratchDir dir;
  // A picture of some size made by ImageMagick, as bytes.
  std::string Picture(const std::string& target) {
    const std::string file = dir / target.substr(target.find(':') + 1);
    MakePictureIM("-size 40x30 gradient:teal-pink -type TrueColor -quality 90 " +
                  target.substr(0, target.find(':') + 1) + Quote(file));
    return ReadBytes(file);
  }
  std::string Icon() {
    const std::string png = dir / "icon.png", ico = dir / "icon.ico";
    MakePicture("-size 32x32 gradient:red-blue " + Quote(png));
    EXPECT_TRUE(RunTool("icotool -c -b 8 -o " + Quote(ico) + " " + Quote(png)));
    return ReadBytes(ico);
  }
};

TEST_F(BadInput, TruncatedFilesOfEveryFormatFail) {
  struct Case {
    std::string name;
    std::string bytes;
    bool lastByteMatters;  // whether a file one byte short is incomplete
  };
  const Case cases[] = {
      {"p.jpg", Picture("p.jpg"), true},  {"p.png", Picture("p.png"), true},
      {"p.bmp", Picture("BMP3:p.bmp"), true}, {"p.ico", Icon(), true},
      {"p.gif", Picture("p.gif"), false}, {"p.psd", Picture("p.psd"), false},
      {"p.tif", Picture("p.tif"), false},
  };
  for (const Case& c : cases) {
    ASSERT_GT(c.bytes.size(), 100u) << c.name;
    // A .bmp is kept as it is picked; its reading is what the previews use.
    if (c.name == "p.bmp") {
      for (size_t size : {size_t(0), size_t(10), c.bytes.size() / 2, c.bytes.size() - 1})
        EXPECT_FALSE(DecodePicture(c.bytes.substr(0, size))) << size;
      continue;
    }
    std::vector<size_t> sizes = {0, 10, c.bytes.size() / 2};
    if (c.lastByteMatters) sizes.push_back(c.bytes.size() - 1);
    for (size_t size : sizes) ExpectCleanFailure(c.name, c.bytes.substr(0, size));
  }
}

TEST_F(BadInput, DamagedStructuresFail) {
  std::string png = Picture("p.png");
  png[png.size() / 2] ^= 0x5A;  // the chunk's checksum no longer matches

  std::string jpeg = Picture("p.jpg");
  const size_t frame = jpeg.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  jpeg[frame + 5] = jpeg[frame + 6] = 0;  // picture height 0

  std::string gif = Picture("p.gif");
  // The LZW code size of the first image: after the screen descriptor, its colour table,
  // any extension blocks and the 10-byte image descriptor.
  size_t at = 13 + ((gif[10] & 0x80) ? 3 * (2 << (gif[10] & 7)) : 0);
  while (gif[at] == '!') {
    at += 2;
    while (gif[at] != 0) at += 1 + uint8_t(gif[at]);
    ++at;
  }
  ASSERT_EQ(gif[at], ',');
  at += 10 + ((gif[at + 9] & 0x80) ? 3 * (2 << (gif[at + 9] & 7)) : 0);
  gif[at] = 15;  // codes of more than 12 bits do not exist

  std::string psd = Picture("p.psd");
  psd[12] = psd[13] = 0;  // no channels

  std::string tiff = Picture("p.tif");
  for (size_t i = 8; i < tiff.size(); ++i) tiff[i] = char(0xFF);  // everything after the header

  std::string icon = Icon();
  icon[6 + 8] = char(0xFF);  // first image's size reaches beyond the file
  icon[6 + 9] = char(0xFF);

  std::string iconDib = Icon();
  const size_t image = ByteReader(iconDib).U32(6 + 12);
  iconDib[image + 14] = 7;  // 7 bits per pixel

  struct Case {
    std::string name;
    std::string bytes;
  };
  for (const Case& c : {Case{"png.png", png}, Case{"jpeg.jpg", jpeg}, Case{"gif.gif", gif}, Case{"psd.psd", psd},
                        Case{"tiff.tif", tiff}, Case{"icon.ico", icon}, Case{"dib.ico", iconDib},
                        Case{"text.gif", "plain text, no picture at all"}})
    ExpectCleanFailure(c.name, c.bytes);
}

TEST_F(BadInput, HugeDeclaredSizesAreRefusedBeforeAllocating) {
  // Headers that claim 30000 x 30000 pixels in a few bytes.
  std::string bmp = Picture("BMP3:p.bmp");
  bmp[18] = bmp[22] = char(0x30);
  bmp[19] = bmp[23] = char(0x75);
  auto decoded = DecodePicture(bmp);
  ASSERT_FALSE(decoded);
  EXPECT_NE(decoded.error().find("too large"), std::string::npos) << decoded.error();

  std::string png = Picture("p.png");
  // IHDR width and height (big-endian at 16 and 20), with the checksum left wrong: refused
  // either way without a 3.6 GB allocation.
  png[16] = png[20] = 0;
  png[17] = png[21] = 0;
  png[18] = png[22] = char(0x75);
  png[19] = png[23] = char(0x30);
  EXPECT_FALSE(DecodePicture(png));
}

}  // namespace
}  // namespace bvq::images
