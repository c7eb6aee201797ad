// The install texts of a built setup by their roles, the English text standing in for an
// empty one, and the choice of the install language.
#include "installer_support.h"

namespace bvq::test {
namespace {

// A setup of two install languages, built and opened.
class TwoLanguagesTest : public BuiltSetupTest {
 protected:
  void BuildAndOpen() {
    p.SetLanguageChecked(0, true);
    p.SetLanguageChecked(1, true);
    volumes = Build(false, 0);
    ASSERT_EQ(volumes.size(), 1u);
    setup = std::make_unique<OpenSetup>(volumes[0]);
    ASSERT_EQ(setup->error, L"");
    script = &setup->setup.script;
    ASSERT_EQ(script->entries[SEC_N], 2u);
  }
  std::vector<std::string> volumes;
  std::unique_ptr<OpenSetup> setup;
  const Script* script = nullptr;
};

class InstallTextsTest : public TwoLanguagesTest {
 protected:
  void SetUp() override {
    BuiltSetupTest::SetUp();
    if (IsSkipped()) return;
    BuildAndOpen();  // English (1033) and German (1031)
  }
  size_t LanguageWithId(const char* id) const {
    for (size_t i = 0; i < script->entries[SEC_N]; ++i)
      if (std::string(script_value(script, SEC_N, i, N_ID)) == id) return i;
    ADD_FAILURE() << "no language " << id;
    return 0;
  }
};

TEST_F(InstallTextsTest, TextsByRoleWithTheEnglishForEmptyOnes) {
  const size_t english = LanguageWithId("1033"), german = LanguageWithId("1031");
  // The language file's texts, as the build prepared them.
  EXPECT_EQ(Take(install_text(script, english, TXT_SETUP)), L"Welcome to Tool setup");
  EXPECT_EQ(Take(install_text(script, german, TXT_SETUP)), L"Willkommen");
  // Texts the language leaves empty: the English ones, with the product's name.
  for (size_t language : {english, german}) {
    EXPECT_EQ(Take(install_text(script, language, TXT_INSTALLED)), L"Tool has been installed.");
    EXPECT_EQ(Take(install_text(script, language, TXT_ROLLED_BACK)),
              L"Setup was not completed. The changes made so far have been undone.");
  }
  EXPECT_EQ(Take(install_text_with(script, german, TXT_INSERT_DISK, L"disk2.pak", 2)),
            L"Please insert disk 2 (disk2.pak) and click Retry.");
  EXPECT_EQ(Take(install_text_with(script, german, TXT_WRITE_FAILED, L"C:\\a b\\c.dll", 0)),
            L"Setup could not write the file C:\\a b\\c.dll.");
  // Outside the roles: nothing.
  EXPECT_EQ(Take(install_text(script, english, 0)), L"");
  EXPECT_EQ(Take(install_text(script, english, INSTALL_TEXT_COUNT + 1)), L"");
}

TEST_F(InstallTextsTest, LanguageChoice) {
  const size_t english = LanguageWithId("1033"), german = LanguageWithId("1031");
  const size_t first = 0;
  struct Case {
    const wchar_t* wanted;  // /L=
    unsigned user;          // the user's interface language
    size_t chosen;
  };
  const Case cases[] = {
      {L"1031", 1033, german},    // the switch wins over the user's language
      {L"1033", 1031, english},
      {L"2055", 1031, first},     // a switch naming no language of the setup: the first
      {nullptr, 1031, german},    // the user's language
      {nullptr, 2055, german},    // German (Switzerland): the same primary language
      {nullptr, 3081, english},   // English (Australia)
      {nullptr, 1036, first},     // French: none fits
  };
  for (const Case& c : cases)
    EXPECT_EQ(install_language_choose(script, c.wanted, c.user), c.chosen)
        << (c.wanted ? std::wstring(c.wanted) : L"-") << " " << c.user;
}

// A Russian setup: its texts and caption are bytes of code page 1251, whatever the code page
// of the system that runs it (1252 for these tests).
class RussianTextsTest : public TwoLanguagesTest {
 protected:
  void SetUp() override {
    BuiltSetupTest::SetUp();
    if (IsSkipped()) return;
    WriteFile(program->Program() + "Language/Install/Russian.lng",
              "[Language]\r\nName=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\nId=1049\r\n[Strings]\r\n"
              "1=\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 #appname#\r\n");
    p.SetInstallLanguages({"English", "Russian (\xD0\xF3\xF1\xF1\xEA\xE8\xE9)"});
    BuildAndOpen();
  }
};

TEST_F(RussianTextsTest, TextsAndCaptionInTheLanguagesCodePage) {
  EXPECT_EQ(Take(install_text(script, 1, TXT_SETUP)), L"\u0423\u0441\u0442\u0430\u043d\u043e\u0432\u043a\u0430 Tool");
  EXPECT_EQ(Take(install_language_caption(script, 1)), L"Russian (\u0420\u0443\u0441\u0441\u043a\u0438\u0439)");
  EXPECT_EQ(Take(install_language_caption(script, 0)), L"English");
  // A text the language leaves empty: the English one, size and name filled in as the build
  // fills the language's own (150,016 bytes of files).
  EXPECT_EQ(Take(install_text(script, 1, TXT_SPACE_NEEDED)), L"At least 146.50 Kb of free disk space is required.");
}

TEST(SizeText, AsTheAuthoringProgramWritesThem) {
  const struct {
    unsigned long long bytes;
    const wchar_t* text;
  } cases[] = {
      {0, L"0,00 Kb"},          {1, L"0.00 Kb"},           {1536, L"1.50 Kb"},
      {1048575, L"1 024.00 Kb"}, {1048576, L"1.00 Mb"},     {5000000, L"4.77 Mb"},
      {1073741824, L"1 024.00 Mb"}, {1073741825, L"1.00 Gb"}, {1234567890, L"1.15 Gb"},
      {5000ull << 30, L"5 000.00 Gb"},
  };
  for (const auto& c : cases) EXPECT_EQ(Take(w_size_text(c.bytes)), c.text) << c.bytes;
}

}  // namespace
}  // namespace bvq::test
