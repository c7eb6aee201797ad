#include <gtest/gtest.h>

#include "images/icon_file.h"
#include "images/icon_import.h"
#include "test_support.h"
#include "util/program_values.h"

namespace bvq::images {
namespace {

using namespace fixtures;
using Kind = ImportedIcon::Kind;

class IconImport : public ::testing::Test {
 protected:
  ScratchDir work;      // pictures and programs
  ScratchDir userData;  // the user's data folder

  std::string ImportFolder() const { return userData / "Icons/Import"; }
  bool NothingImported() const { return !fs::exists(ImportFolder()) || fs::is_empty(ImportFolder()); }

  // An .ico file made by icoutils from solid squares of the given sizes.
  std::string Icon(const std::string& name, std::initializer_list<int> sizes) {
    std::string inputs;
    for (int size : sizes) {
      const std::string png = work / (name + std::to_string(size) + ".png");
      MakePicture("-size " + std::to_string(size) + "x" + std::to_string(size) + " xc:'rgb(" +
                  std::to_string(size * 5) + ",64,160)' " + Quote(png));
      inputs += " " + Quote(png);
    }
    const std::string ico = work / (name + ".ico");
    EXPECT_TRUE(RunTool("icotool -c -b 32 -o " + Quote(ico) + inputs));
    return ico;
  }

  // A 32-bit Windows program carrying the given icons as named icon groups.
  std::string Program(const std::string& name, const std::vector<std::pair<std::string, std::string>>& groups) {
    const std::string rc = work / (name + ".rc"), res = work / (name + ".res"), c = work / (name + ".c"),
                      exe = work / (name + ".exe");
    std::string script;
    for (const auto& [group, ico] : groups) script += group + " ICON \"" + ico + "\"\n";
    WriteBytes(rc, script);
    WriteBytes(c, "int main(void) { return 0; }\n");
    std::string resources;
    if (!groups.empty()) {
      EXPECT_TRUE(RunTool("i686-w64-mingw32-windres " + Quote(rc) + " -O coff -o " + Quote(res)));
      resources = " " + Quote(res);
    }
    EXPECT_TRUE(RunTool("i686-w64-mingw32-gcc -s " + Quote(c) + resources + " -o " + Quote(exe)));
    return exe;
  }

  // The group as wrestool (icoutils) extracts it to an .ico file.
  IconFile GroupByWrestool(const std::string& exe, const std::string& group) {
    const std::string out = work / ("wrestool-" + group + ".ico");
    EXPECT_TRUE(RunTool("wrestool -x --type=14 --name=" + group + " -o " + Quote(out) + " " + Quote(exe)));
    auto icon = ReadIconFile(out);
    EXPECT_TRUE(icon) << icon.error();
    return icon ? *icon : IconFile();
  }
};

void ExpectSameImages(const IconFile& got, const IconFile& expected) {
  ASSERT_EQ(got.images.size(), expected.images.size());
  for (size_t i = 0; i < got.images.size(); ++i) {
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(got.images[i].entry), 8),
              std::string(reinterpret_cast<const char*>(expected.images[i].entry), 8))
        << "entry " << i;
    EXPECT_EQ(got.images[i].bytes, expected.images[i].bytes) << "image " << i;
  }
}

TEST_F(IconImport, IconFilesAreKeptAsPicked) {
  for (const std::string picked : {"C:\\Icons\\Setup.ICO", "%CURRENT_PATH%\\Icons\\Install\\a.ico", "missing.ico"}) {
    const ImportedIcon result = ImportIcon(picked, std::nullopt, userData.path());
    EXPECT_EQ(result.kind, Kind::Kept) << picked;
    EXPECT_EQ(result.path, picked);
  }
  EXPECT_TRUE(NothingImported());
}

TEST_F(IconImport, SingleGroupBecomesTheNextNumberedIconWithAllItsImages) {
  const std::string exe = Program("single", {{"MAINICON", Icon("main", {16, 48})}});
  const ImportedIcon first = ImportIcon(exe, std::nullopt, userData.path());
  ASSERT_EQ(first.kind, Kind::Extracted) << first.error;
  EXPECT_EQ(first.path, ImportFolder() + "/Icon_001.ico");
  auto saved = ReadIconFile(first.path);
  ASSERT_TRUE(saved) << saved.error();
  ExpectSameImages(*saved, GroupByWrestool(exe, "MAINICON"));
  // Shown from its first image: there is no 32 x 32 image.
  auto preview = IconPreview(first.path);
  ASSERT_TRUE(preview) << preview.error();
  EXPECT_EQ(preview->width, 16);

  const ImportedIcon second = ImportIcon(exe, std::nullopt, userData.path());
  ASSERT_EQ(second.kind, Kind::Extracted) << second.error;
  EXPECT_EQ(second.path, ImportFolder() + "/Icon_002.ico");
}

TEST_F(IconImport, SeveralGroupsAskWhichAndSaveTheChosenOne) {
  const std::string exe =
      Program("several", {{"FIRST", Icon("a", {16})}, {"SECOND", Icon("b", {32, 48})}, {"THIRD", Icon("c", {24})}});
  const ImportedIcon ask = ImportIcon(exe, std::nullopt, userData.path());
  EXPECT_EQ(ask.kind, Kind::ChooseGroup);
  EXPECT_EQ(ask.groupCount, 3);
  EXPECT_TRUE(NothingImported());

  const ImportedIcon chosen = ImportIcon(exe, 1, userData.path());
  ASSERT_EQ(chosen.kind, Kind::Extracted) << chosen.error;
  auto saved = ReadIconFile(chosen.path);
  ASSERT_TRUE(saved) << saved.error();
  ExpectSameImages(*saved, GroupByWrestool(exe, "SECOND"));

  const ImportedIcon outOfRange = ImportIcon(exe, 3, userData.path());
  EXPECT_EQ(outOfRange.kind, Kind::Failed);
  EXPECT_FALSE(outOfRange.error.empty());
  EXPECT_EQ(fs::path(chosen.path).filename(), "Icon_001.ico");
  EXPECT_FALSE(fs::exists(ImportFolder() + "/Icon_002.ico"));
}

TEST_F(IconImport, FilesWithoutIconsGiveTheWarningResult) {
  const std::string text = work / "notes.exe";
  WriteBytes(text, "MZ but nothing else");
  for (const std::string& picked : {Program("plain", {}), text, work / "missing.dll"}) {
    const ImportedIcon result = ImportIcon(picked, std::nullopt, userData.path());
    EXPECT_EQ(result.kind, Kind::NoIcons) << picked;
    EXPECT_TRUE(result.path.empty());
  }
  EXPECT_TRUE(NothingImported());
}

TEST_F(IconImport, CurrentPathIsExpandedToFindTheProgram) {
  SetProgramFolder(work.path() + "/");
  Program("tool", {{"APP", Icon("app", {32})}});
  const ImportedIcon result = ImportIcon("%Current_Path%\\tool.exe", std::nullopt, userData.path());
  ASSERT_EQ(result.kind, Kind::Extracted) << result.error;
  EXPECT_EQ(result.path, ImportFolder() + "/Icon_001.ico");
}

}  // namespace
}  // namespace bvq::images
