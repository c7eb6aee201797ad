#include "util/paths.h"

#include <gtest/gtest.h>

#include "util/program_values.h"

namespace bvq {
namespace {

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = ProgramFolder();
    SetProgramFolder("/opt/bvq/");
  }
  void TearDown() override { SetProgramFolder(saved_); }
  std::string saved_;
};

TEST_F(PathsTest, ExpandCurrentPathAnyLetterCase) {
  EXPECT_EQ(ExpandCurrentPath("%Current_Path%\\Icons\\x.ico"), "/opt/bvq\\Icons\\x.ico");
  EXPECT_EQ(ExpandCurrentPath("%CURRENT_PATH%/Bitmaps/a.bmp"), "/opt/bvq/Bitmaps/a.bmp");
  EXPECT_EQ(ExpandCurrentPath("C:\\plain.bmp"), "C:\\plain.bmp");
  // Later occurrences written like the first one are replaced; others stay.
  EXPECT_EQ(ExpandCurrentPath("%current_path%;%current_path%;%CURRENT_PATH%"), "/opt/bvq;/opt/bvq;%CURRENT_PATH%");
  EXPECT_EQ(NativePath(ExpandCurrentPath("%CURRENT_PATH%\\Data\\Logo.bmp")), "/opt/bvq/Data/Logo.bmp");
}

TEST(Paths, MakeInstallPath) {
  struct Case {
    const char* path;
    const char* expected;
  } cases[] = {
      {"app.exe", "%InstallPath%\\app.exe"},
      {"\\bin\\a.exe", "%InstallPath%\\bin\\a.exe"},
      {"C:\\x.exe", "C:\\x.exe"},
      {"%WindowsDir%\\x.exe", "%WindowsDir%\\x.exe"},
      {"mailto:someone", "mailto:someone"},
      {"http://example", "http://example"},
      {"", ""},
      {"\\", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeInstallPath(c.path), c.expected) << c.path;
}

TEST(Paths, RebasePath) {
  EXPECT_EQ(RebasePath("C:\\Src", "c:\\src\\sub\\a.txt", ""), "sub\\a.txt");
  EXPECT_EQ(RebasePath("/home/a/src", "/home/a/src/sub/a.txt", "%InstallPath%"), "%InstallPath%/sub/a.txt");
  EXPECT_EQ(RebasePath("C:\\Src", "c:\\src\\a.txt", "%InstallPath%\\"), "%InstallPath%\\a.txt");
  EXPECT_EQ(RebasePath("/home/a/src", "/home/a/srcx/a.txt", ""), "/home/a/srcx/a.txt");
  EXPECT_EQ(RebasePath("/a", "/b/c", ""), "/b/c");
}

TEST(Paths, NameChecksAndParts) {
  EXPECT_EQ(RemoveWildcards("a\"*b?c"), "abc");
  EXPECT_FALSE(IsValidFileName("a/b"));
  EXPECT_FALSE(IsValidFileName("a:b"));
  EXPECT_TRUE(IsValidFileName("a b.txt"));
  EXPECT_TRUE(IsValidPathText("C:\\a\\b"));
  EXPECT_FALSE(IsValidPathText("C:\\a|b"));
  EXPECT_EQ(ExtractFileName("C:\\dir\\f.txt"), "f.txt");
  EXPECT_EQ(ExtractFilePath("/dir/f.txt"), "/dir/");
  EXPECT_EQ(ExtractFileExt("/d.x/f"), "");
  EXPECT_EQ(ExtractFileExt("a.LNG"), ".LNG");
  EXPECT_EQ(IncludeTrailingSeparator("C:\\a"), "C:\\a\\");
  EXPECT_EQ(IncludeTrailingSeparator("/a"), "/a/");
}

}  // namespace
}  // namespace bvq
