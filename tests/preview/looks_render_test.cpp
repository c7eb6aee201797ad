// The installer's looks composed without a window: header and logo with their frames,
// gradients, silent grey and items at their stored places; the full-screen background in its
// gradient and picture placements, with its texts.
#include <gtest/gtest.h>


#include "images/pictures.h"
#include "preview/looks_render.h"
#include "preview_support.h"
#include "test_support.h"

namespace bvq::preview::test {
namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kGreen(0, 255, 0), kMagenta(255, 0, 255);

class LooksRenderTest : public ::testing::Test {
 protected:
  LooksRenderTest() {
    // Items where the installer puts them by default; texts empty on the background.
    for (PreviewItem item : kAllItems) project.*ItemPosition(item) = DefaultItemPosition(item);
  }
  std::string Picture(const std::string& name, int w, int h, std::function<QColor(int, int)> pixel) {
    const std::string path = dir / name;
    SavePicture(path, w, h, pixel);
    return path;
  }
  bvq::test::TempFolder dir;
  Project project;
};

TEST_F(LooksRenderTest, HeaderGradientRunsFromTheFirstColourToTheSecondInsideTheFrame) {
  project.headerGradient = true;
  project.headerGradientStart = WinColor(255, 0, 0);
  project.headerGradientEnd = WinColor(0, 0, 255);
  const QImage header = RenderHeader(project);
  ASSERT_EQ(header.size(), QSize(497, 60));
  for (int y : {1, 30, 58}) {
    SCOPED_TRACE(y);
    EXPECT_EQ(At(header, 0, y), QColor(Qt::black));
    EXPECT_EQ(At(header, 1, y), kRed) << "gradient starts inside the frame";
    EXPECT_EQ(At(header, 170, y), kBlue) << "last gradient column";
    EXPECT_EQ(At(header, 496, y), QColor(Qt::black));
  }
  EXPECT_EQ(At(header, 85, 30).red() + At(header, 85, 30).blue(), 255) << "between the two colours";
  EXPECT_EQ(At(header, 172, 58), kBlue) << "beyond the gradient the end colour";
  EXPECT_EQ(At(header, 100, 0), QColor(Qt::black));
  EXPECT_EQ(At(header, 100, 59), QColor(Qt::black));

  project.headerGradient = false;
  EXPECT_EQ(At(RenderHeader(project), 100, 30), QColor(Qt::white));
}

TEST_F(LooksRenderTest, SilentInstallationShowsFramedButtonFaceWithoutItems) {
  project.headerGradient = true;
  project.headerGradientStart = WinColor(255, 0, 0);
  project.showHeaderPicture = project.showLogo = true;
  project.headerPicture = Picture("h.png", 8, 8, [](int, int) { return kGreen; });
  project.logoPicture = Picture("l.png", 8, 8, [](int, int) { return kGreen; });
  project.silentInstall = true;
  for (const QImage& image : {RenderHeader(project), RenderLogo(project)}) {
    SCOPED_TRACE(image.width());
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const bool frame = x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
        ASSERT_EQ(At(image, x, y), frame ? QColor(Qt::black) : kButtonFace) << x << "," << y;
      }
  }
}

TEST_F(LooksRenderTest, PicturesSitAtTheirStoredPositionsAndShowOnlyWhileSwitchedOn) {
  project.headerPicture = Picture("h.png", 6, 4, [](int, int) { return kGreen; });
  project.logoPicture = Picture("l.png", 5, 3, [](int, int) { return kRed; });
  project.headerPicturePosition = {30, 12};
  project.logoPicturePosition = {-2, 300};  // partly outside: clipped
  project.showHeaderPicture = project.showLogo = true;
  project.headerTitlePosition = project.headerDescriptionPosition = {-500, -500};  // out of the way

  const QImage header = RenderHeader(project);
  EXPECT_EQ(Difference(header, ComposeHeaderBackdrop(project)), QRect(30, 12, 6, 4));
  const QImage logo = RenderLogo(project);
  EXPECT_EQ(Difference(logo, ComposeLogoBackdrop(project)), QRect(0, 300, 3, 3));
  EXPECT_EQ(At(logo, 0, 300), kRed);

  project.showHeaderPicture = project.showLogo = false;
  EXPECT_EQ(RenderHeader(project), ComposeHeaderBackdrop(project));
  EXPECT_EQ(RenderLogo(project), ComposeLogoBackdrop(project));
}

