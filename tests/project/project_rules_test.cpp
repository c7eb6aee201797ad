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
    project_.files.AppendCells({source_, "%InstallPath%\\readme.txt", "E236", "Yes"});
    ASSERT_EQ(ValidateProject(project_, context_, {}), std::nullopt);
  }
  std::string source_;
};

TEST_F(ProjectRulesTest, NormalisationTrimsTheMarkedTexts) {
  project_.productName = "  Product  ";
  project_.installFolderName = " folder";
  project_.backgroundTitle = "title ";
  project_.password = " secret ";  // the password keeps its blanks
  project_.backgroundTitleFont.Name = " Tahoma ";
  NormalizeProject(project_, context_);
  EXPECT_EQ(project_.productName, "Product");
  EXPECT_EQ(project_.installFolderName, "folder");
  EXPECT_EQ(project_.backgroundTitle, "title");
  EXPECT_EQ(project_.password, " secret ");
  EXPECT_EQ(project_.backgroundTitleFont.Name, " Tahoma ");
}

TEST_F(ProjectRulesTest, SetupFileGetsExeExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\out\\Setup", "C:\\out\\Setup.exe"}, {"Setup.EXE", "Setup.EXE"}, {"Setup.Exe", "Setup.Exe"},
      {"setup.txt", "setup.txt.exe"},           {"exe", "exe.exe"},         {"", ""},
  };
  for (const auto& [given, expected] : cases) {
    project_.setupFile = given;
    NormalizeProject(project_, context_);
    EXPECT_EQ(project_.setupFile, expected) << given;
  }
}

TEST_F(ProjectRulesTest, OptionsWithoutTextAreUntickedAndZeroVolumeSizeMeansOneFile) {
  project_.offerRunApp = project_.offerReadme = project_.installerClosesApp = project_.offerWebSite = true;
  project_.runAppFile = "";
  project_.readmeFile = "  ";
  project_.installerCloseAppText = "";
  project_.finishWebSite = "http://x";
  project_.splitting = 4;
  project_.volumeSize = 0;
  NormalizeProject(project_, context_);
  EXPECT_FALSE(project_.offerRunApp);
  EXPECT_FALSE(project_.offerReadme);
  EXPECT_FALSE(project_.installerClosesApp);
  EXPECT_TRUE(project_.offerWebSite);
  EXPECT_EQ(project_.splitting, 0);

  project_.splitting = 4;
  project_.volumeSize = 100;
  NormalizeProject(project_, context_);
  EXPECT_EQ(project_.splitting, 4);
}

TEST_F(ProjectRulesTest, PicturesStayAsTheyAreWithoutPictureImport) {
  const std::string jpeg = folder_.Write("pictures/head.jpg", "jpeg");
  project_.headerPicture = jpeg;
  NormalizeProject(project_, context_);
  EXPECT_EQ(project_.headerPicture, jpeg);
}

// Normalisation step 2 converts a header or logo picture that is neither BMP nor PNG with
// the picture import of the images module; until that is connected here, the path stays.
TEST_F(ProjectRulesTest, EnsureInstallLanguage) {
  for (std::size_t i = 0; i < project_.installLanguages.size(); ++i) project_.SetLanguageChecked(i, false);
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
  for (auto& item : project_.supportedSystems) item.Checked = false;
  EnsureSupportedSystem(project_);
  for (const auto& item : project_.supportedSystems) EXPECT_TRUE(item.Checked);
  for (auto& item : project_.supportedSystems) item.Checked = false;
  project_.supportedSystems[3].Checked = true;
  EnsureSupportedSystem(project_);
  EXPECT_EQ(std::count_if(project_.supportedSystems.begin(), project_.supportedSystems.end(),
                          [](const CheckItem& i) { return i.Checked; }),
            1);
}

