// The defaults of a new project.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/shell_folders.h"
#include "project/new_project.h"
#include "project/project_rules.h"
#include "project/slot_table.h"
#include "project_test_support.h"

namespace bvq::test {
namespace {

using NewProjectTest = ProjectTest;

TEST_F(NewProjectTest, SlotDefaults) {
  const std::pair<int, std::string> cases[] = {
      {1, "Copyright \xA9 2031, %CompanyName%"},
      {10, "Copyright \xA9 2031, %CompanyName%"},
      {9, "Background title"},
      {62, "Background title"},
      {27, "Setup"},
      {91, "Uninstall"},
      {25, DocumentsFolder() + "Setup.exe"},
      {29, "NewProduct"},
      {68, "1.00"},
      {69, folder_.Path() + "Icons/Install/Another.ico"},  // first without regard to case
      {70, folder_.Path() + "Icons/Uninstall/remove.ico"},
      {74, folder_.Path() + "Bitmaps/Header/header.bmp"},
      {76, folder_.Path() + "Bitmaps/Wizard/wizard.bmp"},
      {5, "16744576"},
      {81, "13533795"},
      {94, "16777215"},
      {15, "2"},
      {12, "Tahoma"},
      {112, "7"},
      {86, "disk%i%.pak"},
      {63, "20"},
      {75, "6"},
      {96, "171"},
      {99, "26"},
      {57, "1"},
      {85, ""},
  };
  for (const auto& [slot, expected] : cases) EXPECT_EQ(SlotAt(slot).Get(project_), expected) << "slot " << slot;
  EXPECT_EQ(project_.backgroundTitleFont, (FontSetting{"Tahoma", 28, 0xFFFFFF, 1, kFontItalic}));
  EXPECT_EQ(project_.backgroundCompanyFont, (FontSetting{"Tahoma", 8, 0xFFFFFF, 1, 0}));
  EXPECT_EQ(project_.headerPicturePosition, (PreviewPos{20, 6}));
  EXPECT_EQ(project_.logoPicturePosition, (PreviewPos{1, 1}));
  EXPECT_EQ(project_.headerTitlePosition, (PreviewPos{171, 8}));
  EXPECT_EQ(project_.headerDescriptionPosition, (PreviewPos{178, 26}));
}

TEST_F(NewProjectTest, ListsLanguagesSystemsAndWorkingState) {
  project_.shortcuts.AppendCells({"E53", "x"});
  project_.filePath = "/somewhere/p.bvq";
  session_.lastSetupSizeText = "1 Mb";
  session_.lastVolumeIndex = 3;
  session_.passwordMixedCase = "Secret";
  project_.SetLanguageChecked(0, true);
  project_.licenseFiles = {"a", "b", "c"};
  project_.MarkModified();
  session_.buildCurrent = true;
  for (auto& item : project_.supportedSystems) item.Checked = false;

  NewProject(project_, session_, context_);
  for (int list = 1; list <= kEntryListCount; ++list) EXPECT_TRUE(project_.EntryListAt(list).empty()) << list;
  EXPECT_EQ(project_.CheckedLanguageCaptions(), std::vector<std::string>{"English"});
  EXPECT_EQ(project_.licenseFiles, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(project_.infoFiles, (std::vector<std::string>{"", ""}));
  ASSERT_EQ(project_.supportedSystems.size(), 10u);  // a second New keeps the ten items
  for (const auto& item : project_.supportedSystems) EXPECT_TRUE(item.Checked);
  EXPECT_EQ(project_.supportedSystems[6].Caption, "Windows 2003 Server");
  EXPECT_EQ(project_.filePath, "");
  EXPECT_FALSE(session_.modified);
  EXPECT_FALSE(session_.buildCurrent);
  EXPECT_EQ(session_.lastSetupSizeText, "");
  EXPECT_EQ(session_.lastVolumeIndex, 0);
  EXPECT_EQ(session_.passwordMixedCase, "");
  EXPECT_EQ(project_.cellLanguage, "English");
}

TEST_F(NewProjectTest, YearComesFromTheClock) {
  context_.Clock = [] { return FixedTime(2032, 1, 1); };
  NewProject(project_, session_, context_);
  EXPECT_EQ(project_.installerBottomText, "Copyright \xA9 2032, %CompanyName%");
}

TEST_F(NewProjectTest, EmptyIconFolderLeavesTheIconEmptyAndValidationSaysSo) {
  std::filesystem::remove_all(folder_.Path() + "Icons/Install");
  std::filesystem::create_directories(folder_.Path() + "Icons/Install/sub");  // folders do not count
  NewProject(project_, session_, context_);
  EXPECT_EQ(project_.installerIcon, "");
  project_.files.AppendCells({folder_.Write("f.txt", "x"), "d", "E236", "Yes"});
  const auto issue = ValidateProject(project_, context_, {});
  ASSERT_TRUE(issue);
  EXPECT_EQ(issue->Check, 13);
  EXPECT_EQ(issue->Message, 223);
}

}  // namespace
}  // namespace bvq::test