TEST_F(LooksRenderTest, LabelsSitAtTheirStoredPositionsEvenBeyondThePanel) {
  project.headerTitlePosition = {250, 30};
  project.headerDescriptionPosition = {-500, -500};  // dragged out of sight
  const QRect title = Difference(RenderHeader(project), ComposeHeaderBackdrop(project));
  ASSERT_FALSE(title.isEmpty());
  EXPECT_GE(title.left(), 250);
  EXPECT_LE(title.left(), 253);
  EXPECT_GE(title.top(), 30);
  EXPECT_LE(title.top(), 36);

  project.headerTitlePosition = {-500, -500};
  project.headerDescriptionPosition = {10, 40};
  const QRect description = Difference(RenderHeader(project), ComposeHeaderBackdrop(project));
  ASSERT_FALSE(description.isEmpty());
  EXPECT_GE(description.left(), 10);
  EXPECT_LE(description.left(), 13);
  EXPECT_GE(description.top(), 40);
}

TEST_F(LooksRenderTest, TransparentPicturesLeaveOutTheirBottomLeftColourAndKeepTheirAlpha) {
  // Magenta background with a green dot at (1, 1) and a fully transparent pixel at (2, 0).
  project.logoPicture = Picture("t.png", 4, 4, [](int x, int y) {
    if (x == 1 && y == 1) return kGreen;
    if (x == 2 && y == 0) return QColor(0, 0, 0, 0);
    return kMagenta;
  });
  project.showLogo = true;
  project.logoPicturePosition = {10, 10};
  project.logoPictureTransparent = false;
  QImage logo = RenderLogo(project);
  EXPECT_EQ(At(logo, 10, 10), kMagenta);
  EXPECT_EQ(At(logo, 12, 10), QColor(Qt::white)) << "alpha of the file";
  project.logoPictureTransparent = true;
  logo = RenderLogo(project);
  EXPECT_EQ(At(logo, 10, 10), QColor(Qt::white));
  EXPECT_EQ(At(logo, 13, 13), QColor(Qt::white));
  EXPECT_EQ(At(logo, 11, 11), kGreen);
}

TEST_F(LooksRenderTest, MissingOrUnreadablePictureFilesShowAnEmptyArea) {
  project.showHeaderPicture = project.showLogo = true;
  const std::string garbage = dir / "garbage.bmp";
  bvq::test::WriteFile(garbage, "BM not really a bitmap");
  for (const std::string& file : {dir / "missing.png", garbage, std::string()}) {
    SCOPED_TRACE(file);
    project.headerPicture = project.logoPicture = file;
    project.showHeaderPicture = project.showLogo = true;
    const QImage header = RenderHeader(project), logo = RenderLogo(project);
    project.showHeaderPicture = project.showLogo = false;
    EXPECT_EQ(header, RenderHeader(project));
    EXPECT_EQ(logo, RenderLogo(project));
  }
}

TEST_F(LooksRenderTest, GradientBackgroundEndsCarryTheTwoColoursInItsDirection) {
  project.backgroundIsGradient = true;
  project.backgroundGradientStart = WinColor(255, 0, 0);
  project.backgroundGradientEnd = WinColor(0, 0, 255);
  for (int direction : {0, 1}) {
    SCOPED_TRACE(direction);
    project.backgroundGradientDirection = direction;
    auto image = RenderBackground(project, QSize(64, 48));
    ASSERT_TRUE(image) << image.error();
    const bool vertical = direction == 0;
    EXPECT_EQ(At(*image, 0, 0), kRed);
    EXPECT_EQ(At(*image, 63, 47), kBlue);
    EXPECT_EQ(At(*image, vertical ? 63 : 0, vertical ? 0 : 47), kRed) << "along the first edge";
    EXPECT_EQ(At(*image, vertical ? 0 : 63, vertical ? 47 : 0), kBlue) << "along the last edge";
  }
}

