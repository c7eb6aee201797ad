#include "project/file_entries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "project_test_support.h"

namespace bvq {
namespace {

using Cells = std::vector<std::string>;

Cells RowCells(const EntryRow& row) {
  Cells cells;
  for (int c = 0; c < 4; ++c) cells.push_back(row.Cell(c));
  return cells;
}

Cells ListDestinations(const Project& project) { return ProjectFileChoices(project); }

class FileEntriesTest : public test::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    project_.files.clear();
    project_.makeUninstaller = true;
    session_.modified = false;
  }
  // Three rows: a file, an empty folder, another file.
  void AddSampleRows() {
    project_.files.AppendCells({"C:\\Src\\app.exe", "%InstallPath%\\app.exe", "E236", "Yes"});
    project_.files.AppendCells({"(folder)", "%InstallPath%\\Logs", "E238", "No"});
    project_.files.AppendCells({"/home/a/readme.txt", "%InstallPath%\\readme.txt", "E234", "Yes"});
  }
  FileHandOver handOver_;
};

TEST_F(FileEntriesTest, IfExistsItemsAreStrings234To238) {
  EXPECT_EQ(IfExistsItems(), (Cells{"E234", "E235", "E236", "E237", "E238"}));
  EXPECT_EQ(IfExistsText(kDefaultIfExistsItem), "E236");
  EXPECT_EQ(IfExistsText(-1), "E236");
  EXPECT_EQ(IfExistsText(5), "E236");
}

TEST_F(FileEntriesTest, DestinationLabelFollowsSeveralSources) {
  EXPECT_EQ(FileDestinationLabel("C:\\a.txt"), "E91");
  EXPECT_EQ(FileDestinationLabel(""), "E91");
  EXPECT_EQ(FileDestinationLabel("C:\\a.txt|C:\\b.txt"), "E8");
}

TEST_F(FileEntriesTest, ShowAddModeDefaultsFollowTheUninstaller) {
  for (bool uninstaller : {true, false}) {
    SCOPED_TRACE(uninstaller);
    project_.makeUninstaller = uninstaller;
    FileEntryFields fields = ShowFileEntry(project_, EntryPlace::Add(), handOver_);
    EXPECT_EQ(fields.Source, "");
    EXPECT_EQ(fields.Destination, "");
    EXPECT_EQ(fields.IfExists, 2);
    EXPECT_EQ(fields.Uninstall, uninstaller);
    EXPECT_EQ(fields.UninstallEnabled, uninstaller);
  }
}

TEST_F(FileEntriesTest, ShowEditModeReadsTheRow) {
  AddSampleRows();
  project_.files.AppendCells({"C:\\x.dll", "%SystemDir%\\x.dll", "unknown choice", "No"});
  struct Case {
    int row;
    FileEntryFields expected;
  };
  const Case cases[] = {
      {0, {"C:\\Src\\app.exe", "%InstallPath%\\app.exe", 2, true, true}},
      {1, {"", "%InstallPath%\\Logs", 4, false, true}},  // string 26 shows as an empty source
      {2, {"/home/a/readme.txt", "%InstallPath%\\readme.txt", 0, true, true}},
      {3, {"C:\\x.dll", "%SystemDir%\\x.dll", 2, false, true}},  // unmatched text: default item
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(ShowFileEntry(project_, EntryPlace::Edit(c.row), handOver_), c.expected);
  }
  // With the uninstaller off the row's choice stays but cannot be changed.
  project_.makeUninstaller = false;
  FileEntryFields fields = ShowFileEntry(project_, EntryPlace::Edit(0), handOver_);
  EXPECT_TRUE(fields.Uninstall);
  EXPECT_FALSE(fields.UninstallEnabled);
}

