// The entry list panel through its widgets: selection in the tree, buttons, keys, and the
// dialogs it opens.
#include "editors/entry_list_panel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "modal_driver.h"
#include "project/entry_dialog.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/project_session.h"
#include "project/shortcut_entries.h"

namespace bvq {
namespace {

using test::Child;
using test::WhenModal;

Project FiveFiles() {
  Project project;
  for (int i = 1; i <= 5; ++i)
    project.files.AppendCells({"/src/f" + std::to_string(i), "%InstallPath%\\f" + std::to_string(i), "x", "y"});
  return project;
}

std::vector<std::string> Sources(const Project& project) {
  std::vector<std::string> out;
  for (const EntryRow& row : project.files.Rows) out.push_back(row.Caption);
  return out;
}

// Selects `rows` through the tree's selection model, the first of them current.
void SelectRows(QTreeWidget* tree, std::vector<int> rows, int current = -1) {
  QItemSelection selection;
  for (int r : rows) selection.select(tree->model()->index(r, 0), tree->model()->index(r, 0));
  tree->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  const int focus = current >= 0 ? current : (rows.empty() ? -1 : rows.front());
  if (focus >= 0) tree->selectionModel()->setCurrentIndex(tree->model()->index(focus, 0), QItemSelectionModel::NoUpdate);
}

std::vector<int> SelectedRows(QTreeWidget* tree) {
  std::vector<int> rows;
  for (int i = 0; i < tree->topLevelItemCount(); ++i)
    if (tree->topLevelItem(i)->isSelected()) rows.push_back(i);
  return rows;
}

TEST(EntryListPanel, NamesTheListAndItsButtons) {
  Project project = FiveFiles();
  FileHandOver handOver;
  EntryListPanel files(project, 3, handOver);
  EXPECT_EQ(files.Tree()->objectName(), "ListView3");
  EXPECT_EQ(files.Tree()->topLevelItemCount(), 5);
  EXPECT_EQ(files.Tree()->headerItem()->text(0).toStdString(), InterfaceString(kTextSourceHeading));
  for (const char* name : {"Button53", "Button54", "Button22", "Button41", "Button91", "Button23", "Button24"})
    EXPECT_NE(files.findChild<QPushButton*>(name), nullptr) << name;
  EntryListPanel fonts(project, 11, handOver);
  EXPECT_EQ(fonts.Button(ListButton::AddFolder), nullptr);
  EXPECT_EQ(fonts.Button(ListButton::Down)->objectName(), "Button30");
}

TEST(EntryListPanel, MovesSelectedRowsAndFollowsThemWithTheSelection) {
  Project project = FiveFiles();
  ProjectSession session(project);
  FileHandOver handOver;
  EntryListPanel panel(project, 3, handOver);
  QTreeWidget* tree = panel.Tree();
  QString lastPosition;
  QObject::connect(&panel, &EntryListPanel::positionChanged, [&](const QString& text) { lastPosition = text; });

  // Nothing selected: only add and add folder.
  EXPECT_FALSE(panel.Button(ListButton::Edit)->isEnabled());
  EXPECT_TRUE(panel.Button(ListButton::AddFolder)->isEnabled());
  EXPECT_EQ(panel.PositionText(), "0:5");

  SelectRows(tree, {1, 2});
  EXPECT_EQ(lastPosition, "2:5");
  EXPECT_TRUE(panel.Button(ListButton::Up)->isEnabled());
  EXPECT_TRUE(panel.Button(ListButton::Down)->isEnabled());
  panel.Button(ListButton::Down)->click();
  EXPECT_EQ(Sources(project), (std::vector<std::string>{"/src/f1", "/src/f4", "/src/f2", "/src/f3", "/src/f5"}));
  EXPECT_EQ(SelectedRows(tree), (std::vector<int>{2, 3}));
  EXPECT_EQ(tree->topLevelItem(2)->text(0), "/src/f2");
  EXPECT_EQ(lastPosition, "3:5");
  EXPECT_TRUE(session.modified);

  panel.Button(ListButton::Up)->click();
  EXPECT_EQ(Sources(project), Sources(FiveFiles()));
  EXPECT_EQ(SelectedRows(tree), (std::vector<int>{1, 2}));

  // The first row in the selection disables up; down keeps the gap.
  SelectRows(tree, {0, 2});
  EXPECT_FALSE(panel.Button(ListButton::Up)->isEnabled());
  panel.Button(ListButton::Down)->click();
  EXPECT_EQ(Sources(project), (std::vector<std::string>{"/src/f2", "/src/f1", "/src/f4", "/src/f3", "/src/f5"}));
  EXPECT_EQ(SelectedRows(tree), (std::vector<int>{1, 3}));

  // The last row in the selection disables down.
  SelectRows(tree, {1, 4});
  EXPECT_FALSE(panel.Button(ListButton::Down)->isEnabled());
  EXPECT_TRUE(panel.Button(ListButton::Up)->isEnabled());
}

TEST(EntryListPanel, CopyAppendsTheFocusedRowAndDeleteSelectsTheNextOne) {
  Project project = FiveFiles();
  FileHandOver handOver;
  EntryListPanel panel(project, 3, handOver);
  QTreeWidget* tree = panel.Tree();

  SelectRows(tree, {1}, /*current=*/3);
  panel.Button(ListButton::Copy)->click();
  ASSERT_EQ(project.files.size(), 6u);
  EXPECT_EQ(project.files[5].Caption, "/src/f4");
  EXPECT_EQ(tree->topLevelItemCount(), 6);

  SelectRows(tree, {1, 3});
  panel.Button(ListButton::Delete)->click();
  EXPECT_EQ(Sources(project), (std::vector<std::string>{"/src/f1", "/src/f3", "/src/f5", "/src/f4"}));
  EXPECT_EQ(SelectedRows(tree), (std::vector<int>{1}));
  EXPECT_EQ(panel.PositionText(), "2:4");
}

TEST(EntryListPanel, ControlAThenDeleteEmptiesTheList) {
  Project project = FiveFiles();
  FileHandOver handOver;
  EntryListPanel panel(project, 3, handOver);
  panel.show();
  QTreeWidget* tree = panel.Tree();
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(SelectedRows(tree).size(), 5u);
  QTest::keyClick(tree, Qt::Key_Delete);
  EXPECT_TRUE(project.files.empty());
  EXPECT_EQ(tree->topLevelItemCount(), 0);
  EXPECT_EQ(panel.PositionText(), "0:0");
  for (ListButton b : {ListButton::Up, ListButton::Down, ListButton::Copy, ListButton::Edit, ListButton::Delete})
    EXPECT_FALSE(panel.Button(b)->isEnabled());
  EXPECT_TRUE(panel.Button(ListButton::Add)->isEnabled());
}

TEST(EntryListPanel, EnterEditsTheSelectedRowInPlace) {
  Project project;
  for (const char* name : {"One", "Two", "Three"})
    project.shortcuts.AppendCells({InterfaceString(kTextPlaceDesktop), name, "%InstallPath%\\app.exe", "", "", "", ""});
  FileHandOver handOver;
  EntryListPanel panel(project, 1, handOver);
  panel.show();
  SelectRows(panel.Tree(), {1});

  std::string shownName;
  QString caption;
  WhenModal([&](QWidget* dialog) {
    caption = dialog->windowTitle();
    auto* name = Child<QLineEdit>(dialog, "LabeledEdit1");
    shownName = name->text().toStdString();
    name->setText("Read?me");
    Child<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(2);
    Child<QPushButton>(dialog, "Button1")->click();
  });
  panel.Tree()->setFocus();
  QTest::keyClick(panel.Tree(), Qt::Key_Return);

  EXPECT_EQ(caption.toStdString(), InterfaceString(kTextEdit));
  EXPECT_EQ(shownName, "Two");
  ASSERT_EQ(project.shortcuts.size(), 3u);
  EXPECT_EQ(project.shortcuts[1].Cell(1), "Readme");
  EXPECT_EQ(project.shortcuts[1].Caption, InterfaceString(kTextPlaceStartMenu));
  EXPECT_EQ(panel.Tree()->topLevelItem(1)->text(1), "Readme");
  EXPECT_EQ(panel.PositionText(), "2:3");
}

// The add button of both command lists opens the command dialog for its own list.
TEST(EntryListPanel, AddButtonsOfTheCommandListsServeTheirList) {
  struct Case {
    int list;
    int whenString;
  };
  for (const Case c : {Case{4, 94}, Case{6, 110}}) {
    Project project;
    FileHandOver handOver;
    EntryListPanel panel(project, c.list, handOver);
    WhenModal([&](QWidget* dialog) {
      EXPECT_EQ(dialog->windowTitle().toStdString(), InterfaceString(kTextAdd));
      Child<QLineEdit>(dialog, "LabeledEdit1")->setText("%InstallPath%\\setup.exe");
      Child<QComboBox>(dialog, "ComboBox3")->setCurrentIndex(1);
      Child<QPushButton>(dialog, "Button38")->click();
    });
    panel.Button(ListButton::Add)->click();
    const EntryList& list = project.EntryListAt(c.list);
    ASSERT_EQ(list.size(), 1u) << c.list;
    EXPECT_EQ(list[0].Cell(1), "%InstallPath%\\setup.exe");
    EXPECT_EQ(list[0].Cell(4), InterfaceString(c.whenString));
    EXPECT_EQ(panel.PositionText(), "0:1");
  }
}

TEST(EntryListPanel, ShowsRowsAddedFromOutside) {
  Project project;
  project.uninstallerFile = "%InstallPath%\\Uninstall.exe";
  FileHandOver handOver;
  EntryListPanel panel(project, 1, handOver);
  AddUninstallerShortcut(project);
  ASSERT_EQ(panel.Tree()->topLevelItemCount(), 1);
  EXPECT_EQ(panel.Tree()->topLevelItem(0)->text(2), "%InstallPath%\\Uninstall.exe");
  EXPECT_EQ(panel.PositionText(), "0:1");
}

}  // namespace
}  // namespace bvq

