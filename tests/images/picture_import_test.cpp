#include <gtest/gtest.h>

#include "images/bmp.h"
#include "images/jpeg_reader.h"
#include "images/picture_import.h"
#include "test_support.h"
#include "util/program_values.h"

namespace bvq::images {
namespace {

using namespace fixtures;

class PictureImport : public ::testing::Test {
 protected:
  ScratchDir pictures;  // where the author's pictures are
  ScratchDir userData;  // the user's data folder
  std::string ImportFolder() const { return userData / "Bitmaps/Import"; }
  std::vector<std::string> ImportedFiles() const {
    std::vector<std::string> names;
    if (fs::exists(ImportFolder()))
      for (const auto& e : fs::directory_iterator(ImportFolder())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(PictureImport, BitmapsArePngsKeptUnlessAskedAndMissingFilesAreKept) {
  const std::string bmp = pictures / "Logo.BMP", png = pictures / "logo.png";
  MakePicture("-size 4x4 xc:red BMP3:" + Quote(bmp));
  MakePicture("-size 4x4 xc:red " + Quote(png));
  struct Case {
    std::string picked;
    bool convertPng;
  };
  for (const Case& c : {Case{bmp, true}, Case{png, false}, Case{pictures / "gone.jpg", false}}) {
    auto result = ImportImage(c.picked, c.convertPng, userData.path());
    ASSERT_TRUE(result) << result.error();
    EXPECT_EQ(result->path, c.picked);
    EXPECT_FALSE(result->converted);
  }
  EXPECT_TRUE(ImportedFiles().empty());
}

TEST_F(PictureImport, EachOtherFormatBecomesTheNextNumberedBitmap) {
  const std::string source = pictures / "source.ppm";
  MakePicture("-size 10x6 gradient:orange-purple " + Quote(source));
  struct Case {
    std::string name;
    int tolerance;  // JPEG is lossy
  };
  const Case cases[] = {{"a.png", 0}, {"b.gif", 0}, {"c.tif", 0}, {"d.TIFF", 0},
                        {"e.psd", 0}, {"f.jpg", 2},  {"g.JPEG", 2}};
  int number = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string picked = pictures / c.name;
    MakePictureIM(Quote(source) + " -depth 8 -quality 100 " + Quote(picked));
    auto result = ImportImage(picked, /*convertPng=*/true, userData.path());
    ASSERT_TRUE(result) << result.error();
    char expected[32];
    std::snprintf(expected, sizeof expected, "Bmp%03d.bmp", ++number);
    EXPECT_EQ(result->path, ImportFolder() + "/" + expected);
    EXPECT_TRUE(result->converted);
    auto written = DecodeBmp(ReadBytes(result->path));
    ASSERT_TRUE(written) << written.error();
    EXPECT_LE(MaxDifference(*written, ReferencePixels(picked)), c.tolerance);
  }
}

TEST_F(PictureImport, IconPictureShowsItsLargestImage) {
  const std::string png = pictures / "i.png", ico = pictures / "i.ico";
  MakePicture("-size 24x24 xc:blue " + Quote(png));
  ASSERT_TRUE(RunTool("icotool -c -b 32 -o " + Quote(ico) + " " + Quote(png)));
  auto result = ImportImage(ico, false, userData.path());
  ASSERT_TRUE(result) << result.error();
  auto written = DecodeBmp(ReadBytes(result->path));
  ASSERT_TRUE(written);
  EXPECT_EQ(written->width, 24);
  EXPECT_EQ(MaxDifference(*written, ReferencePixels(png)), 0);
}

TEST_F(PictureImport, JpegEndingIsDecodedByTheProgramItself) {
  // A GIF named .jpeg: the general library would read it, our JPEG decoder refuses it. The
  // refusal shows that "jpeg" files take the program's own way, as ".jpg" files do.
  for (const char* name : {"pic.jpeg", "pic.jpg"}) {
    const std::string picked = pictures / name;
    MakePicture("-size 4x4 xc:red GIF:" + Quote(picked));
    auto result = ImportImage(picked, false, userData.path());
    ASSERT_FALSE(result) << name;
    EXPECT_NE(result.error().find("not a JPEG"), std::string::npos) << result.error();
  }
  EXPECT_TRUE(ImportedFiles().empty());
}

TEST_F(PictureImport, CurrentPathIsExpandedForLookupButKeptInTheText) {
  SetProgramFolder(pictures.path() + "/");
  MakePicture("-size 4x4 xc:red " + Quote(pictures / "keep.png"));
  MakePicture("-size 4x4 xc:red -quality 100 " + Quote(pictures / "photo.jpg"));
  auto kept = ImportImage("%Current_Path%\\keep.png", false, userData.path());
  ASSERT_TRUE(kept) << kept.error();
  EXPECT_EQ(kept->path, "%Current_Path%\\keep.png");
  auto converted = ImportImage("%CURRENT_PATH%\\photo.jpg", false, userData.path());
  ASSERT_TRUE(converted) << converted.error();
  EXPECT_EQ(converted->path, ImportFolder() + "/Bmp001.bmp");
}

TEST_F(PictureImport, NormalisationConvertsOnlyOtherFormats) {
  const std::string png = pictures / "h.png", gif = pictures / "h.gif", broken = pictures / "broken.gif";
  MakePicture("-size 4x4 xc:red " + Quote(png));
  MakePicture("-size 4x4 xc:red " + Quote(gif));
  WriteBytes(broken, "GIF89a\x04\x00\x04\x00");
  auto unchanged = NormalizePicturePath(png, userData.path());
  ASSERT_TRUE(unchanged);
  EXPECT_EQ(*unchanged, png);
  auto converted = NormalizePicturePath(gif, userData.path());
  ASSERT_TRUE(converted) << converted.error();
  EXPECT_EQ(*converted, ImportFolder() + "/Bmp001.bmp");
  auto failed = NormalizePicturePath(broken, userData.path());
  EXPECT_FALSE(failed);
  EXPECT_EQ(ImportedFiles(), std::vector<std::string>{"Bmp001.bmp"});
}

}  // namespace
}  // namespace bvq::images