TEST_F(ProjectRulesTest, LicenceAndInformationEntriesFollowTheCheckedLanguages) {
  // English is checked by the new project: entries "shared" and "English".
  ASSERT_EQ(project_.licenseFiles.size(), 2u);
  project_.licenseFiles = {"all.rtf", "en.rtf"};
  project_.infoFiles = {"all.txt", "en.txt"};
  project_.SetLanguageChecked(2, true);  // Russian after English
  project_.SetLanguageChecked(0, true);  // Deutsch before English
  EXPECT_EQ(project_.licenseFiles, (std::vector<std::string>{"all.rtf", "", "en.rtf", ""}));
  EXPECT_EQ(project_.LanguageFileCaptions(),
            (std::vector<std::string>{"All languages", "Deutsch (Deutsch)", "English", "Russian (Russki)"}));
  project_.licenseFileIndex = 3;
  project_.SetSelectedLicenseFile("ru.rtf");
  EXPECT_EQ(project_.licenseFiles[3], "ru.rtf");

  project_.SetLanguageChecked(1, false);  // English off: its entries go
  EXPECT_EQ(project_.licenseFiles, (std::vector<std::string>{"all.rtf", "", "ru.rtf"}));
  EXPECT_EQ(project_.infoFiles, (std::vector<std::string>{"all.txt", "", ""}));
  EXPECT_EQ(project_.licenseFileIndex, 0);
  EXPECT_EQ(project_.SelectedLicenseFile(), "all.rtf");
  project_.SetLanguageChecked(1, true);  // back, with empty entries
  EXPECT_EQ(project_.licenseFiles, (std::vector<std::string>{"all.rtf", "", "", "ru.rtf"}));
}

