#include "project/interface_text_ids.h"
#include "project/user_variables.h"

#include <gtest/gtest.h>

#include "entry_test_support.h"
#include "project/variable_menu.h"
#include "project_test_support.h"

namespace bvq {
namespace {

using test::Cells;

class UserVariables : public test::ProjectTest {
 protected:
  VariableFields Fields(std::string name, std::string subkey = "Software\\Acme") {
    VariableFields f;
    f.Name = std::move(name);
    f.RootKey = 2;
    f.SubKey = std::move(subkey);
    f.ValueName = "Path";
    f.Default = "C:\\Acme";
    return f;
  }
};

TEST_F(UserVariables, AddModeDefaultsAndEditModeReadsTheRow) {
  VariableFields add = ShowVariableEntry(project_, EntryPlace::Add());
  EXPECT_EQ(add.Name, "%MyVariable%");
  EXPECT_EQ(add.RootKey, 0);
  project_.registryVariables.AppendCells({"%Data%", "HKEY_USERS", "S", "V", "D"});
  VariableFields edit = ShowVariableEntry(project_, EntryPlace::Edit(0));
  EXPECT_EQ(edit.Name, "%Data%");
  EXPECT_EQ(edit.RootKey, 3);
  EXPECT_EQ(edit.SubKey, "S");
  EXPECT_EQ(edit.ValueName, "V");
  EXPECT_EQ(edit.Default, "D");
}

TEST_F(UserVariables, NamesGetTheirPercentSigns) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"MyVar", "%MyVar%"}, {"%MyVar", "%MyVar%"}, {"MyVar%", "%MyVar%"}, {"%", "%"}, {"%%", "%%"}};
  for (const auto& [typed, stored] : cases) EXPECT_EQ(NormalizeVariableName(typed), stored) << typed;

  VariableFields f = Fields("MyVar");
  ASSERT_TRUE(ApplyVariableEntry(project_, EntryPlace::Add(), f).Accepted);
  EXPECT_EQ(f.Name, "%MyVar%");  // the field shows what was stored
  EXPECT_EQ(test::RowCells(project_.registryVariables, 0),
            (Cells{"%MyVar%", "HKEY_LOCAL_MACHINE", "Software\\Acme", "Path", "C:\\Acme"}));
  EXPECT_TRUE(session_.modified);
}

TEST_F(UserVariables, BuiltInAndDuplicateNamesAreRefusedWithTheWarning) {
  VariableFields first = Fields("%Data%");
  ASSERT_TRUE(ApplyVariableEntry(project_, EntryPlace::Add(), first).Accepted);
  for (const char* name : {"%programfiles%", "%ProgramFiles64%", "%MyDocuments%", "%ShortTempDir%", "I", "%DATA%", "data"}) {
    VariableFields f = Fields(name);
    EntryOutcome outcome = ApplyVariableEntry(project_, EntryPlace::Add(), f);
    EXPECT_FALSE(outcome.Accepted) << name;
    EXPECT_EQ(outcome.Warning, InterfaceString(kTextVariableNameTaken)) << name;
  }
  EXPECT_EQ(project_.registryVariables.size(), 1u);
}

TEST_F(UserVariables, RenamingInEditModeSkipsOnlyTheEditedRow) {
  project_.registryVariables.AppendCells({"%One%", "HKEY_USERS", "S", "", ""});
  project_.registryVariables.AppendCells({"%Two%", "HKEY_USERS", "S", "", ""});
  VariableFields same = Fields("%one%");
  EXPECT_TRUE(ApplyVariableEntry(project_, EntryPlace::Edit(0), same).Accepted);
  EXPECT_EQ(project_.registryVariables[0].Caption, "%one%");
  EXPECT_EQ(project_.registryVariables.size(), 2u);
  VariableFields other = Fields("%TWO%");
  EXPECT_EQ(ApplyVariableEntry(project_, EntryPlace::Edit(0), other).Warning, InterfaceString(kTextVariableNameTaken));
}