namespace bvq {
namespace {

TEST(EntryListPanel, AddFolderImportsUnderTheChosenFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QDir root(dir.path());
  ASSERT_TRUE(root.mkpath("Src/sub"));
  for (const char* name : {"Src/a.txt", "Src/sub/b.txt"}) {
    QFile file(root.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  Project project;
  ProjectSession session(project);
  FileHandOver handOver;
  EntryListPanel panel(project, 3, handOver);
  test::WhenModal([&](QWidget* modal) {
    auto* browser = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(browser, nullptr);
    browser->setDirectory(root.path());
    browser->selectFile(root.filePath("Src"));
    // The import dialog follows once the folder is chosen.
    test::WhenModal([](QWidget* import) { test::Child<QPushButton>(import, "Button1")->click(); }, browser);
    static_cast<QDialog*>(browser)->accept();
  });
  panel.Button(ListButton::AddFolder)->click();

  ASSERT_EQ(project.files.size(), 2u);
  EXPECT_EQ(project.files[0].Cell(1), "%InstallPath%\\a.txt");
  EXPECT_EQ(project.files[1].Cell(1), "%InstallPath%\\sub\\b.txt");
  EXPECT_EQ(panel.Tree()->topLevelItemCount(), 2);
  EXPECT_TRUE(session.modified);
}

}  // namespace
}  // namespace bvq