TEST_F(FileEntriesTest, PresetsReplaceBothEditsAndAreConsumed) {
  AddSampleRows();
  struct Case {
    const char* source;
    const char* target;
    EntryPlace place;
    const char* edit1;
    const char* edit2;
  };
  const Case cases[] = {
      {"/drop/a.txt", "%InstallPath%\\a.txt", EntryPlace::Add(), "/drop/a.txt", "%InstallPath%\\a.txt"},
      {"", "%InstallPath%\\Empty", EntryPlace::Add(), "", "%InstallPath%\\Empty"},
      {"/drop/a.txt", "", EntryPlace::Add(), "/drop/a.txt", ""},
      {"/drop/b.txt", "%InstallPath%\\b.txt", EntryPlace::Edit(0), "/drop/b.txt", "%InstallPath%\\b.txt"},
      {"", "", EntryPlace::Edit(0), "C:\\Src\\app.exe", "%InstallPath%\\app.exe"},  // no preset
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source) + " -> " + c.target);
    handOver_.PresetSource = c.source;
    handOver_.PresetTarget = c.target;
    FileEntryFields fields = ShowFileEntry(project_, c.place, handOver_);
    EXPECT_EQ(fields.Source, c.edit1);
    EXPECT_EQ(fields.Destination, c.edit2);
    EXPECT_EQ(handOver_.PresetSource, "");
    EXPECT_EQ(handOver_.PresetTarget, "");
  }
}

TEST_F(FileEntriesTest, BrowsingSetsSourceAndDestination) {
  struct Case {
    const char* destination;
    TStrList picked;
    const char* edit1;
    const char* edit2;
    bool focusDestination;
  };
  const Case cases[] = {
      {"", {"/src/app.exe"}, "/src/app.exe", "%InstallPath%\\app.exe", true},
      {"%InstallPath%\\bin", {"/src/app.exe"}, "/src/app.exe", "%InstallPath%\\bin", false},
      {"%InstallPath%\\lib", {"/s/a.dll", "/s/b.dll", "/s/c.dll"}, "/s/a.dll|/s/b.dll|/s/c.dll", "%InstallPath%\\", false},
      {"", {"/s/a.dll", "/s/b.dll"}, "/s/a.dll|/s/b.dll", "%InstallPath%\\", false},
      {"\"?*", {"/s/a.dll", "/s/b.dll"}, "/s/a.dll|/s/b.dll", "%InstallPath%\\", false},
      {"%SystemDir%\\x\\y*.dll", {"/s/a.dll", "/s/b.dll"}, "/s/a.dll|/s/b.dll", "%SystemDir%\\x\\", false},
      {"lib", {"/s/a.dll", "/s/b.dll"}, "/s/a.dll|/s/b.dll", "\\", false},
      {"%InstallPath%\\keep", {}, "old", "%InstallPath%\\keep", false},  // dialog cancelled
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.destination);
    FileEntryFields fields;
    fields.Source = "old";
    fields.Destination = c.destination;
    EXPECT_EQ(BrowsedSources(fields, c.picked), c.focusDestination);
    EXPECT_EQ(fields.Source, c.edit1);
    EXPECT_EQ(fields.Destination, c.edit2);
  }
}

TEST_F(FileEntriesTest, AddOneEntryCompletesTheDestination) {
  struct Case {
    const char* source;
    const char* destination;
    Cells row;
  };
  const Case cases[] = {
      {"C:\\Src\\app.exe", "%InstallPath%\\bin", {"C:\\Src\\app.exe", "%InstallPath%\\bin\\app.exe"}},
      {"C:\\Src\\app.exe", "", {"C:\\Src\\app.exe", "%InstallPath%\\app.exe"}},
      {"C:\\Src\\app.exe", "%InstallPath%\\bin\\", {"C:\\Src\\app.exe", "%InstallPath%\\bin\\app.exe"}},
      {"/home/u/src/app.exe", "%InstallPath%\\b*in", {"/home/u/src/app.exe", "%InstallPath%\\bin\\app.exe"}},
      {"C:\\Src\\app.exe", "\"%InstallPath%\\bin\"", {"C:\\Src\\app.exe", "%InstallPath%\\bin\\app.exe"}},
      // Same name as the source: a file without extension, kept as typed.
      {"C:\\Src\\readme", "%InstallPath%\\readme", {"C:\\Src\\readme", "%InstallPath%\\readme"}},
      // A "." in the last component: already the file's full destination.
      {"C:\\Src\\a.txt", "%InstallPath%\\docs.old", {"C:\\Src\\a.txt", "%InstallPath%\\docs.old"}},
      // Empty source: an entry that creates the folder empty.
      {"", "%InstallPath%\\new?name", {"(folder)", "%InstallPath%\\newname"}},
      {"", "", {"(folder)", "%InstallPath%"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source) + " -> " + c.destination);
    project_.files.clear();
    FileEntryFields fields;
    fields.Source = c.source;
    fields.Destination = c.destination;
    EXPECT_TRUE(ApplyFileEntry(project_, EntryPlace::Add(), fields).Accepted);
    ASSERT_EQ(project_.files.size(), 1u);
    Cells expected = c.row;
    expected.insert(expected.end(), {"E236", "Yes"});
    EXPECT_EQ(RowCells(project_.files[0]), expected);
  }
}

