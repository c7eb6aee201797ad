#include "project/interface_text_ids.h"
#include "project/language_files.h"

#include <gtest/gtest.h>

#include "../util/temp_dir.h"
#include "project/language_lists.h"
#include "util/code_page.h"
#include "util/paths.h"
#include "util/program_values.h"

namespace bvq {
namespace {

// A program folder with interface and install language files.
class LanguageFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = ProgramFolder();
    SetProgramFolder(dir_.Path());
  }
  void TearDown() override {
    SetProgramFolder(saved_);
    SetAnsiCodePage(kDefaultAnsiCodePage);
  }
  std::string Interface(const std::string& name, const std::string& text) {
    return dir_.Write("Language/Interface/" + name + ".lng", text);
  }
  std::string Install(const std::string& name, const std::string& text) {
    return dir_.Write("Language/Install/" + name + ".lng", text);
  }
  test::TempDir dir_;
  std::string saved_;
};

TEST_F(LanguageFolder, StringsAreUnescapedAndMissingKeysEmpty) {
  std::string path = Interface("English",
                               "[Language]\nName=English\n"
                               "[Strings]\n0=File\n95=Save#32changes#32to\n"
                               "130=#progname##32Setup\n61=Done.#13#10Ready\n255=Last\n256=beyond\n");
  auto strings = LoadInterfaceStrings(path);
  ASSERT_TRUE(strings);
  EXPECT_EQ((*strings)[0], "File");
  EXPECT_EQ((*strings)[95], "Save changes to");
  EXPECT_EQ((*strings)[130], "Belvandorithquessal Setup");
  EXPECT_EQ((*strings)[61], "Done.\r\nReady");
  EXPECT_EQ((*strings)[1], "");
  EXPECT_EQ((*strings)[255], "Last");
  auto raw = ReadRawLanguageStrings(path);
  EXPECT_EQ((*raw)[95], "Save#32changes#32to");  // raw: as written
  EXPECT_FALSE(LoadInterfaceStrings(dir_.Path() + "Language/Interface/None.lng"));
}

TEST_F(LanguageFolder, LoadingALanguageSetsTheTableAndCodePage) {
  Interface("Russian", "[Language]\nName=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\nCodePage=1251\n[Strings]\n62=\xC4\xE0\n");
  ASSERT_TRUE(LoadInterfaceLanguage("Russian"));
  EXPECT_EQ(InterfaceString(kTextYes), "\xC4\xE0");
  EXPECT_EQ(AnsiToUtf8(InterfaceString(kTextYes)), "Да");
  EXPECT_FALSE(LoadInterfaceLanguage("Missing"));
  EXPECT_EQ(InterfaceString(kTextYes), "\xC4\xE0");  // unchanged
}

TEST_F(LanguageFolder, WindowTextsAreUnescapedAndEmptyOnesLeftOut) {
  std::string path = Interface("English", "[AboutForm]\nButton1=OK\nLabel1=\nLabel2=#progname##32site\n");
  auto ini = IniFile::Load(path);
  auto texts = ReadWindowTexts(*ini, "AboutForm");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], (std::pair<std::string, std::string>{"Button1", "OK"}));
  EXPECT_EQ(texts[1].second, "Belvandorithquessal site");
}

TEST_F(LanguageFolder, CaptionsAndMenuOfThirtyOneLanguages) {
  EXPECT_EQ(LanguageCaption("English", std::string("English (UK)")), "English");
  EXPECT_EQ(LanguageCaption("German", std::string("Deutsch")), "German (Deutsch)");
  EXPECT_EQ(LanguageCaption("German", std::nullopt), "German (German)");

  for (int n = 0; n < 31; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "L%02d", n);
    Interface(name, "[Language]\nName=Own" + std::string(name) + "\n");
  }
  dir_.Write("Language/Interface/readme.txt", "not a language");
  TStrList languages = ListInterfaceLanguages();
  ASSERT_EQ(languages.size(), 31u);
  auto menu = LanguageMenu(languages, "L03");
  ASSERT_EQ(menu.size(), 30u);
  int visible = 0;
  for (const auto& e : menu) visible += e.visible;
  EXPECT_EQ(visible, 30);
  EXPECT_EQ(menu[0].action, "Lang0");
  EXPECT_EQ(menu[3].caption, "L03 (OwnL03)");
  EXPECT_TRUE(menu[3].checked);
  EXPECT_FALSE(menu[4].checked);
  EXPECT_EQ(menu[29].name, "L29");  // the 31st language is not offered
}

TEST_F(LanguageFolder, FewLanguagesHideTheRestOfTheMenu) {
  Interface("English", "");
  Interface("russian", "[Language]\nName=R\n");
  Interface("Deutsch", "[Language]\nName=D\n");
  TStrList languages = ListInterfaceLanguages();
  EXPECT_EQ(languages, (TStrList{"Deutsch", "English", "russian"}));
  auto menu = LanguageMenu(languages, "English");
  EXPECT_TRUE(menu[2].visible);
  EXPECT_FALSE(menu[3].visible);
  EXPECT_EQ(menu[1].caption, "English");
  EXPECT_TRUE(menu[1].checked);
}

TEST_F(LanguageFolder, InstallLanguages) {
  Install("English", "[Language]\nName=English\nId=1033\n");
  Install("German", "[Language]\nName=Deutsch\nId=1031\n");
  Install("Klingon", "[Other]\n");
  auto items = ListInstallLanguages("German");
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].caption, "English");
  EXPECT_FALSE(items[0].checked);
  EXPECT_EQ(items[1].caption, "German (Deutsch)");
  EXPECT_TRUE(items[1].checked);
  EXPECT_EQ(items[2].caption, "Klingon (Klingon)");
}

TEST_F(LanguageFolder, SwitchingState) {
  TStrList languages = {"Deutsch", "English"};
  LanguageState state;
  state.currentFile = InterfaceLanguageFile("English");
  EXPECT_EQ(LanguageMenuIndex("Lang0"), 0);
  EXPECT_EQ(LanguageMenuIndex("Lang29"), 29);
  EXPECT_EQ(LanguageMenuIndex("Lang30"), -1);
  EXPECT_EQ(LanguageMenuIndex("Other1"), -1);
  ASSERT_TRUE(SwitchLanguageState(state, languages, 0));
  EXPECT_EQ(state.previous, "English");
  EXPECT_EQ(state.previousFile, InterfaceLanguageFile("English"));
  EXPECT_EQ(state.current, "Deutsch");
  EXPECT_EQ(state.currentFile, dir_.Path() + "Language/Interface/Deutsch.lng");
  EXPECT_FALSE(SwitchLanguageState(state, languages, 2));
  EXPECT_EQ(state.current, "Deutsch");
}

}  // namespace
}  // namespace bvq
