#include <gtest/gtest.h>

#include "entry_test_support.h"
#include "project/activex_entries.h"
#include "project/command_entries.h"
#include "project/ini_entries.h"
#include "project/interface_text_ids.h"
#include "project_test_support.h"

namespace bvq {
namespace {

using test::Cells;

class IniEntries : public test::ProjectTest {};

TEST_F(IniEntries, RowIsCleanedAndRoundTripsThroughEditMode) {
  IniFields f = ShowIniEntry(project_, EntryPlace::Add());
  f.File = "conf\\\"app\".ini";
  f.Section = "Main";
  f.Key = "Width";
  f.Value = "";
  f.Overwrite = false;
  ASSERT_TRUE(ApplyIniEntry(project_, EntryPlace::Add(), f).Accepted);
  EXPECT_EQ(test::RowCells(project_.iniEntries, 0),
            (Cells{"%InstallPath%\\conf\\app.ini", "Main", "Width", "", "No", f.Uninstall ? "Yes" : "No"}));
  IniFields edit = ShowIniEntry(project_, EntryPlace::Edit(0));
  EXPECT_FALSE(edit.ImportVisible);
  EXPECT_EQ(edit.File, "%InstallPath%\\conf\\app.ini");
  EXPECT_FALSE(edit.Overwrite);
}

TEST_F(IniEntries, FileSectionAndKeyAreMandatoryInThatOrder) {
  IniFields f;
  EXPECT_EQ(ApplyIniEntry(project_, EntryPlace::Add(), f).Focus, "LabeledEdit3");
  f.File = "a.ini";
  EXPECT_EQ(ApplyIniEntry(project_, EntryPlace::Add(), f).Focus, "LabeledEdit1");
  f.Section = "S";
  EXPECT_EQ(ApplyIniEntry(project_, EntryPlace::Add(), f).Focus, "LabeledEdit2");
  EXPECT_TRUE(project_.iniEntries.empty());
}

TEST_F(IniEntries, ImportKeepsKeysAndValuesUntrimmedAndSkipsLinesWithoutEquals) {
  const std::string file = folder_.Write("settings.ini", "[Main]\r\nWidth=800\r\n; note\r\nTitle = A=B\r\n");
  IniFields f = ShowIniEntry(project_, EntryPlace::Add());
  f.Uninstall = false;
  IniFilesImport r = ImportIniFiles(project_, {file}, f);
  EXPECT_EQ(r.RowsAdded, 2u);
  const std::vector<Cells> expected = {{"%InstallPath%\\settings.ini", "Main", "Width", "800", "Yes", "No"},
                                       {"%InstallPath%\\settings.ini", "Main", "Title ", " A=B", "Yes", "No"}};
  EXPECT_EQ(test::AllCells(project_.iniEntries), expected);
  EXPECT_TRUE(session_.modified);
}

TEST_F(IniEntries, SectionCarriesOverToTheNextFileAndTheFileFieldWins) {
  const std::string first = folder_.Write("one.ini", "[A]\nx=1\n[B]\n");
  const std::string second = folder_.Write("two.ini", "y=2\n[C]\nz=3");  // no final line break
  IniFields f = ShowIniEntry(project_, EntryPlace::Add());
  f.File = "%WindowsDir%\\typed.ini";
  IniFilesImport r = ImportIniFiles(project_, {first, folder_.Path() + "gone.ini", second}, f);
  EXPECT_EQ(r.RowsAdded, 3u);
  EXPECT_EQ(r.Unreadable.size(), 1u);
  EXPECT_EQ(test::RowCells(project_.iniEntries, 1)[0], "%WindowsDir%\\typed.ini");
  EXPECT_EQ(test::RowCells(project_.iniEntries, 1)[1], "B");
  EXPECT_EQ(test::RowCells(project_.iniEntries, 2)[1], "C");
  EXPECT_EQ(test::RowCells(project_.iniEntries, 2)[3], "3");
}

TEST_F(IniEntries, BinaryJunkAndLongLinesDoNotBreakTheList) {
  std::string junk(4096, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 131) & 0xFF);
  const std::string longLine = "[S]\n" + std::string(100000, 'k') + "=" + std::string(100000, 'v') + "\n";
  const std::string a = folder_.Write("junk.ini", junk);
  const std::string b = folder_.Write("long.ini", longLine);
  IniFilesImport r = ImportIniFiles(project_, {a, b}, ShowIniEntry(project_, EntryPlace::Add()));
  ASSERT_GE(r.RowsAdded, 1u);
  const EntryRow& last = project_.iniEntries.Rows.back();
  EXPECT_EQ(last.Cell(1), "S");
  EXPECT_EQ(last.Cell(2).size(), 100000u);
  EXPECT_EQ(last.Cell(3).size(), 100000u);
  for (const EntryRow& row : project_.iniEntries.Rows) EXPECT_EQ(row.SubItems.size(), 5u);
}

class CommandEntriesTest : public test::ProjectTest {};

TEST_F(CommandEntriesTest, WhenCellsDependOnTheServedList) {
  CommandFields f;
  f.Type = 1;
  f.Command = "";  // no field is mandatory
  f.Parameters = "/q";
  f.Window = 3;
  f.When = 1;
  f.Wait = true;
  ASSERT_TRUE(ApplyCommandEntry(project_, CommandList::Install, EntryPlace::Add(), f).Accepted);
  ASSERT_TRUE(ApplyCommandEntry(project_, CommandList::Uninstall, EntryPlace::Add(), f).Accepted);
  EXPECT_EQ(test::RowCells(project_.installCommands, 0), (Cells{InterfaceString(kTextShellExecute), "", "/q", "Hide", InterfaceString(kTextAfterUnpacking), "Yes"}));
  EXPECT_EQ(test::RowCells(project_.uninstallCommands, 0), (Cells{InterfaceString(kTextShellExecute), "", "/q", "Hide", InterfaceString(kTextAfterUninstalling), "Yes"}));
  CommandFields shown = ShowCommandEntry(project_, CommandList::Uninstall, EntryPlace::Edit(0));
  EXPECT_EQ(shown.Type, 1);
  EXPECT_EQ(shown.Window, 3);
  EXPECT_EQ(shown.When, 1);
  EXPECT_TRUE(shown.Wait);
}

TEST_F(CommandEntriesTest, CellsOfAnotherLanguageShowFirstItemsAndOkWritesValidCells) {
  project_.installCommands.AppendCells({"Anwendung", "x.exe", "", "Riesig", "Vorher", "Ja"});
  CommandFields f = ShowCommandEntry(project_, CommandList::Install, EntryPlace::Edit(0));
  EXPECT_EQ(f.Type, 0);
  EXPECT_EQ(f.Window, 0);
  EXPECT_EQ(f.When, 0);
  EXPECT_FALSE(f.Wait);
  ASSERT_TRUE(ApplyCommandEntry(project_, CommandList::Install, EntryPlace::Edit(0), f).Accepted);
  EXPECT_EQ(test::RowCells(project_.installCommands, 0), (Cells{InterfaceString(kTextApplication), "x.exe", "", "Normal", InterfaceString(kTextBeforeUnpacking), "No"}));
}

class ActiveXEntries : public test::ProjectTest {};

TEST_F(ActiveXEntries, SeveralPickedFilesGiveOneRowEach) {
  ActiveXFields f = ShowActiveXEntry(project_, EntryPlace::Add());
  f.File = ActiveXPickedText({"%InstallPath%\\a.ocx", "%SystemDir%\\b.dll"});
  EXPECT_EQ(f.File, "%InstallPath%\\a.ocx|%SystemDir%\\b.dll");
  f.Unregister = false;
  ASSERT_TRUE(ApplyActiveXEntry(project_, EntryPlace::Add(), f).Accepted);
  EXPECT_EQ(test::AllCells(project_.activeXFiles),
            (std::vector<Cells>{{"%InstallPath%\\a.ocx", "No"}, {"%SystemDir%\\b.dll", "No"}}));
}

TEST_F(ActiveXEntries, OneFileIsCleanedAndMadeAnInstallPath) {
  ActiveXFields f;
  f.File = "bin\\ctl?.ocx";
  ASSERT_TRUE(ApplyActiveXEntry(project_, EntryPlace::Add(), f).Accepted);
  EXPECT_EQ(project_.activeXFiles[0].Caption, "%InstallPath%\\bin\\ctl.ocx");
  f.File = "x|y";  // edit mode never splits
  ASSERT_TRUE(ApplyActiveXEntry(project_, EntryPlace::Edit(0), f).Accepted);
  EXPECT_EQ(project_.activeXFiles.size(), 1u);
  EXPECT_EQ(project_.activeXFiles[0].Caption, "%InstallPath%\\x|y");
}

TEST_F(ActiveXEntries, EmptyFileOrOnlySeparatorsTakeTheFocus) {
  ActiveXFields f;
  EXPECT_EQ(ApplyActiveXEntry(project_, EntryPlace::Add(), f).Focus, "LabeledEdit1");
  f.File = "||";
  EXPECT_EQ(ApplyActiveXEntry(project_, EntryPlace::Add(), f).Focus, "LabeledEdit1");
  EXPECT_TRUE(project_.activeXFiles.empty());
  project_.makeUninstaller = false;
  ActiveXFields off = ShowActiveXEntry(project_, EntryPlace::Add());
  EXPECT_FALSE(off.Unregister);
  EXPECT_FALSE(off.UnregisterEnabled);
}

}  // namespace
}  // namespace bvq
