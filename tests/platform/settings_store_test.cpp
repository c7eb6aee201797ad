#include "platform/settings_store.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "../util/temp_dir.h"
#include "util/files.h"

namespace bvq {
namespace {

TEST(SettingsStore, RoundTripThroughTheFile) {
  test::TempDir dir;
  std::string path = dir.Path() + "cfg/Oskavarnholt/Belvandorithquessal.conf";
  {
    SettingsStore store(path);
    store.SetString(SettingsStore::kMainSection, "Language", "Russian");
    store.SetString(SettingsStore::kMainSection, "TempDir", "/tmp/with = sign\\and\nnewline");
    store.SetBool(SettingsStore::kMainSection, "IsMaximized", true);
    store.SetInt(SettingsStore::kMainSection, "LV3_0", 250);
    store.SetString(SettingsStore::kReopenSection, "0", "/p/a.bvq");
    ASSERT_TRUE(store.Save());  // creates the missing folders
  }
  SettingsStore store = SettingsStore::Open(path);
  EXPECT_EQ(store.GetString("belvandorithquessal", "language"), "Russian");
  EXPECT_EQ(store.GetString(SettingsStore::kMainSection, "TempDir"), "/tmp/with = sign\\and\nnewline");
  EXPECT_EQ(store.GetBool(SettingsStore::kMainSection, "IsMaximized"), true);
  EXPECT_EQ(store.GetInt(SettingsStore::kMainSection, "LV3_0"), 250);
  EXPECT_EQ(store.GetString(SettingsStore::kReopenSection, "0"), "/p/a.bvq");
  EXPECT_FALSE(store.Has(SettingsStore::kMainSection, "Width"));
}

TEST(SettingsStore, TruthValuesAndBadNumbers) {
  SettingsStore store("unused");
  store.FromText("[Belvandorithquessal]\nOpenLastProject=7\nIsMaximized=0\nWidth=wide\n");
  EXPECT_EQ(store.GetBool(SettingsStore::kMainSection, "OpenLastProject"), true);  // non-zero is true
  EXPECT_EQ(store.GetBool(SettingsStore::kMainSection, "IsMaximized"), false);
  EXPECT_EQ(store.GetInt(SettingsStore::kMainSection, "Width"), std::nullopt);
  store.Remove(SettingsStore::kMainSection, "width");
  EXPECT_FALSE(store.Has(SettingsStore::kMainSection, "Width"));
}

TEST(SettingsStore, SaveIsAtomicAndAFailedSaveKeepsTheOldFile) {
  test::TempDir dir;
  std::string path = dir.Write("s.conf", "[Belvandorithquessal]\nLanguage=English\n");
  SettingsStore store = SettingsStore::Open(path);
  store.SetString(SettingsStore::kMainSection, "Language", "Deutsch");
  ASSERT_TRUE(store.Save());
  EXPECT_EQ(*ReadFileBytes(path), "[Belvandorithquessal]\nLanguage=Deutsch\n");
  TStrList files;
  ListFolderFiles(files, dir.Path(), true, true);
  EXPECT_EQ(files, TStrList{path});  // no temporary file left behind

  // A store whose path names a folder cannot be written: error, the folder untouched.
  dir.Mkdir("taken");
  SettingsStore bad(dir.Path() + "taken");
  bad.SetString(SettingsStore::kMainSection, "Language", "x");
  Status saved = bad.Save();
  EXPECT_FALSE(saved);
  EXPECT_FALSE(saved.error.empty());
  EXPECT_TRUE(DirectoryExists(dir.Path() + "taken"));
}

TEST(SettingsStore, DefaultPathFollowsXdgConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(SettingsStore::DefaultPath(), "/cfg/Oskavarnholt/Belvandorithquessal.conf");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  EXPECT_NE(SettingsStore::DefaultPath().find("/.config/Oskavarnholt/Belvandorithquessal.conf"), std::string::npos);
  if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace bvq
