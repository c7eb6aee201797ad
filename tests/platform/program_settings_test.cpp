#include "platform/program_settings.h"

#include <sys/stat.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "../util/temp_dir.h"
#include "util/files.h"
#include "util/program_values.h"

namespace bvq {
namespace {

constexpr const char* kMain = SettingsStore::kMainSection;

TEST(ProgramSettings, BoundsOnlyWhenAllFourExist) {
  SettingsStore store("unused");
  store.SetInt(kMain, "Width", 800);
  store.SetInt(kMain, "Height", 600);
  EXPECT_FALSE(ReadProgramSettings(store).bounds);  // no Left: centred window of design size
  store.SetInt(kMain, "Left", 10);
  store.SetInt(kMain, "Top", 20);
  auto b = ReadProgramSettings(store).bounds;
  ASSERT_TRUE(b);
  EXPECT_EQ(b->width, 800);
  EXPECT_EQ(b->top, 20);
}

TEST(ProgramSettings, ColumnWidthsAndFlags) {
  SettingsStore store("unused");
  store.FromText("[Belvandorithquessal]\nLV3_0=250\nLV11_1=90\nLV12_0=5\nLVx_1=3\nOpenLastProject=1\n");
  ProgramSettings s = ReadProgramSettings(store);
  EXPECT_EQ(s.columnWidths, (std::map<std::pair<int, int>, int>{{{3, 0}, 250}, {{11, 1}, 90}}));
  EXPECT_TRUE(s.openLastProject);
  EXPECT_FALSE(s.isMaximized);
}

TEST(ProgramSettings, ClosingMaximisedKeepsStoredBounds) {
  SettingsStore store("unused");
  store.FromText("[Belvandorithquessal]\nWidth=800\nHeight=600\nLeft=1\nTop=2\n");
  ProgramSettings s = ReadProgramSettings(store);
  s.isMaximized = true;
  s.bounds = WindowBounds{1920, 1080, 0, 0};
  s.language = "Russian";
  s.columnWidths[{1, 0}] = 120;
  WriteClosingSettings(store, s);
  EXPECT_EQ(store.GetBool(kMain, "IsMaximized"), true);
  EXPECT_EQ(store.GetInt(kMain, "Width"), 800);
  EXPECT_EQ(store.GetInt(kMain, "Left"), 1);
  EXPECT_EQ(store.GetString(kMain, "Language"), "Russian");
  EXPECT_EQ(store.GetInt(kMain, "LV1_0"), 120);
  s.isMaximized = false;
  WriteClosingSettings(store, s);
  EXPECT_EQ(store.GetInt(kMain, "Width"), 1920);
}

class StartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedFolder_ = ProgramFolder();
    SetProgramFolder(dir_.Path() + "prog/");
    dir_.Write("prog/Language/Interface/English.lng", "[Strings]\n0=File\n");
    dir_.Write("prog/Language/Interface/Russian.lng", "[Strings]\n0=x\n");
    const char* tmp = std::getenv("TMPDIR");
    hadTmp_ = tmp != nullptr;
    savedTmp_ = tmp ? tmp : "";
    setenv("TMPDIR", dir_.Mkdir("tmp").c_str(), 1);
  }
  void TearDown() override {
    SetProgramFolder(savedFolder_);
    if (hadTmp_) setenv("TMPDIR", savedTmp_.c_str(), 1); else unsetenv("TMPDIR");
  }
  test::TempDir dir_;
  std::string savedFolder_, savedTmp_;
  bool hadTmp_ = false;
};

TEST_F(StartTest, LanguageFallsBackToEnglish) {
  EXPECT_EQ(ResolveInterfaceLanguage("Russian (Русский)"), "Russian");
  EXPECT_EQ(ResolveInterfaceLanguage("Klingon"), "English");
  EXPECT_EQ(ResolveInterfaceLanguage(""), "English");
}

TEST_F(StartTest, EmptyTempDirGetsTheDefaultWrittenBack) {
  std::string conf = dir_.Path() + "cfg/b.conf";
  SettingsStore store(conf);
  ProgramSettings s;
  Status started = StartProgram(store, s);
  ASSERT_TRUE(started) << started.error;
  std::string expected = dir_.Path() + "tmp/$bvq_inst-" + std::to_string(getuid()) + "/";
  EXPECT_EQ(WorkFolder(), expected);
  EXPECT_TRUE(DirectoryExists(expected));
  EXPECT_EQ(SettingsStore::Open(conf).GetString(kMain, "TempDir"), expected);
  EXPECT_EQ(s.language, "English");
}

TEST_F(StartTest, UnusableTempDirIsAnError) {
  SettingsStore store(dir_.Path() + "cfg/b.conf");
  store.SetString(kMain, "TempDir", dir_.Write("plainfile", "x"));
  ProgramSettings s;
  Status started = StartProgram(store, s);
  EXPECT_FALSE(started);
  EXPECT_FALSE(started.error.empty());
}

}  // namespace
}  // namespace bvq