TEST_F(FileEntriesTest, AddWritesChoiceAndUninstallCells) {
  FileEntryFields fields;
  fields.Source = "/src/a.txt";
  fields.Destination = "%InstallPath%\\a.txt";
  fields.IfExists = 4;
  fields.Uninstall = false;
  ASSERT_TRUE(ApplyFileEntry(project_, EntryPlace::Add(), fields).Accepted);
  EXPECT_EQ(RowCells(project_.files[0]), (Cells{"/src/a.txt", "%InstallPath%\\a.txt", "E238", "No"}));
  EXPECT_TRUE(session_.modified);
}

TEST_F(FileEntriesTest, AddSeveralSourcesMakesOneRowEach) {
  struct Case {
    const char* source;
    const char* destination;
    std::vector<Cells> rows;  // caption, destination
  };
  const Case cases[] = {
      {"/s/a.dll|/s/b.dll|C:\\w\\c.ocx", "%InstallPath%\\lib",
       {{"/s/a.dll", "%InstallPath%\\lib\\a.dll"}, {"/s/b.dll", "%InstallPath%\\lib\\b.dll"},
        {"C:\\w\\c.ocx", "%InstallPath%\\lib\\c.ocx"}}},
      {"/s/a.dll|/s/b.dll", "", {{"/s/a.dll", "%InstallPath%\\a.dll"}, {"/s/b.dll", "%InstallPath%\\b.dll"}}},
      {"/s/a.dll|/s/b.dll", "%InstallPath%\\", {{"/s/a.dll", "%InstallPath%\\a.dll"}, {"/s/b.dll", "%InstallPath%\\b.dll"}}},
      {"/s/a.dll|/s/b.dll", "%Install*Path%\\x.y", {{"/s/a.dll", "%InstallPath%\\x.y\\a.dll"}, {"/s/b.dll", "%InstallPath%\\x.y\\b.dll"}}},
      // Empty pieces name no file and make no row.
      {"/s/a.dll||/s/b.dll|", "%InstallPath%", {{"/s/a.dll", "%InstallPath%\\a.dll"}, {"/s/b.dll", "%InstallPath%\\b.dll"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    project_.files.clear();
    FileEntryFields fields;
    fields.Source = c.source;
    fields.Destination = c.destination;
    fields.IfExists = 1;
    EXPECT_TRUE(ApplyFileEntry(project_, EntryPlace::Add(), fields).Accepted);
    ASSERT_EQ(project_.files.size(), c.rows.size());
    for (std::size_t i = 0; i < c.rows.size(); ++i)
      EXPECT_EQ(RowCells(project_.files[i]), (Cells{c.rows[i][0], c.rows[i][1], "E235", "Yes"}));
  }
}

TEST_F(FileEntriesTest, SourceOfSeparatorsOnlyIsRefused) {
  FileEntryFields fields;
  fields.Source = "||";
  EntryOutcome outcome = ApplyFileEntry(project_, EntryPlace::Add(), fields);
  EXPECT_FALSE(outcome.Accepted);
  EXPECT_EQ(outcome.Focus, "LabeledEdit1");
  EXPECT_TRUE(project_.files.empty());
  EXPECT_FALSE(session_.modified);
}

TEST_F(FileEntriesTest, EditOverwritesTheSelectedRowInPlace) {
  AddSampleRows();
  FileEntryFields fields = ShowFileEntry(project_, EntryPlace::Edit(1), handOver_);
  fields.Source = "/s/a.dll|/s/b.dll";  // not split in edit mode
  fields.Destination = "%InstallPath%\\lib";
  ASSERT_TRUE(ApplyFileEntry(project_, EntryPlace::Edit(1), fields).Accepted);
  EXPECT_EQ(ListDestinations(project_),
            (Cells{"%InstallPath%\\app.exe", "%InstallPath%\\lib\\b.dll", "%InstallPath%\\readme.txt"}));
  EXPECT_EQ(RowCells(project_.files[1]), (Cells{"/s/a.dll|/s/b.dll", "%InstallPath%\\lib\\b.dll", "E238", "No"}));
  EXPECT_TRUE(session_.modified);

  session_.modified = false;
  const Project before = project_;
  EXPECT_FALSE(ApplyFileEntry(project_, EntryPlace::Edit(7), fields).Accepted);
  EXPECT_EQ(project_, before);
}

TEST_F(FileEntriesTest, EmptyFolderEntryKeepsItsSourceThroughAnEdit) {
  FileEntryFields fields;
  fields.Destination = "%InstallPath%\\Logs";
  ASSERT_TRUE(ApplyFileEntry(project_, EntryPlace::Add(), fields).Accepted);
  FileEntryFields shown = ShowFileEntry(project_, EntryPlace::Edit(0), handOver_);
  EXPECT_EQ(shown.Source, "");
  ASSERT_TRUE(ApplyFileEntry(project_, EntryPlace::Edit(0), shown).Accepted);
  EXPECT_EQ(RowCells(project_.files[0]), (Cells{"(folder)", "%InstallPath%\\Logs", "E236", "Yes"}));
}

TEST_F(FileEntriesTest, UninstallerOffGivesNoInNewEntries) {
  project_.makeUninstaller = false;
  FileEntryFields fields = ShowFileEntry(project_, EntryPlace::Add(), handOver_);
  fields.Source = "/s/a.txt";
  ASSERT_TRUE(ApplyFileEntry(project_, EntryPlace::Add(), fields).Accepted);
  EXPECT_EQ(project_.files[0].Cell(3), "No");
}

// Three files picked at once, then the destination typed again before OK.
TEST_F(FileEntriesTest, PickSeveralThenRetypeFolder) {
  FileEntryFields fields = ShowFileEntry(project_, EntryPlace::Add(), handOver_);
  fields.Destination = "%InstallPath%\\lib";
  BrowsedSources(fields, {"/s/a.dll", "/s/b.dll", "/s/c.dll"});
  EXPECT_EQ(fields.Destination, "%InstallPath%\\");
  EXPECT_EQ(FileDestinationLabel(fields.Source), "E8");
  fields.Destination = "%InstallPath%\\lib";
  ASSERT_TRUE(ApplyFileEntry(project_, EntryPlace::Add(), fields).Accepted);
  EXPECT_EQ(ListDestinations(project_),
            (Cells{"%InstallPath%\\lib\\a.dll", "%InstallPath%\\lib\\b.dll", "%InstallPath%\\lib\\c.dll"}));
}

// --- Add folder and the folder import dialog ---

class FolderImportTest : public FileEntriesTest {
 protected:
  void SetUp() override {
    FileEntriesTest::SetUp();
    src_ = folder_.Path() + "Src";
    folder_.Write("Src/a.txt", "a");
    folder_.Write("Src/sub/b.txt", "b");
  }
  std::string src_;
};

TEST_F(FolderImportTest, TargetsAreRelativeToTheChosenFolder) {
  for (const std::string& chosen : {src_, src_ + "/"}) {
    SCOPED_TRACE(chosen);
    ASSERT_TRUE(PrepareFolderImport(chosen, handOver_));
    EXPECT_EQ(handOver_.ImportSources, (TStrList{src_ + "/a.txt", src_ + "/sub/b.txt"}));
    EXPECT_EQ(handOver_.ImportTargets, (TStrList{"a.txt", "sub\\b.txt"}));
  }
}

TEST_F(FolderImportTest, RowsPutTargetsUnderTheDestinationFolder) {
  ASSERT_TRUE(PrepareFolderImport(src_, handOver_));
  struct Case {
    const char* folder;
    TStrList rows;
  };
  const Case cases[] = {
      {"%InstallPath%", {"%InstallPath%\\a.txt", "%InstallPath%\\sub\\b.txt"}},
      {"", {"\\a.txt", "\\sub\\b.txt"}},
      {"%InstallPath%\\", {"%InstallPath%\\a.txt", "%InstallPath%\\sub\\b.txt"}},
      {"%CommonFiles%\\Acme", {"%CommonFiles%\\Acme\\a.txt", "%CommonFiles%\\Acme\\sub\\b.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(FolderImportRows(handOver_, c.folder), c.rows);
  }
}

TEST_F(FolderImportTest, EmptySubFoldersBecomeEmptyFolderItems) {
  std::filesystem::create_directories(src_ + "/Empty");
  std::filesystem::create_directories(src_ + "/sub/deeper/none");
  ASSERT_TRUE(PrepareFolderImport(src_, handOver_));
  EXPECT_EQ(handOver_.ImportSources, (TStrList{src_ + "/a.txt", "(folder)", src_ + "/sub/b.txt", "(folder)"}));
  EXPECT_EQ(handOver_.ImportTargets, (TStrList{"a.txt", "Empty", "sub\\b.txt", "sub\\deeper\\none"}));
}

TEST_F(FolderImportTest, NothingToImportLeavesTheListsAlone) {
  std::filesystem::create_directories(folder_.Path() + "Nothing");
  handOver_.ImportSources = {"/earlier/x"};
  handOver_.ImportTargets = {"x"};
  for (const std::string& chosen : {folder_.Path() + "Nothing", folder_.Path() + "Missing"}) {
    SCOPED_TRACE(chosen);
    EXPECT_FALSE(PrepareFolderImport(chosen, handOver_));
    EXPECT_EQ(handOver_.ImportSources, (TStrList{"/earlier/x"}));
    EXPECT_EQ(handOver_.ImportTargets, (TStrList{"x"}));
  }
}

TEST_F(FolderImportTest, DialogDefaultsFollowTheUninstaller) {
  EXPECT_EQ(ShowFolderImport(project_), (FolderImportFields{"%InstallPath%", 2, true, true}));
  project_.makeUninstaller = false;
  EXPECT_EQ(ShowFolderImport(project_), (FolderImportFields{"%InstallPath%", 2, false, false}));
}

TEST_F(FolderImportTest, OkAppendsRowsAndEmptiesTheLists) {
  AddSampleRows();
  std::filesystem::create_directories(src_ + "/Empty");
  ASSERT_TRUE(PrepareFolderImport(src_, handOver_));
  FolderImportFields fields = ShowFolderImport(project_);
  fields.Destination = "%InstallPath%\\Data";
  fields.IfExists = 3;
  fields.Uninstall = false;
  EXPECT_EQ(ApplyFolderImport(project_, handOver_, fields), 3u);
  ASSERT_EQ(project_.files.size(), 6u);
  EXPECT_EQ(RowCells(project_.files[3]), (Cells{src_ + "/a.txt", "%InstallPath%\\Data\\a.txt", "E237", "No"}));
  EXPECT_EQ(RowCells(project_.files[4]), (Cells{"(folder)", "%InstallPath%\\Data\\Empty", "E237", "No"}));
  EXPECT_EQ(RowCells(project_.files[5]), (Cells{src_ + "/sub/b.txt", "%InstallPath%\\Data\\sub\\b.txt", "E237", "No"}));
  EXPECT_TRUE(handOver_.ImportSources.empty());
  EXPECT_TRUE(handOver_.ImportTargets.empty());
}

// --- Project-file picker ---

TEST_F(FileEntriesTest, PickerOffersEveryDestinationInListOrder) {
  EXPECT_TRUE(ProjectFileChoices(project_).empty());
  AddSampleRows();
  EXPECT_EQ(ProjectFileChoices(project_),
            (TStrList{"%InstallPath%\\app.exe", "%InstallPath%\\Logs", "%InstallPath%\\readme.txt"}));
}

TEST_F(FileEntriesTest, PickerResultsFollowTheMode) {
  const TStrList choices = {"A", "B", "C", "D"};
  struct Case {
    std::vector<int> selected;
    bool multiple;
    ProjectFilePick expected;
  };
  const Case cases[] = {
      {{2}, false, {"C", {}}},
      {{3, 1}, false, {"B", {}}},
      {{3, 1}, true, {"", {"B", "D"}}},
      {{0, 0, 2}, true, {"", {"A", "C"}}},
      {{}, false, {}},
      {{}, true, {}},
      {{-1, 9}, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.selected) + (c.multiple ? " multiple" : " single"));
    EXPECT_EQ(PickProjectFiles(choices, c.selected, c.multiple), c.expected);
  }
  EXPECT_EQ(PickProjectFiles({}, {0}, false), ProjectFilePick{});
}

}  // namespace
}  // namespace bvq