// Picture (x, y) of a w x h picture gets a colour of its own.
QColor Coded(int x, int y) { return QColor(40 * x % 256, 40 * y % 256, 200); }

TEST_F(LooksRenderTest, BackgroundPicturePlacements) {
  project.backgroundIsGradient = false;
  struct Case {
    const char* name;
    int placement, pw, ph;
    std::function<QColor(int, int)> expected;  // at screen (x, y) of a 10 x 6 screen
  };
  const Case cases[] = {
      // Fill: tiles from the top-left corner.
      {"fill", 0, 3, 4, [](int x, int y) { return Coded(x % 3, y % 4); }},
      // Centre, larger than the screen: offsets (10 - 13) / 2 and (6 - 9) / 2, halves to even = -2.
      {"centre large", 2, 13, 9, [](int x, int y) { return Coded(x + 2, y + 2); }},
      // Centre, smaller: offsets (10 - 4) / 2 = 3 and (6 - 3) / 2 = 1.5, which goes to the even 2.
      {"centre small", 2, 4, 3,
       [](int x, int y) { return x >= 3 && x < 7 && y >= 2 && y < 5 ? Coded(x - 3, y - 2) : QColor(Qt::black); }},
      // Stretch: 5 x 3 doubled.
      {"stretch", 1, 5, 3, [](int x, int y) { return Coded(x / 2, y / 2); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    project.backgroundPicturePlacement = c.placement;
    project.backgroundPicture = Picture(std::string(c.name) + ".png", c.pw, c.ph, Coded);
    auto image = RenderBackground(project, QSize(10, 6));
    ASSERT_TRUE(image) << image.error();
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 10; ++x) EXPECT_EQ(At(*image, x, y), c.expected(x, y)) << x << "," << y;
  }
}

// Pixel (x, y) of a picture up to 4096 x 4096 as a colour that names it.
QColor Coordinates(int x, int y) { return QColor(x & 0xFF, (x >> 8) | (y >> 8) << 4, y & 0xFF); }
QPoint SourceOf(const QImage& image, int x, int y) {
  const QColor c = At(image, x, y);
  return QPoint(c.red() | (c.green() & 0xF) << 8, c.blue() | (c.green() >> 4) << 8);
}

// Lengths of the runs of equal source columns along the top row and of source rows down the
// left column of a composed background; every run must come from the next used source pixel.
std::pair<std::vector<int>, std::vector<int>> Runs(const QImage& image) {
  std::vector<int> across, down;
  for (int x = 0; x < image.width(); ++x) {
    if (x == 0 || SourceOf(image, x, 0).x() != SourceOf(image, x - 1, 0).x()) across.push_back(0);
    ++across.back();
  }
  for (int y = 0; y < image.height(); ++y) {
    if (y == 0 || SourceOf(image, 0, y).y() != SourceOf(image, 0, y - 1).y()) down.push_back(0);
    ++down.back();
  }
  return {across, down};
}

TEST_F(LooksRenderTest, StretchedBackgroundOnAScreen) {
  project.backgroundIsGradient = false;
  project.backgroundPicturePlacement = 1;
  const QSize screen(1024, 768);

  // Growing 100 x 100: every source pixel 10 or 11 times across and 7 or 8 times down.
  project.backgroundPicture = Picture("small.png", 100, 100, Coordinates);
  auto grown = RenderBackground(project, screen);
  ASSERT_TRUE(grown) << grown.error();
  const auto [across, down] = Runs(*grown);
  ASSERT_EQ(across.size(), 100u);
  ASSERT_EQ(down.size(), 100u);
  for (int n : across) EXPECT_TRUE(n == 10 || n == 11) << n;
  for (int n : down) EXPECT_TRUE(n == 7 || n == 8) << n;
  EXPECT_EQ(SourceOf(*grown, 1023, 767), QPoint(99, 99));

  // Shrinking 3000 x 2000: source columns and rows in steps of 2 or 3 from the first.
  project.backgroundPicture = Picture("large.png", 3000, 2000, Coordinates);
  auto shrunk = RenderBackground(project, screen);
  ASSERT_TRUE(shrunk) << shrunk.error();
  EXPECT_EQ(SourceOf(*shrunk, 0, 0), QPoint(0, 0));
  for (int x = 1; x < 1024; ++x) {
    const int step = SourceOf(*shrunk, x, 0).x() - SourceOf(*shrunk, x - 1, 0).x();
    ASSERT_TRUE(step == 2 || step == 3) << step << " at column " << x;
  }
  for (int y = 1; y < 768; ++y) {
    const int step = SourceOf(*shrunk, 0, y).y() - SourceOf(*shrunk, 0, y - 1).y();
    ASSERT_TRUE(step == 2 || step == 3) << step << " at row " << y;
  }

  // 2000 x 500 shrinks across and grows down: whole source pixels in order, all rows used.
  project.backgroundPicture = Picture("wide.png", 2000, 500, Coordinates);
  auto mixed = RenderBackground(project, screen);
  ASSERT_TRUE(mixed) << mixed.error();
  const auto [mixedAcross, mixedDown] = Runs(*mixed);
  EXPECT_EQ(mixedAcross.size(), 1024u) << "no source column twice";
  EXPECT_EQ(mixedDown.size(), 500u) << "every source row";
  EXPECT_EQ(SourceOf(*mixed, 0, 0), QPoint(0, 0));
  EXPECT_EQ(SourceOf(*mixed, 0, 767).y(), 499);
}

TEST_F(LooksRenderTest, UnreadableBackgroundPictureGivesThePictureReadersMessage) {
  const std::string bad = dir / "bad.bmp";
  bvq::test::WriteFile(bad, "BMxxxxxxxxxxxxxxxxxxxxxxxxxx");
  for (const std::string& file : {bad, dir / "missing.bmp"}) {
    project.backgroundPicture = file;
    auto image = RenderBackground(project, QSize(64, 48));
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error(), images::LoadPicture(file).error());
    EXPECT_NE(image.error().find(file), std::string::npos) << image.error();
  }
}

