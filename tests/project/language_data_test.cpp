// Checks of the language files shipped in data/Language.
#include <set>

#include <gtest/gtest.h>

#include "project/language_cells.h"
#include "project/language_files.h"
#include "project/language_lists.h"
#include "util/code_page.h"
#include "util/ini_file.h"

namespace bvq {
namespace {

const std::string kData = std::string(BVQ_SOURCE_DIR) + "/data/Language/";

IniFile Load(const std::string& relative) {
  auto ini = IniFile::Load(kData + relative);
  EXPECT_TRUE(ini) << relative;
  return ini ? *ini : IniFile();
}

TEST(ShippedInterfaceLanguages, EveryStringIsFilledAndReadable) {
  for (const char* name : {"English", "Russian"}) {
    IniFile ini = Load(std::string("Interface/") + name + ".lng");
    auto cp = LanguageCodePage(ini);
    ASSERT_TRUE(cp) << name;
    InterfaceStringTable strings = UnescapeStrings(ReadRawLanguageStrings(ini));
    for (int n = 0; n < kInterfaceStringCount; ++n) {
      EXPECT_FALSE(strings[n].empty()) << name << " string " << n;
      // Every byte is a character of the file's code page.
      EXPECT_EQ(AnsiToUtf8(strings[n], *cp).find("\xEF\xBF\xBD"), std::string::npos) << name << " string " << n;
    }
  }
  EXPECT_EQ(LanguageCodePage(Load("Interface/Russian.lng")), 1251);
  EXPECT_EQ(AnsiToUtf8(*LanguageOwnName(Load("Interface/Russian.lng")), 1251), "Русский");
}

TEST(ShippedInterfaceLanguages, ChoiceWordsAreDistinctWithinTheirSets) {
  // Cells store these words; two equal words of one set could not be told apart or
  // re-translated.
  for (const char* name : {"English", "Russian"}) {
    InterfaceStringTable s = UnescapeStrings(ReadRawLanguageStrings(Load(std::string("Interface/") + name + ".lng")));
    for (const LocalizedCellSet& set : LocalizedCellSets()) {
      std::set<std::string> words;
      for (int n = set.first; n <= set.last; ++n) words.insert(s[n]);
      EXPECT_EQ(words.size(), size_t(set.last - set.first + 1)) << name << " strings " << set.first << ".." << set.last;
    }
  }
}

TEST(ShippedInterfaceLanguages, WindowSectionsMatchTheWindows) {
  std::set<std::string> windows(LanguageWindowNames().begin(), LanguageWindowNames().end());
  IniFile english = Load("Interface/English.lng");
  IniFile russian = Load("Interface/Russian.lng");
  for (const std::string& window : LanguageWindowNames()) {
    EXPECT_TRUE(english.HasSection(window)) << window;
    EXPECT_EQ(english.Keys(window), russian.Keys(window)) << window;
    EXPECT_EQ(ReadWindowTexts(russian, window).size(), russian.Keys(window).size()) << window;
  }
  for (const std::string& section : english.Sections())
    EXPECT_TRUE(section == "Language" || section == "Strings" || windows.count(section)) << section;
  EXPECT_EQ(english.Get("AddRegForm", "LabeledEdit1"), "Sub Key:");
}

TEST(ShippedInterfaceLanguages, RetranslatingEnglishCellsToRussian) {
  auto russian = LoadInterfaceStrings(kData + "Interface/Russian.lng");
  ASSERT_TRUE(russian);
  std::vector<std::string> row = {"/src/a.exe", "%InstallPath%\\a.exe", "Replace", "Yes"};
  RetranslateCells("English", kData + "Interface/English.lng", "Russian", *russian,
                   [&](int list, int column, const std::function<void(std::string&)>& rewrite) {
                     if (list == 3) rewrite(row[column]);
                   });
  EXPECT_EQ(AnsiToUtf8(row[2], 1251), "Заменить");
  EXPECT_EQ(AnsiToUtf8(row[3], 1251), "Да");
}

TEST(ShippedInstallLanguages, NameIdAndNinetyNineTexts) {
  struct Case {
    const char* file;
    int id;
    const char* ownName;
    int codePage;
  } cases[] = {{"English", 1033, "English", 1252}, {"German", 1031, "Deutsch", 1252}, {"Russian", 1049, "Русский", 1251}};
  for (const Case& c : cases) {
    IniFile ini = Load(std::string("Install/") + c.file + ".lng");
    EXPECT_EQ(ini.Get("Language", "Id"), std::to_string(c.id)) << c.file;
    EXPECT_EQ(AnsiToUtf8(ini.Get("Language", "Name"), c.codePage), c.ownName) << c.file;
    for (int n = 1; n <= 99; ++n) {
      std::string text = ini.Get("Strings", std::to_string(n));
      EXPECT_FALSE(text.empty()) << c.file << " text " << n;
      EXPECT_EQ(AnsiToUtf8(text, c.codePage).find("\xEF\xBF\xBD"), std::string::npos) << c.file << " text " << n;
    }
  }
  EXPECT_EQ(ListLanguageNames(kData + "Install/"), (TStrList{"English", "German", "Russian"}));
}

}  // namespace
}  // namespace bvq
