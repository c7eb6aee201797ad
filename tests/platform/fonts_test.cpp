#include "platform/fonts.h"

#include <gtest/gtest.h>

#include "../util/temp_dir.h"
#include "util/files.h"

namespace bvq {
namespace {

TEST(FontNameFromFile, FullNameOfTheFirstFace) {
  const std::string dejavu = "/usr/share/fonts/truetype/dejavu/";
  ASSERT_TRUE(FileExists(dejavu + "DejaVuSans.ttf")) << "fonts-dejavu-core is installed by scripts/setup";
  EXPECT_EQ(FontNameFromFile(dejavu + "DejaVuSans.ttf"), "DejaVu Sans");
  EXPECT_EQ(FontNameFromFile(dejavu + "DejaVuSerif-Bold.ttf"), "DejaVu Serif Bold");
}

TEST(FontNameFromFile, NotAFontGivesEmpty) {
  test::TempDir dir;
  EXPECT_EQ(FontNameFromFile(dir.Write("x.ttf", "not a font at all")), "");
  EXPECT_EQ(FontNameFromFile(dir.Path() + "missing.ttf"), "");
}

}  // namespace
}  // namespace bvq