TEST_F(ProjectRulesTest, RetranslationFollowsTheProjectLanguage) {
  project_.registryValues.AppendCells({"HKEY_CURRENT_USER", "k", "v", "REG_SZ", "d", "Nein", "Ja"});
  project_.installCommands.AppendCells({"D47", "cmd", "", "Normal", "D94", "Ja"});
  project_.activeXFiles.AppendCells({"x.ocx", "D63"});  // not a German yes/no word: unchanged
  project_.cellLanguage = "Deutsch";
  RetranslateProjectCells(project_, context_);
  EXPECT_EQ(project_.registryValues[0].SubItems, (std::vector<std::string>{"k", "v", "REG_SZ", "d", "No", "Yes"}));
  EXPECT_EQ(project_.installCommands[0].Caption, "E47");
  EXPECT_EQ(project_.installCommands[0].SubItems, (std::vector<std::string>{"cmd", "", "Normal", "E94", "Yes"}));
  EXPECT_EQ(project_.activeXFiles[0].SubItems[0], "D63");
  EXPECT_EQ(project_.cellLanguage, "English");
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
  for (std::size_t i = 0; i < project_.installLanguages.size(); ++i) project_.SetLanguageChecked(i, false);
  for (auto& item : project_.supportedSystems) item.Checked = false;
  EXPECT_EQ(ValidateProject(project_, context_, {}), std::nullopt);
  EXPECT_EQ(project_.CheckedLanguageCaptions(), std::vector<std::string>{"English"});
  for (const auto& item : project_.supportedSystems) EXPECT_TRUE(item.Checked);
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
      {"product empty", [](Project& p) { p.productName = " "; }, 1, 223, "Page1", -1, "LabeledEdit2"},
      {"product 256", [&](Project& p) { p.productName = n256; }, 1, 224, "Page1", -1, "LabeledEdit2"},
      {"product slash", [](Project& p) { p.productName = "a/b"; }, 1, 225, "Page1", -1, "LabeledEdit2"},
      {"product before version", [](Project& p) { p.productName = "a|b"; p.productVersion = ""; }, 1, 225, "Page1", -1, "LabeledEdit2"},
      {"version colon", [](Project& p) { p.productVersion = "1:0"; }, 2, 225, "Page1", -1, "LabeledEdit29"},
      {"company empty", [](Project& p) { p.companyName = ""; }, 3, 223, "Page1", -1, "LabeledEdit4"},
      {"company 256", [&](Project& p) { p.companyName = n256; }, 3, 224, "Page1", -1, "LabeledEdit4"},
      {"setup empty", [](Project& p) { p.setupFile = ""; }, 4, 223, "Page1", -1, "LabeledEdit5"},
      {"setup star", [](Project& p) { p.setupFile = "C:\\a*b.exe"; }, 4, 226, "Page1", -1, "LabeledEdit5"},
      {"volume name backslash", [](Project& p) { p.splitting = 1; p.volumeFileName = "d\\%i%.pak"; }, 5, 225, "Page1", -1, "LabeledEdit25"},
      {"no files", [](Project& p) { p.files.clear(); }, 6, 227, "Page2", -1, "ListView3"},
      {"background picture", [](Project& p) { p.showBackground = true; p.backgroundIsGradient = false; p.backgroundPicture = ""; }, 7, 223, "Page5", 0, "LabeledEdit27"},
      {"header picture", [](Project& p) { p.headerPicture = ""; }, 8, 223, "Page5", 1, "LabeledEdit14"},
      {"logo picture", [](Project& p) { p.logoPicture = ""; }, 9, 223, "Page5", 2, "LabeledEdit15"},
      {"uninstall name", [](Project& p) { p.uninstallName = ""; }, 10, 223, "Page13", -1, "LabeledEdit10"},
      {"uninstall title", [](Project& p) { p.uninstallerTitle = ""; }, 10, 223, "Page13", -1, "LabeledEdit22"},
      {"install path empty", [](Project& p) { p.installFolderPath = ""; }, 11, 223, "Page4", 0, "LabeledEdit12"},
      {"install path quote", [](Project& p) { p.installFolderPath = "a\"b"; }, 11, 226, "Page4", 0, "LabeledEdit12"},
      {"group less-than", [](Project& p) { p.programGroup = "a<b"; }, 12, 226, "Page6", -1, "LabeledEdit13"},
      {"installer icon empty", [](Project& p) { p.installerIcon = ""; }, 13, 223, "Page5", 4, "LabeledEdit11"},
      {"installer icon question mark", [](Project& p) { p.installerIcon = "a?.ico"; }, 13, 226, "Page5", 4, "LabeledEdit11"},
      {"uninstaller icon empty", [](Project& p) { p.uninstallerIcon = ""; }, 14, 223, "Page5", 4, "LabeledEdit17"},
  };
  for (const Case& c : cases) {
    NewProject(project_, session_, context_);
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
      [&](Project& p) { p.productName = n255; },
      [](Project& p) { p.setupFile = "C:\\out\\Setup.exe"; },               // colon and backslash are path characters
      [](Project& p) { p.splitting = 0; p.volumeFileName = ""; },              // pattern only checked when split
      [](Project& p) { p.showBackground = true; p.backgroundIsGradient = true; p.backgroundPicture = ""; },
      [](Project& p) { p.showHeaderPicture = false; p.headerPicture = ""; },
      [](Project& p) { p.showLogo = false; p.logoPicture = ""; },
      [](Project& p) { p.makeUninstaller = false; p.uninstallName = p.uninstallerTitle = ""; },
      [](Project& p) { p.programGroup = ""; },
  };
  for (std::size_t i = 0; i < passing.size(); ++i) {
    NewProject(project_, session_, context_);
    MakeValid();
    passing[i](project_);
    EXPECT_EQ(ValidateProject(project_, context_, {}), std::nullopt) << i;
  }
}

TEST_F(ProjectRulesTest, MissingSourceFilesAreAskedAboutInOrder) {
  MakeValid();
  project_.files.AppendCells({"(folder)", "%InstallPath%\\empty", "E236", "Yes"});  // no source: not asked
  project_.files.AppendCells({folder_.Path() + "gone1.txt", "x", "E236", "Yes"});
  project_.files.AppendCells({"gone2.txt", "y", "E236", "Yes"});
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
  project_.filePath = folder_.Path() + "data/p.bvq";
  project_.files.AppendCells({"readme.txt", "x", "E236", "Yes"});              // beside the project file
  project_.files.AppendCells({"..\\data\\readme.txt", "x", "E236", "Yes"});     // written with "\"
  project_.files.AppendCells({"%CURRENT_PATH%\\data\\readme.txt", "x", "E236", "Yes"});
  EXPECT_EQ(ValidateProject(project_, context_, {}), std::nullopt);
}

}  // namespace
}  // namespace bvq::test