TEST_F(UserVariables, EmptyNameOrSubkeyTakesTheFocus) {
  VariableFields noName = Fields("");
  EXPECT_EQ(ApplyVariableEntry(project_, EntryPlace::Add(), noName).Focus, "LabeledEdit1");
  VariableFields noSubkey = Fields("X", "");
  EXPECT_EQ(ApplyVariableEntry(project_, EntryPlace::Add(), noSubkey).Focus, "LabeledEdit2");
  EXPECT_TRUE(project_.registryVariables.empty());
  EXPECT_FALSE(session_.modified);
}

std::vector<std::string> Captions(const VariableMenu& menu) {
  std::vector<std::string> out;
  for (const VariableMenuItem& item : menu.Items()) out.push_back(item.Separator ? "-" : item.Caption);
  return out;
}

TEST(VariableMenu, FixedItemsInMenuOrder) {
  VariableMenu menu;
  EXPECT_EQ(Captions(menu),
            (std::vector<std::string>{"%ProductName%", "%ProductVersion%", "%CompanyName%", "-", "%InstallPath%",
                                      "%Language%", "%UserName%", "%ComputerName%", "-", "%ProgramFiles%",
                                      "%ProgramFiles64%", "%WindowsDir%", "%SystemDir%", "%CommonFiles%",
                                      "%TempDir%", "%Desktop%", "%ProgramsDir%", "%StartMenu%", "%Favorites%",
                                      "%StartUp%", "%Templates%", "%AppData%", "%SystemDrive%"}));
  EXPECT_EQ(menu.Items()[10].Name, "Var21");
}

TEST(VariableMenu, FollowsTheUserVariablesThroughAddsAndDeletes) {
  EntryList vars(5);
  VariableMenu menu;
  const std::size_t fixed = menu.Items().size();
  for (const char* name : {"%A%", "%B%", "%C%"}) vars.AppendCells({name, "HKEY_USERS", "S"});
  menu.Update(vars);
  // Captions after the fixed items.
  auto userPart = [&] {
    const std::vector<std::string> all = Captions(menu);
    return std::vector<std::string>(all.begin() + static_cast<long>(fixed), all.end());
  };
  std::vector<std::string> tail = userPart();
  EXPECT_EQ(tail, (std::vector<std::string>{"-", "%A%", "%B%", "%C%"}));
  EXPECT_EQ(menu.Items().back().Name, "AddVarMenu2");
  EXPECT_EQ(menu.UserVariableItemCount(), 3);

  vars.Rows.erase(vars.Rows.begin());  // %B% and %C% move up to rows 0 and 1
  menu.Update(vars);
  tail = userPart();
  EXPECT_EQ(tail, (std::vector<std::string>{"-", "%B%", "%C%"}));

  vars.clear();
  menu.Update(vars);
  EXPECT_EQ(menu.Items().size(), fixed);  // neither separator nor user items

  vars.AppendCells({"%Z%", "HKEY_USERS", "S"});
  menu.Update(vars);
  menu.Update(vars);  // a second opening adds nothing
  tail = userPart();
  EXPECT_EQ(tail, (std::vector<std::string>{"-", "%Z%"}));
}

TEST(VariableMenu, InsertReplacesTheSelectionAndPutsTheCaretAfter) {
  InsertedVariable r = InsertVariable("xabcx", 1, 3, "%InstallPath%");
  EXPECT_EQ(r.Text, "x%InstallPath%x");
  EXPECT_EQ(r.Caret, 14u);
  r = InsertVariable("ab", 2, 0, "%I%");
  EXPECT_EQ(r.Text, "ab%I%");
  EXPECT_EQ(r.Caret, 5u);
  r = InsertVariable("ab", 9, 9, "%I%");  // a stale selection past the end
  EXPECT_EQ(r.Text, "ab%I%");
}

}  // namespace
}  // namespace bvq