TEST_F(LooksRenderTest, BackgroundTextsShowTheProjectsValuesForItsVariables) {
  project.backgroundIsGradient = true;
  project.productName = "Quill";
  project.productVersion = "2.5";
  project.companyName = "Inkwell";
  project.backgroundTitleFont = {"DejaVu Sans", 24, WinColor(255, 255, 255), 0, kFontBold};
  project.backgroundCompanyFont = {"DejaVu Sans", 12, WinColor(255, 255, 0), 0, 0};
  auto render = [&](const std::string& title, const std::string& company) {
    project.backgroundTitle = title;
    project.backgroundCompany = company;
    auto image = RenderBackground(project, QSize(400, 300));
    EXPECT_TRUE(image) << image.error();
    return image ? *image : QImage();
  };
  const QImage plain = render("", "");
  const QImage withVariables = render("%ProductName% %ProductVersion%", "%CompanyName%");
  EXPECT_EQ(withVariables, render("Quill 2.5", "Inkwell"));
  EXPECT_NE(withVariables, render("%Unknown% 2.5", "Inkwell"));
  // The title starts at (20, 20); the company text ends 16 pixels from the right edge and its
  // box 12 pixels above the bottom.
  const QRect title = Difference(plain, render("Quill", "")), company = Difference(plain, render("", "Inkwell"));
  EXPECT_GE(title.left(), 20);
  EXPECT_LE(title.left(), 24);
  EXPECT_GE(title.top(), 20);
  EXPECT_LE(company.right(), 400 - 16);
  EXPECT_GE(company.right(), 400 - 22);
  EXPECT_LE(company.bottom(), 300 - 12);
  EXPECT_GE(company.bottom(), 300 - 12 - 8);
  bool yellow = false;
  for (int y = company.top(); y <= company.bottom(); ++y)
    for (int x = company.left(); x <= company.right(); ++x)
      yellow = yellow || At(withVariables, x, y) == QColor(255, 255, 0);
  EXPECT_TRUE(yellow) << "the company text in its font's colour";
}

}  // namespace
}  // namespace bvq::preview::test
