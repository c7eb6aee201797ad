// Normalisation, the ensure rules, re-translation and validation of the project.
#include <gtest/gtest.h>

#include <functional>

#include "project/project_rules.h"
#include "project/slot_table.h"
#include "project_test_support.h"

namespace bvq::test {
namespace {

class ProjectRulesTest : public ProjectTest {
 protected:
  // A new project that passes validation: one file entry whose source exists.
  void MakeValid() {
    source_ = folder_.Write("data/readme.txt", "text");
    project_.ListView3.AppendCells({source_, "%InstallPath%\\readme.txt", "E236", "Yes"});
    ASSERT_EQ(ValidateProject(project_, context_, {}), std::nullopt);
  }
  std::string source_;
};

TEST_F(ProjectRulesTest, NormalisationTrimsTheMarkedTexts) {
  project_.LabeledEdit2 = "  Product  ";
  project_.Edit10 = " folder";
  project_.LabeledEdit19 = "title ";
  project_.LabeledEdit20 = " secret ";  // the password keeps its blanks
  project_.TitleBackFont.Name = " Tahoma ";
  NormalizeProject(project_, context_);
  EXPECT_EQ(project_.LabeledEdit2, "Product");
  EXPECT_EQ(project_.Edit10, "folder");
  EXPECT_EQ(project_.LabeledEdit19, "title");
  EXPECT_EQ(project_.LabeledEdit20, " secret ");
  EXPECT_EQ(project_.TitleBackFont.Name, " Tahoma ");
}

TEST_F(ProjectRulesTest, SetupFileGetsExeExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\out\\Setup", "C:\\out\\Setup.exe"}, {"Setup.EXE", "Setup.EXE"}, {"Setup.Exe", "Setup.Exe"},
      {"setup.txt", "setup.txt.exe"},           {"exe", "exe.exe"},         {"", ""},
  };
  for (const auto& [given, expected] : cases) {
    project_.LabeledEdit5 = given;
    NormalizeProject(project_, context_);
    EXPECT_EQ(project_.LabeledEdit5, expected) << given;
  }
}

TEST_F(ProjectRulesTest, OptionsWithoutTextAreUntickedAndZeroVolumeSizeMeansOneFile) {
  project_.CheckBox7 = project_.CheckBox8 = project_.CheckBox36 = project_.CheckBox17 = true;
  project_.Edit2 = "";
  project_.Edit3 = "  ";
  project_.LabeledEdit8 = "";
  project_.LabeledEdit7 = "http://x";
  project_.ComboBox4 = 4;
  project_.UpDown1 = 0;
  NormalizeProject(project_, context_);
  EXPECT_FALSE(project_.CheckBox7);
  EXPECT_FALSE(project_.CheckBox8);
  EXPECT_FALSE(project_.CheckBox36);
  EXPECT_TRUE(project_.CheckBox17);
  EXPECT_EQ(project_.ComboBox4, 0);

  project_.ComboBox4 = 4;
  project_.UpDown1 = 100;
  NormalizeProject(project_, context_);
  EXPECT_EQ(project_.ComboBox4, 4);
}

TEST_F(ProjectRulesTest, PicturesStayAsTheyAreWithoutPictureImport) {
  const std::string jpeg = folder_.Write("pictures/head.jpg", "jpeg");
  project_.LabeledEdit14 = jpeg;
  NormalizeProject(project_, context_);
  EXPECT_EQ(project_.LabeledEdit14, jpeg);
}

// Normalisation step 2 converts a header or logo picture that is neither BMP nor PNG with
// the picture import of the images module; until that is connected here, the path stays.
TEST_F(ProjectRulesTest, EnsureInstallLanguage) {
  for (std::size_t i = 0; i < project_.LanguageListView.size(); ++i) project_.SetLanguageChecked(i, false);
  EnsureInstallLanguage(project_, "Russian");
  EXPECT_EQ(project_.CheckedLanguageCaptions(), std::vector<std::string>{"Russian (Russki)"});

  project_.SetLanguageChecked(2, false);
  EnsureInstallLanguage(project_, "Klingon");  // no such item: English
  EXPECT_EQ(project_.CheckedLanguageCaptions(), std::vector<std::string>{"English"});

  project_.SetLanguageChecked(0, true);
  EnsureInstallLanguage(project_, "Russian");  // something is checked: unchanged
  EXPECT_EQ(project_.CheckedLanguageCaptions(), (std::vector<std::string>{"Deutsch (Deutsch)", "English"}));
}

TEST_F(ProjectRulesTest, EnsureSupportedSystem) {
  for (auto& item : project_.VersionsListView) item.Checked = false;
  EnsureSupportedSystem(project_);
  for (const auto& item : project_.VersionsListView) EXPECT_TRUE(item.Checked);
  for (auto& item : project_.VersionsListView) item.Checked = false;
  project_.VersionsListView[3].Checked = true;
  EnsureSupportedSystem(project_);
  EXPECT_EQ(std::count_if(project_.VersionsListView.begin(), project_.VersionsListView.end(),
                          [](const CheckItem& i) { return i.Checked; }),
            1);
}

TEST_F(ProjectRulesTest, LicenceAndInformationEntriesFollowTheCheckedLanguages) {
  // English is checked by the new project: entries "shared" and "English".
  ASSERT_EQ(project_.LicenseFileList.size(), 2u);
  project_.LicenseFileList = {"all.rtf", "en.rtf"};
  project_.InfoFileList = {"all.txt", "en.txt"};
  project_.SetLanguageChecked(2, true);  // Russian after English
  project_.SetLanguageChecked(0, true);  // Deutsch before English
  EXPECT_EQ(project_.LicenseFileList, (std::vector<std::string>{"all.rtf", "", "en.rtf", ""}));
  EXPECT_EQ(project_.LicenseComboItems(),
            (std::vector<std::string>{"All languages", "Deutsch (Deutsch)", "English", "Russian (Russki)"}));
  project_.LicenseComboIndex = 3;
  project_.SetEdit7("ru.rtf");
  EXPECT_EQ(project_.LicenseFileList[3], "ru.rtf");

  project_.SetLanguageChecked(1, false);  // English off: its entries go
  EXPECT_EQ(project_.LicenseFileList, (std::vector<std::string>{"all.rtf", "", "ru.rtf"}));
  EXPECT_EQ(project_.InfoFileList, (std::vector<std::string>{"all.txt", "", ""}));
  EXPECT_EQ(project_.LicenseComboIndex, 0);
  EXPECT_EQ(project_.Edit7(), "all.rtf");
  project_.SetLanguageChecked(1, true);  // back, with empty entries
  EXPECT_EQ(project_.LicenseFileList, (std::vector<std::string>{"all.rtf", "", "", "ru.rtf"}));
}

TEST_F(ProjectRulesTest, RetranslationFollowsTheProjectLanguage) {
  project_.ListView2.AppendCells({"HKEY_CURRENT_USER", "k", "v", "REG_SZ", "d", "Nein", "Ja"});
  project_.ListView4.AppendCells({"D47", "cmd", "", "Normal", "D94", "Ja"});
  project_.ListView8.AppendCells({"x.ocx", "D63"});  // not a German yes/no word: unchanged
  project_.ProjectLanguage = "Deutsch";
  RetranslateProjectCells(project_, context_);
  EXPECT_EQ(project_.ListView2[0].SubItems, (std::vector<std::string>{"k", "v", "REG_SZ", "d", "No", "Yes"}));
  EXPECT_EQ(project_.ListView4[0].Caption, "E47");
  EXPECT_EQ(project_.ListView4[0].SubItems, (std::vector<std::string>{"cmd", "", "Normal", "E94", "Yes"}));
  EXPECT_EQ(project_.ListView8[0].SubItems[0], "D63");
  EXPECT_EQ(project_.ProjectLanguage, "English");
  // Once translated, a second run changes nothing.
  const Project after = project_;
  RetranslateProjectCells(project_, context_);
  EXPECT_EQ(project_, after);
}

TEST_F(ProjectRulesTest, NewProjectFailsOnlyForWantOfFiles) {
  const auto issue = ValidateProject(project_, context_, {});
  ASSERT_TRUE(issue);
  EXPECT_EQ(issue->Check, 6);
  EXPECT_EQ(issue->Message, 227);
  EXPECT_EQ(issue->Page, "Page2");
  EXPECT_EQ(issue->Control, "ListView3");
  MakeValid();
}

TEST_F(ProjectRulesTest, ValidationEnsuresLanguageAndSystem) {
  MakeValid();
  for (std::size_t i = 0; i < project_.LanguageListView.size(); ++i) project_.SetLanguageChecked(i, false);
  for (auto& item : project_.VersionsListView) item.Checked = false;
  EXPECT_EQ(ValidateProject(project_, context_, {}), std::nullopt);
  EXPECT_EQ(project_.CheckedLanguageCaptions(), std::vector<std::string>{"English"});
  for (const auto& item : project_.VersionsListView) EXPECT_TRUE(item.Checked);
}

// Each row breaks one thing of a valid project; the first failing check is reported.
TEST_F(ProjectRulesTest, ChecksInOrder) {
  struct Case {
    const char* name;
    std::function<void(Project&)> change;
    int check;
    int message;
    const char* page;
    int tab;
    const char* control;
  };
  const std::string n255(255, 'n'), n256(256, 'n');
  const Case cases[] = {
      {"product empty", [](Project& p) { p.LabeledEdit2 = " "; }, 1, 223, "Page1", -1, "LabeledEdit2"},
      {"product 256", [&](Project& p) { p.LabeledEdit2 = n256; }, 1, 224, "Page1", -1, "LabeledEdit2"},
      {"product slash", [](Project& p) { p.LabeledEdit2 = "a/b"; }, 1, 225, "Page1", -1, "LabeledEdit2"},
      {"product before version", [](Project& p) { p.LabeledEdit2 = "a|b"; p.LabeledEdit29 = ""; }, 1, 225, "Page1", -1, "LabeledEdit2"},
      {"version colon", [](Project& p) { p.LabeledEdit29 = "1:0"; }, 2, 225, "Page1", -1, "LabeledEdit29"},
      {"company empty", [](Project& p) { p.LabeledEdit4 = ""; }, 3, 223, "Page1", -1, "LabeledEdit4"},
      {"company 256", [&](Project& p) { p.LabeledEdit4 = n256; }, 3, 224, "Page1", -1, "LabeledEdit4"},
      {"setup empty", [](Project& p) { p.LabeledEdit5 = ""; }, 4, 223, "Page1", -1, "LabeledEdit5"},
      {"setup star", [](Project& p) { p.LabeledEdit5 = "C:\\a*b.exe"; }, 4, 226, "Page1", -1, "LabeledEdit5"},
      {"volume name backslash", [](Project& p) { p.ComboBox4 = 1; p.LabeledEdit25 = "d\\%i%.pak"; }, 5, 225, "Page1", -1, "LabeledEdit25"},
      {"no files", [](Project& p) { p.ListView3.clear(); }, 6, 227, "Page2", -1, "ListView3"},
      {"background picture", [](Project& p) { p.CheckBox1 = true; p.RadioButton6 = false; p.LabeledEdit27 = ""; }, 7, 223, "Page5", 0, "LabeledEdit27"},
      {"header picture", [](Project& p) { p.LabeledEdit14 = ""; }, 8, 223, "Page5", 1, "LabeledEdit14"},
      {"logo picture", [](Project& p) { p.LabeledEdit15 = ""; }, 9, 223, "Page5", 2, "LabeledEdit15"},
      {"uninstall name", [](Project& p) { p.LabeledEdit10 = ""; }, 10, 223, "Page13", -1, "LabeledEdit10"},
      {"uninstall title", [](Project& p) { p.LabeledEdit22 = ""; }, 10, 223, "Page13", -1, "LabeledEdit22"},
      {"install path empty", [](Project& p) { p.LabeledEdit12 = ""; }, 11, 223, "Page4", 0, "LabeledEdit12"},
      {"install path quote", [](Project& p) { p.LabeledEdit12 = "a\"b"; }, 11, 226, "Page4", 0, "LabeledEdit12"},
      {"group less-than", [](Project& p) { p.LabeledEdit13 = "a<b"; }, 12, 226, "Page6", -1, "LabeledEdit13"},
      {"installer icon empty", [](Project& p) { p.LabeledEdit11 = ""; }, 13, 223, "Page5", 4, "LabeledEdit11"},
      {"installer icon question mark", [](Project& p) { p.LabeledEdit11 = "a?.ico"; }, 13, 226, "Page5", 4, "LabeledEdit11"},
      {"uninstaller icon empty", [](Project& p) { p.LabeledEdit17 = ""; }, 14, 223, "Page5", 4, "LabeledEdit17"},
  };
  for (const Case& c : cases) {
    NewProject(project_, context_);
    MakeValid();
    c.change(project_);
    const auto issue = ValidateProject(project_, context_, {});
    ASSERT_TRUE(issue) << c.name;
    EXPECT_EQ(issue->Check, c.check) << c.name;
    EXPECT_EQ(issue->Message, c.message) << c.name;
    EXPECT_EQ(issue->Page, c.page) << c.name;
    EXPECT_EQ(issue->Tab, c.tab) << c.name;
    EXPECT_EQ(issue->Control, c.control) << c.name;
  }
}

TEST_F(ProjectRulesTest, ChecksThatPassAtTheirLimits) {
  const std::string n255(255, 'n');
  const std::vector<std::function<void(Project&)>> passing = {
      [&](Project& p) { p.LabeledEdit2 = n255; },
      [](Project& p) { p.LabeledEdit5 = "C:\\out\\Setup.exe"; },               // colon and backslash are path characters
      [](Project& p) { p.ComboBox4 = 0; p.LabeledEdit25 = ""; },              // pattern only checked when split
      [](Project& p) { p.CheckBox1 = true; p.RadioButton6 = true; p.LabeledEdit27 = ""; },
      [](Project& p) { p.CheckBox26 = false; p.LabeledEdit14 = ""; },
      [](Project& p) { p.CheckBox40 = false; p.LabeledEdit15 = ""; },
      [](Project& p) { p.CheckBox11 = false; p.LabeledEdit10 = p.LabeledEdit22 = ""; },
      [](Project& p) { p.LabeledEdit13 = ""; },
  };
  for (std::size_t i = 0; i < passing.size(); ++i) {
    NewProject(project_, context_);
    MakeValid();
    passing[i](project_);
    EXPECT_EQ(ValidateProject(project_, context_, {}), std::nullopt) << i;
  }
}

TEST_F(ProjectRulesTest, MissingSourceFilesAreAskedAboutInOrder) {
  MakeValid();
  project_.ListView3.AppendCells({"(folder)", "%InstallPath%\\empty", "E236", "Yes"});  // no source: not asked
  project_.ListView3.AppendCells({folder_.Path() + "gone1.txt", "x", "E236", "Yes"});
  project_.ListView3.AppendCells({"gone2.txt", "y", "E236", "Yes"});
  std::vector<std::pair<std::string, std::size_t>> asked;
  auto yes = [&](const std::string& path, std::size_t row) {
    asked.emplace_back(path, row);
    return true;
  };
  EXPECT_EQ(ValidateProject(project_, context_, yes), std::nullopt);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], std::make_pair(folder_.Path() + "gone1.txt", std::size_t{2}));
  EXPECT_EQ(asked[1], std::make_pair(std::string("gone2.txt"), std::size_t{3}));

  // "No" (and the command line, which has no question) stops at the first one.
  const auto issue = ValidateProject(project_, context_, {});
  ASSERT_TRUE(issue);
  EXPECT_EQ(issue->Check, 15);
  EXPECT_EQ(issue->Row, 2);
  EXPECT_EQ(issue->Control, "ListView3");
  EXPECT_EQ(ValidationMessageText(*issue), "Missing: " + folder_.Path() + "gone1.txt Go on?");
}

TEST_F(ProjectRulesTest, SourcePathsResolveAgainstTheProjectFolderAndProgramFolder) {
  MakeValid();
  project_.ProjectFileName = folder_.Path() + "data/p.bvq";
  project_.ListView3.AppendCells({"readme.txt", "x", "E236", "Yes"});              // beside the project file
  project_.ListView3.AppendCells({"..\\data\\readme.txt", "x", "E236", "Yes"});     // written with "\"
  project_.ListView3.AppendCells({"%CURRENT_PATH%\\data\\readme.txt", "x", "E236", "Yes"});
  EXPECT_EQ(ValidateProject(project_, context_, {}), std::nullopt);
}

}  // namespace
}  // namespace bvq::test
