#include "project/interface_text_ids.h"
#include "project/shortcut_entries.h"

#include <gtest/gtest.h>

#include "entry_test_support.h"
#include "project_test_support.h"

namespace bvq {
namespace {

using test::Cells;

class ShortcutEntries : public test::ProjectTest {
 protected:
  static ShortcutFields Fields(std::string name, std::string target) {
    ShortcutFields f;
    f.Name = std::move(name);
    f.Target = std::move(target);
    return f;
  }
};

TEST_F(ShortcutEntries, NameAndTargetAreCleanedAndTheTargetMadeAnInstallPath) {
  struct Case {
    std::string name, target, storedName, storedTarget;
  };
  const std::vector<Case> cases = {
      {"Read?me", "app.exe", "Readme", "%InstallPath%\\app.exe"},
      {"App", "\\bin\\app.exe", "App", "%InstallPath%\\bin\\app.exe"},
      {"App", "%InstallPath%\\app.exe", "App", "%InstallPath%\\app.exe"},  // picked from the project
      {"Notes", "%WindowsDir%\\notepad.exe", "Notes", "%WindowsDir%\\notepad.exe"},
      {"Tool", "C:\\Tools\\x.exe", "Tool", "C:\\Tools\\x.exe"},
      {"Site", "http://example.invalid/", "Site", "http://example.invalid/"},
      {"\"Q\"*", "\"a*.exe\"", "Q", "%InstallPath%\\a.exe"},
  };
  for (const Case& c : cases) {
    project_.shortcuts.clear();
    ASSERT_TRUE(ApplyShortcutEntry(project_, EntryPlace::Add(), Fields(c.name, c.target)).Accepted);
    EXPECT_EQ(project_.shortcuts[0].Cell(1), c.storedName);
    EXPECT_EQ(project_.shortcuts[0].Cell(2), c.storedTarget) << c.target;
  }
}

TEST_F(ShortcutEntries, AllSevenCellsAndTheIconRoundTripThroughEditMode) {
  ShortcutFields f = Fields("My App", "app.exe");
  f.Place = 1;
  f.Parameters = "/x \"y\"";  // parameters, working folder and comment are stored as typed
  f.WorkingFolder = "%InstallPath%";
  f.Comment = "Runs it?";
  f.IconFile = "%InstallPath%\\app.exe";
  f.IconIndex = 3;
  ASSERT_TRUE(ApplyShortcutEntry(project_, EntryPlace::Add(), f).Accepted);
  EXPECT_EQ(test::RowCells(project_.shortcuts, 0),
            (Cells{InterfaceString(kTextPlaceProgramGroup), "My App", "%InstallPath%\\app.exe", "/x \"y\"", "%InstallPath%", "Runs it?",
                   "%InstallPath%\\app.exe,3"}));
  ShortcutFields shown = ShowShortcutEntry(project_, EntryPlace::Edit(0));
  EXPECT_EQ(shown.Place, 1);
  EXPECT_EQ(shown.IconFile, "%InstallPath%\\app.exe");
  EXPECT_EQ(shown.IconIndex, 3);
  EXPECT_EQ(shown.Parameters, f.Parameters);
  shown.Name = "Renamed";
  ASSERT_TRUE(ApplyShortcutEntry(project_, EntryPlace::Edit(0), shown).Accepted);
  ASSERT_EQ(project_.shortcuts.size(), 1u);
  EXPECT_EQ(project_.shortcuts[0].Cell(1), "Renamed");
  EXPECT_EQ(project_.shortcuts[0].Cell(6), "%InstallPath%\\app.exe,3");
}

TEST_F(ShortcutEntries, IconCellSplitsAtTheLastComma) {
  EXPECT_EQ(SplitIconCell("C:\\a,b\\icons.dll,12"), (std::pair<std::string, int>{"C:\\a,b\\icons.dll", 12}));
  EXPECT_EQ(SplitIconCell("plain.ico"), (std::pair<std::string, int>{"plain.ico", 0}));
  EXPECT_EQ(SplitIconCell("x.ico,"), (std::pair<std::string, int>{"x.ico", 0}));
  EXPECT_EQ(SplitIconCell("x.ico,999"), (std::pair<std::string, int>{"x.ico", 100}));
  ShortcutFields f = Fields("N", "t.exe");  // no icon file: empty cell whatever the index
  f.IconIndex = 7;
  ASSERT_TRUE(ApplyShortcutEntry(project_, EntryPlace::Add(), f).Accepted);
  EXPECT_EQ(project_.shortcuts[0].Cell(6), "");
  EXPECT_EQ(ShowShortcutEntry(project_, EntryPlace::Edit(0)).IconIndex, 0);
}

TEST_F(ShortcutEntries, EmptyNameThenEmptyTargetTakeTheFocus) {
  EXPECT_EQ(ApplyShortcutEntry(project_, EntryPlace::Add(), Fields("", "")).Focus, "LabeledEdit1");
  EXPECT_EQ(ApplyShortcutEntry(project_, EntryPlace::Add(), Fields("N", "")).Focus, "LabeledEdit2");
  EXPECT_TRUE(project_.shortcuts.empty());
}

TEST_F(ShortcutEntries, UninstallerShortcutIsAddedEveryTime) {
  project_.uninstallerFile = "%InstallPath%\\Remove.exe";
  project_.makeUninstaller = false;
  AddUninstallerShortcut(project_);
  AddUninstallerShortcut(project_);
  ASSERT_EQ(project_.shortcuts.size(), 2u);
  EXPECT_EQ(project_.shortcuts[0], project_.shortcuts[1]);
  EXPECT_EQ(test::RowCells(project_.shortcuts, 0),
            (Cells{InterfaceString(kTextPlaceStartMenu), InterfaceString(kTextUninstallShortcutName), "%InstallPath%\\Remove.exe", "", "",
                   "Uninstall %ProductName% %ProductVersion%", ""}));
  EXPECT_TRUE(session_.modified);
}

TEST_F(ShortcutEntries, HintsShowWhereTheShortcutAndTargetGo) {
  project_.programGroup = "%ProductName% %ProductVersion%";
  project_.installFolderPath = "%ProgramFiles%\\Acme\\";
  EXPECT_EQ(ShortcutNameHint(project_, 1, "My App"), "%ProgramsDir%\\%ProductName% %ProductVersion%\\My App");
  EXPECT_EQ(ShortcutNameHint(project_, 0, "My App"), "%Desktop%\\My App");
  EXPECT_EQ(ShortcutNameHint(project_, 3, "X"), "%QuickLaunch%\\X");
  EXPECT_EQ(ShortcutNameHint(project_, kShortcutPlaceOtherPath, "D:\\Links\\X"), "D:\\Links\\X");
  EXPECT_EQ(ShortcutNameHint(project_, 2, ""), "");
  EXPECT_EQ(ShortcutTargetHint(project_, "bin\\app.exe"), "%ProgramFiles%\\Acme\\bin\\app.exe");
  EXPECT_EQ(ShortcutTargetHint(project_, "%SystemDir%\\x.exe"), "%SystemDir%\\x.exe");
  project_.installFolderPath = "%ProgramFiles%\\Acme";
  EXPECT_EQ(ShortcutTargetHint(project_, "app.exe"), "%ProgramFiles%\\Acme\\app.exe");
}

}  // namespace
}  // namespace bvq
