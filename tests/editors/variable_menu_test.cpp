// The variable menu: its items follow the user variables, and a click inserts at the caret.
#include "editors/variable_menu_popup.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <memory>

#include "editors/entry_dialogs.h"
#include "modal_driver.h"

namespace bvq {
namespace {

QAction* ActionWithText(QMenu* menu, const QString& text) {
  for (QAction* action : menu->actions())
    if (action->text() == text) return action;
  return nullptr;
}

QStringList UserItems(QMenu* menu) {
  QStringList names;
  for (QAction* action : menu->actions())
    if (action->objectName().startsWith("AddVarMenu")) names << action->objectName() + "=" + action->text();
  return names;
}

TEST(VariableMenu, ReplacesTheSelectionAndPutsTheCaretAfterTheName) {
  QLineEdit edit;
  edit.setText("xabcx");
  edit.setSelection(1, 3);
  EntryList variables(5);
  std::unique_ptr<QMenu> menu(BuildVariableMenu(nullptr, &edit, variables));
  QAction* installPath = ActionWithText(menu.get(), "%InstallPath%");
  ASSERT_NE(installPath, nullptr);
  EXPECT_EQ(installPath->objectName(), "Var6");
  installPath->trigger();
  EXPECT_EQ(edit.text(), "x%InstallPath%x");
  EXPECT_EQ(edit.cursorPosition(), 14);
  EXPECT_FALSE(edit.hasSelectedText());
}

TEST(VariableMenu, UserVariablesFollowTheListAfterASeparator) {
  QLineEdit edit;
  EntryList variables(5);
  for (const char* name : {"%A%", "%B%", "%C%"}) variables.AppendCells({name, "HKEY_CURRENT_USER", "K", "", ""});
  std::unique_ptr<QMenu> menu(BuildVariableMenu(nullptr, &edit, variables));
  EXPECT_EQ(UserItems(menu.get()), (QStringList{"AddVarMenuDel=", "AddVarMenu0=%A%", "AddVarMenu1=%B%", "AddVarMenu2=%C%"}));
  ActionWithText(menu.get(), "%B%")->trigger();
  EXPECT_EQ(edit.text(), "%B%");

  variables.clear();
  menu.reset(BuildVariableMenu(nullptr, &edit, variables));
  EXPECT_TRUE(UserItems(menu.get()).isEmpty());
}

TEST(VariableMenu, ADialogsVariableButtonServesItsOwnField) {
  Project project;
  FileHandOver handOver;
  auto dialog = CreateEntryDialog(nullptr, project, handOver, 2, EntryMode::Add, -1);
  dialog->show();
  auto* data = dialog->findChild<QLineEdit*>("LabeledEdit3");
  auto* subKey = dialog->findChild<QLineEdit*>("LabeledEdit1");
  ASSERT_TRUE(data && subKey);
  data->setText("C:\\");
  data->setCursorPosition(3);
  test::WhenPopup([](QWidget* popup) {
    auto* menu = qobject_cast<QMenu*>(popup);
    ASSERT_NE(menu, nullptr);
    QAction* action = ActionWithText(menu, "%ProgramFiles%");
    ASSERT_NE(action, nullptr);
    menu->close();
    action->trigger();
  });
  dialog->findChild<QPushButton*>("Button6")->click();
  EXPECT_EQ(data->text(), "C:\\%ProgramFiles%");
  EXPECT_EQ(subKey->text(), "");
  EXPECT_EQ(dialog->focusWidget(), data);
}

}  // namespace
}  // namespace bvq
