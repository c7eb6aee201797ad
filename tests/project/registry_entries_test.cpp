#include "project/registry_entries.h"

#include <gtest/gtest.h>

#include "entry_test_support.h"
#include "project/association_entries.h"
#include "project/user_variables.h"
#include "project_test_support.h"

namespace bvq {
namespace {

using test::Cells;

class RegistryEntries : public test::ProjectTest {};

TEST_F(RegistryEntries, ValueRowRoundTripsThroughEditModeAndHidesImport) {
  RegistryValueFields add = ShowRegistryValueEntry(project_, EntryPlace::Add());
  EXPECT_TRUE(add.ImportVisible);
  add.RootKey = 2;
  add.SubKey = "Software\\Acme";
  add.ValueName = "Count";
  add.Type = 2;
  add.Data = "not checked";
  add.Overwrite = false;
  ASSERT_TRUE(ApplyRegistryValueEntry(project_, EntryPlace::Add(), add).Accepted);
  EXPECT_EQ(test::RowCells(project_.registryValues, 0),
            (Cells{"HKEY_LOCAL_MACHINE", "Software\\Acme", "Count", "REG_DWORD", "not checked", "No",
                   add.Uninstall ? "Yes" : "No"}));
  RegistryValueFields edit = ShowRegistryValueEntry(project_, EntryPlace::Edit(0));
  EXPECT_FALSE(edit.ImportVisible);
  EXPECT_EQ(edit.RootKey, 2);
  EXPECT_EQ(edit.Type, 2);
  EXPECT_FALSE(edit.Overwrite);
  edit.Type = 3;
  ASSERT_TRUE(ApplyRegistryValueEntry(project_, EntryPlace::Edit(0), edit).Accepted);
  ASSERT_EQ(project_.registryValues.size(), 1u);
  EXPECT_EQ(project_.registryValues[0].Cell(3), "REG_EXPAND_SZ");
}

TEST_F(RegistryEntries, WithoutAnUninstallerNewRowsAreNotRemoved) {
  project_.makeUninstaller = false;
  RegistryValueFields f = ShowRegistryValueEntry(project_, EntryPlace::Add());
  EXPECT_FALSE(f.Uninstall);
  EXPECT_FALSE(f.UninstallEnabled);
  project_.makeUninstaller = true;
  f = ShowRegistryValueEntry(project_, EntryPlace::Add());
  EXPECT_TRUE(f.Uninstall);
  EXPECT_TRUE(f.UninstallEnabled);
}

TEST_F(RegistryEntries, CellsOfNoItemKeepTheDefaultsAndOkStillWorks) {
  project_.registryValues.AppendCells({"HKEY_NOWHERE", "S", "V", "REG_MULTI_SZ", "d", "Yes", "Yes"});
  RegistryValueFields f = ShowRegistryValueEntry(project_, EntryPlace::Edit(0));
  EXPECT_EQ(f.RootKey, 0);
  EXPECT_EQ(f.Type, 0);
  EXPECT_TRUE(ApplyRegistryValueEntry(project_, EntryPlace::Edit(0), f).Accepted);
}

// Rows imported or typed with a root in another letter case keep their root through the
// dialog: OK writes the same root, spelt as the combo box spells it.
TEST_F(RegistryEntries, RootsAreMatchedWithoutRegardToCase) {
  project_.registryValues.AppendCells({"hkey_local_machine", "S", "V", "REG_SZ", "d", "Yes", "Yes"});
  project_.uninstallRegistryDeletions.AppendCells({"Hkey_Current_User", "S", "V"});
  project_.registryVariables.AppendCells({"%V%", "hkey_users", "S", "V", ""});
  const RegistryValueFields value = ShowRegistryValueEntry(project_, EntryPlace::Edit(0));
  EXPECT_EQ(value.RootKey, 2);
  ASSERT_TRUE(ApplyRegistryValueEntry(project_, EntryPlace::Edit(0), value).Accepted);
  EXPECT_EQ(project_.registryValues[0].Caption, "HKEY_LOCAL_MACHINE");
  const RegistryDeletionFields deletion = ShowRegistryDeletionEntry(project_, EntryPlace::Edit(0));
  EXPECT_EQ(deletion.RootKey, 1);
  ASSERT_TRUE(ApplyRegistryDeletionEntry(project_, EntryPlace::Edit(0), deletion).Accepted);
  EXPECT_EQ(project_.uninstallRegistryDeletions[0].Caption, "HKEY_CURRENT_USER");
  EXPECT_EQ(ShowVariableEntry(project_, EntryPlace::Edit(0)).RootKey, 3);
}

TEST_F(RegistryEntries, EmptySubkeyIsRefusedInBothDialogs) {
  RegistryValueFields v;
  EXPECT_EQ(ApplyRegistryValueEntry(project_, EntryPlace::Add(), v).Focus, "LabeledEdit1");
  RegistryDeletionFields d;
  EXPECT_EQ(ApplyRegistryDeletionEntry(project_, EntryPlace::Add(), d).Focus, "LabeledEdit1");
  EXPECT_TRUE(project_.registryValues.empty());
  EXPECT_TRUE(project_.uninstallRegistryDeletions.empty());
}

TEST_F(RegistryEntries, DeletionRowRoundTrips) {
  RegistryDeletionFields d{1, "Software\\Acme", ""};
  ASSERT_TRUE(ApplyRegistryDeletionEntry(project_, EntryPlace::Add(), d).Accepted);
  EXPECT_EQ(test::RowCells(project_.uninstallRegistryDeletions, 0), (Cells{"HKEY_CURRENT_USER", "Software\\Acme", ""}));
  RegistryDeletionFields shown = ShowRegistryDeletionEntry(project_, EntryPlace::Edit(0));
  EXPECT_EQ(shown.RootKey, 1);
  EXPECT_EQ(shown.SubKey, "Software\\Acme");
}

TEST_F(RegistryEntries, ImportOfSeveralFilesKeepsRowsBeforeABadValueAndGoesOn) {
  const std::string good = folder_.Write("good.reg",
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Acme]\r\n\"Path\"=\"C:\\\\Acme\"\r\n\"Count\"=dword:0000000a\r\n");
  const std::string bad = folder_.Write("bad.reg",
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"A\"=\"1\"\r\n\"B\"=dword:zz\r\n\"C\"=\"3\"\r\n");
  RegistryValueFields f = ShowRegistryValueEntry(project_, EntryPlace::Add());
  f.Overwrite = false;
  RegFilesImport r = ImportRegistryValueFiles(project_, {good, bad, folder_.Path() + "missing.reg", good}, f);
  EXPECT_EQ(r.RowsAdded, 5u);
  ASSERT_EQ(r.Problems.size(), 2u);
  EXPECT_NE(r.Problems[0].find("bad.reg: line 4"), std::string::npos);
  EXPECT_NE(r.Problems[1].find("missing.reg"), std::string::npos);
  EXPECT_EQ(test::RowCells(project_.registryValues, 0),
            (Cells{"HKEY_LOCAL_MACHINE", "Software\\Acme", "Path", "REG_SZ", "C:\\Acme", "No", "Yes"}));
  EXPECT_EQ(project_.registryValues[1].Cell(4), "10");
  EXPECT_EQ(project_.registryValues[2].Cell(2), "A");
  EXPECT_EQ(project_.registryValues[3].Cell(2), "Path");
  EXPECT_TRUE(session_.modified);

  RegFilesImport d = ImportRegistryDeletionFiles(project_, {good});
  EXPECT_EQ(d.RowsAdded, 2u);
  EXPECT_EQ(test::RowCells(project_.uninstallRegistryDeletions, 1), (Cells{"HKEY_LOCAL_MACHINE", "Software\\Acme", "Count"}));
}

TEST_F(RegistryEntries, AssociationAppendsTwoToFourRows) {
  project_.registryValues.AppendCells({"HKEY_USERS", "kept", "", "REG_SZ", "", "Yes", "Yes"});
  AssociationFields f;
  f.Extension = ".txt";
  f.Program = "%InstallPath%\\viewer.exe";
  f.Description = "Text document";
  f.IconFile = "%InstallPath%\\viewer.exe";
  f.IconIndex = "1";
  ASSERT_TRUE(ApplyAssociation(project_, f).Accepted);
  const std::vector<Cells> expected = {
      {"HKEY_USERS", "kept", "", "REG_SZ", "", "Yes", "Yes"},
      {"HKEY_CLASSES_ROOT", ".txt", "", "REG_SZ", "txtfile", "Yes", "Yes"},
      {"HKEY_CLASSES_ROOT", "txtfile\\shell\\open\\command", "", "REG_SZ", "%InstallPath%\\viewer.exe \"%1\"", "Yes", "Yes"},
      {"HKEY_CLASSES_ROOT", "txtfile", "", "REG_SZ", "Text document", "Yes", "Yes"},
      {"HKEY_CLASSES_ROOT", "txtfile\\DefaultIcon", "", "REG_SZ", "%InstallPath%\\viewer.exe,1", "Yes", "Yes"}};
  EXPECT_EQ(test::AllCells(project_.registryValues), expected);

  AssociationFields plain;  // no dot, no description, no icon: two rows
  plain.Extension = "log";
  plain.Program = "notepad.exe";
  ASSERT_TRUE(ApplyAssociation(project_, plain).Accepted);
  ASSERT_EQ(project_.registryValues.size(), 7u);
  EXPECT_EQ(project_.registryValues[5].Cell(1), ".log");
  EXPECT_EQ(project_.registryValues[6].Cell(4), "notepad.exe \"%1\"");  // stored as typed
}

TEST_F(RegistryEntries, AssociationNeedsExtensionThenProgram) {
  AssociationFields f;
  EXPECT_EQ(ApplyAssociation(project_, f).Focus, "LabeledEdit1");
  f.Extension = "txt";
  EXPECT_EQ(ApplyAssociation(project_, f).Focus, "LabeledEdit2");
  EXPECT_TRUE(project_.registryValues.empty());
}

}  // namespace
}  // namespace bvq
