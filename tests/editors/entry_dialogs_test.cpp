// The entry dialogs through their widgets: mandatory fields, warnings, edit mode, pickers,
// the association action and dropped files.
#include "editors/entry_dialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <set>

#include "editors/app_dialogs.h"
#include "modal_driver.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/project_session.h"

namespace bvq {
namespace {

using test::Child;
using test::WhenModal;

TEST(EntryDialogs, EmptyMandatoryFieldsKeepTheVariableDialogOpenAndTakeTheFocus) {
  Project project;
  ProjectSession session(project);
  FileHandOver handOver;
  auto dialog = CreateEntryDialog(nullptr, project, handOver, 10, EntryMode::Add, -1);
  ASSERT_NE(dialog, nullptr);
  dialog->show();
  QApplication::setActiveWindow(dialog.get());
  auto* name = Child<QLineEdit>(dialog.get(), "LabeledEdit1");
  auto* subKey = Child<QLineEdit>(dialog.get(), "LabeledEdit2");
  auto* valueName = Child<QLineEdit>(dialog.get(), "LabeledEdit3");
  auto* ok = Child<QPushButton>(dialog.get(), "Button38");
  EXPECT_EQ(name->text(), "%MyVariable%");
  EXPECT_EQ(dialog->focusWidget(), name);

  name->clear();
  valueName->setFocus();
  ok->click();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->focusWidget(), name);

  name->setText("MyVar");
  ok->click();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->focusWidget(), subKey);
  EXPECT_TRUE(project.registryVariables.empty());

  subKey->setText("Software\\Acme");
  ok->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  ASSERT_EQ(project.registryVariables.size(), 1u);
  EXPECT_EQ(project.registryVariables[0].Caption, "%MyVar%");
  EXPECT_EQ(project.registryVariables[0].Cell(2), "Software\\Acme");
  EXPECT_EQ(name->text(), "%MyVar%");
  EXPECT_TRUE(session.modified);
}

TEST(EntryDialogs, ADuplicateVariableNameIsRefusedWithAWarning) {
  Project project;
  project.registryVariables.AppendCells({"%Foo%", "HKEY_CURRENT_USER", "Software\\Foo", "", ""});
  FileHandOver handOver;
  auto dialog = CreateEntryDialog(nullptr, project, handOver, 10, EntryMode::Add, -1);
  dialog->show();
  Child<QLineEdit>(dialog.get(), "LabeledEdit1")->setText("foo");
  Child<QLineEdit>(dialog.get(), "LabeledEdit2")->setText("Software\\Bar");

  QString caption, text;
  WhenModal(
      [&](QWidget* box) {
        caption = box->windowTitle();
        if (auto* message = qobject_cast<QMessageBox*>(box)) text = message->text();
        qobject_cast<QDialog*>(box)->accept();
      },
      dialog.get());
  Child<QPushButton>(dialog.get(), "Button38")->click();

  EXPECT_EQ(caption, "Belvandorithquessal");
  EXPECT_EQ(text.toStdString(), InterfaceString(kTextVariableNameTaken));
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(project.registryVariables.size(), 1u);
}

TEST(EntryDialogs, FileDialogEditsAnEmptyFolderEntry) {
  Project project;
  project.makeUninstaller = true;
  project.files.AppendCells({InterfaceString(kTextEmptyFolder), "%InstallPath%\\logs", IfExistsText(4), YesNoCell(true)});
  FileHandOver handOver;
  auto dialog = CreateEntryDialog(nullptr, project, handOver, 3, EntryMode::Edit, 0);
  auto* source = Child<QLineEdit>(dialog.get(), "LabeledEdit1");
  auto* targetLabel = Child<QLabel>(dialog.get(), "LabeledEdit2Label");
  EXPECT_EQ(source->text(), "");
  EXPECT_EQ(Child<QLineEdit>(dialog.get(), "LabeledEdit2")->text(), "%InstallPath%\\logs");
  EXPECT_EQ(Child<QComboBox>(dialog.get(), "ComboBox1")->currentIndex(), 4);
  EXPECT_TRUE(Child<QCheckBox>(dialog.get(), "CheckBox1")->isChecked());
  EXPECT_EQ(targetLabel->text().toStdString(), InterfaceString(kTextDestinationPath));

  source->setText("/src/a.txt|/src/b.txt");
  EXPECT_EQ(targetLabel->text().toStdString(), InterfaceString(kTextDestinationFolder));
  source->setText("/src/app.exe");
  Child<QLineEdit>(dialog.get(), "LabeledEdit2")->setText("%InstallPath%\\b?in");
  Child<QPushButton>(dialog.get(), "Button1")->click();
  ASSERT_EQ(project.files.size(), 1u);
  EXPECT_EQ(project.files[0].Caption, "/src/app.exe");
  EXPECT_EQ(project.files[0].Cell(1), "%InstallPath%\\bin\\app.exe");
  EXPECT_EQ(project.files[0].Cell(2), IfExistsText(4));
}

TEST(EntryDialogs, ActiveXPickerJoinsSeveralProjectFiles) {
  Project project;
  for (const char* d : {"%InstallPath%\\a.ocx", "%InstallPath%\\b.dll", "%InstallPath%\\c.ocx"})
    project.files.AppendCells({"/src/x", d, IfExistsText(2), YesNoCell(false)});
  FileHandOver handOver;
  auto dialog = CreateEntryDialog(nullptr, project, handOver, 8, EntryMode::Add, -1);
  dialog->show();

  WhenModal(
      [&](QWidget* picker) {
        EXPECT_EQ(picker->objectName(), "TSelectFileForm");
        auto* list = Child<QTreeWidget>(picker, "ListView1");
        ASSERT_EQ(list->topLevelItemCount(), 3);
        list->clearSelection();
        list->topLevelItem(2)->setSelected(true);
        list->topLevelItem(0)->setSelected(true);
        Child<QPushButton>(picker, "Button1")->click();
      },
      dialog.get());
  Child<QPushButton>(dialog.get(), "Button3")->click();
  auto* file = Child<QLineEdit>(dialog.get(), "LabeledEdit1");
  EXPECT_EQ(file->text(), "%InstallPath%\\a.ocx|%InstallPath%\\c.ocx");

  Child<QPushButton>(dialog.get(), "Button1")->click();
  ASSERT_EQ(project.activeXFiles.size(), 2u);
  EXPECT_EQ(project.activeXFiles[1].Caption, "%InstallPath%\\c.ocx");
}

TEST(EntryDialogs, PickerOfAProjectWithoutFilesOffersNothing) {
  Project project;
  auto picker = CreateProjectFilePicker(nullptr, project, false);
  EXPECT_FALSE(Child<QPushButton>(picker.get(), "Button1")->isEnabled());
  Child<QPushButton>(picker.get(), "Button2")->click();
  EXPECT_EQ(ReadProjectFilePick(picker.get()), ProjectFilePick{});
}

// The x positions, in the dialog, of its visible buttons showing `text`.
std::set<int> ButtonColumns(QWidget* dialog, const QString& text) {
  std::set<int> xs;
  for (QPushButton* b : dialog->findChildren<QPushButton*>())
    if (b->isVisible() && b->text() == text) xs.insert(b->mapTo(dialog, QPoint(0, 0)).x());
  return xs;
}

TEST(EntryDialogs, VariableAndPickerButtonsOfADialogLineUp) {
  // Every list dialog, and the association dialog, which has two pickers and four variable
  // buttons on rows of which some carry further controls.
  for (int list = 1; list <= 12; ++list) {
    Project project;
    FileHandOver handOver;
    auto dialog = list == 12 ? CreateAssociationDialog(nullptr, project)
                             : CreateEntryDialog(nullptr, project, handOver, list, EntryMode::Add, -1);
    ASSERT_NE(dialog, nullptr) << list;
    dialog->show();
    const std::set<int> variables = ButtonColumns(dialog.get(), "%");
    const std::set<int> pickers = ButtonColumns(dialog.get(), "...");
    EXPECT_LE(variables.size(), 1u) << list;
    EXPECT_LE(pickers.size(), 1u) << list;
    if (!variables.empty() && !pickers.empty()) EXPECT_LT(*pickers.begin(), *variables.begin()) << list;
    if (list == 1 || list == 12) {
      EXPECT_EQ(variables.size(), 1u) << list;
      EXPECT_EQ(pickers.size(), 1u) << list;
    }
  }
}

TEST(EntryDialogs, AssociationActionAppendsRegistryRowsAndMarksEvenWhenCancelled) {
  Project project;
  bool pageShown = false;
  WhenModal([](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle().toStdString(), InterfaceString(kTextFileAssociation));
    Child<QLineEdit>(dialog, "LabeledEdit1")->setText(".txt");
    Child<QLineEdit>(dialog, "LabeledEdit2")->setText("%InstallPath%\\viewer.exe");
    Child<QLineEdit>(dialog, "LabeledEdit4")->setText("Text document");
    Child<QLineEdit>(dialog, "LabeledEdit5")->setText("%InstallPath%\\viewer.exe");
    Child<QSpinBox>(dialog, "Edit1")->setValue(1);
    Child<QPushButton>(dialog, "Button1")->click();
  });
  RunAssociationAction(nullptr, project, [&] { pageShown = true; });
  EXPECT_TRUE(pageShown);
  ASSERT_EQ(project.registryValues.size(), 4u);
  EXPECT_EQ(project.registryValues[0].Cell(1), ".txt");
  EXPECT_EQ(project.registryValues[0].Cell(4), "txtfile");
  EXPECT_EQ(project.registryValues[1].Cell(4), "%InstallPath%\\viewer.exe \"%1\"");
  EXPECT_EQ(project.registryValues[3].Cell(1), "txtfile\\DefaultIcon");
  EXPECT_EQ(project.registryValues[3].Cell(4), "%InstallPath%\\viewer.exe,1");

  Project untouched;
  ProjectSession untouchedSession(untouched);
  WhenModal([](QWidget* dialog) { Child<QPushButton>(dialog, "Button2")->click(); });
  RunAssociationAction(nullptr, untouched);
  EXPECT_TRUE(untouched.registryValues.empty());
  EXPECT_TRUE(untouchedSession.modified);
}

TEST(EntryDialogs, DeletionPathLabelFollowsTheKind) {
  Project project;
  FileHandOver handOver;
  auto dialog = CreateEntryDialog(nullptr, project, handOver, 7, EntryMode::Add, -1);
  auto* label = Child<QLabel>(dialog.get(), "LabeledEdit1Label");
  EXPECT_EQ(label->text().toStdString(), InterfaceString(kTextFilePath));
  Child<QComboBox>(dialog.get(), "ComboBox1")->setCurrentIndex(2);
  EXPECT_EQ(label->text().toStdString(), InterfaceString(kTextFolderPath));
  Child<QLineEdit>(dialog.get(), "LabeledEdit1")->setText("logs");
  Child<QPushButton>(dialog.get(), "Button1")->click();
  ASSERT_EQ(project.uninstallDeletions.size(), 1u);
  EXPECT_EQ(project.uninstallDeletions[0].Caption, InterfaceString(kTextDeleteFolderAndFiles));
  EXPECT_EQ(project.uninstallDeletions[0].Cell(1), "%InstallPath%\\logs");
}

class DroppedPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    root_ = QDir(dir_.path());
    ASSERT_TRUE(root_.mkpath("Data/Empty"));
    QFile file(root_.filePath("Data/a.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a");
  }
  QTemporaryDir dir_;
  QDir root_;
};

TEST_F(DroppedPaths, AFolderOpensTheImportUnderItsOwnName) {
  Project project;
  ProjectSession session(project);
  FileHandOver handOver;
  QStringList shown;
  WhenModal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "TAddFilesListForm");
    auto* list = Child<QTreeWidget>(dialog, "FileListView");
    for (int i = 0; i < list->topLevelItemCount(); ++i) shown << list->topLevelItem(i)->text(0);
    Child<QLineEdit>(dialog, "Edit1")->setText("%AppData%\\X");
    EXPECT_EQ(list->topLevelItem(0)->text(0), "%AppData%\\X\\Data\\a.txt");
    Child<QPushButton>(dialog, "Button1")->click();
  });
  HandleDroppedPaths(nullptr, project, handOver, {root_.filePath("Data")});

  EXPECT_EQ(shown, (QStringList{"%InstallPath%\\Data\\a.txt", "%InstallPath%\\Data\\Empty"}));
  ASSERT_EQ(project.files.size(), 2u);
  EXPECT_EQ(project.files[0].Caption, root_.filePath("Data/a.txt").toStdString());
  EXPECT_EQ(project.files[1].Caption, InterfaceString(kTextEmptyFolder));
  EXPECT_EQ(project.files[1].Cell(1), "%AppData%\\X\\Data\\Empty");
  EXPECT_TRUE(handOver.ImportSources.empty());
  EXPECT_TRUE(session.modified);
}

TEST_F(DroppedPaths, OneFileOpensTheFileDialogWithPresets) {
  Project project;
  FileHandOver handOver;
  QString source, target;
  WhenModal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->objectName(), "TAddFileForm");
    source = Child<QLineEdit>(dialog, "LabeledEdit1")->text();
    target = Child<QLineEdit>(dialog, "LabeledEdit2")->text();
    Child<QPushButton>(dialog, "Button1")->click();
  });
  HandleDroppedPaths(nullptr, project, handOver, {root_.filePath("Data/a.txt")});
  EXPECT_EQ(source, root_.filePath("Data/a.txt"));
  EXPECT_EQ(target, "%InstallPath%\\a.txt");
  ASSERT_EQ(project.files.size(), 1u);
  EXPECT_EQ(project.files[0].Cell(1), "%InstallPath%\\a.txt");
  EXPECT_TRUE(handOver.PresetSource.empty());
  EXPECT_TRUE(handOver.PresetTarget.empty());
}

TEST_F(DroppedPaths, CancellingTheImportAddsNothing) {
  Project project;
  FileHandOver handOver;
  WhenModal([](QWidget* dialog) { Child<QPushButton>(dialog, "Button2")->click(); });
  HandleDroppedPaths(nullptr, project, handOver, {root_.filePath("Data"), root_.filePath("Data/a.txt")});
  EXPECT_TRUE(project.files.empty());
}

}  // namespace
}  // namespace bvq

namespace bvq {
namespace {

// Picks `paths` in the next file dialog.
void PickInFileDialog(const QStringList& paths) {
  test::WhenModal([paths](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    QStringList quoted;
    for (const QString& p : paths) quoted << '"' + QFileInfo(p).fileName() + '"';
    dialog->setDirectory(QFileInfo(paths.front()).absolutePath());
    dialog->selectFile(paths.size() == 1 ? QFileInfo(paths.front()).fileName() : quoted.join(' '));
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog checks the selection first
  });
}

TEST(EntryDialogs, IniImportAddsOneRowPerKeyAndReportsItsProgress) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = QDir(dir.path()).filePath("settings.ini");
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Main]\r\nWidth=800\r\n; note\r\nTitle = A=B\r\n");
  }
  Project project;
  ProjectSession session(project);
  FileHandOver handOver;
  QStringList status;
  SetLoadStatusHandler([&](const QString& text) { status << text; });
  auto dialog = CreateEntryDialog(nullptr, project, handOver, 5, EntryMode::Add, -1);
  dialog->show();
  PickInFileDialog({path});
  test::Child<QPushButton>(dialog.get(), "Button1")->click();
  SetLoadStatusHandler({});

  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(status, (QStringList{"Load...", "Load OK", ""}));
  ASSERT_EQ(project.iniEntries.size(), 2u);
  EXPECT_EQ(project.iniEntries[0].Caption, "%InstallPath%\\settings.ini");
  EXPECT_EQ(project.iniEntries[0].Cell(1), "Main");
  EXPECT_EQ(project.iniEntries[1].Cell(2), "Title ");
  EXPECT_EQ(project.iniEntries[1].Cell(3), " A=B");
  EXPECT_TRUE(session.modified);
}

// The registry import asks for its files and reports unreadable ones through the replaceable
// dialogs, like every window of the program, so no real file dialog or message box appears.
TEST(EntryDialogs, RegistryImportUsesTheReplaceableDialogs) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString patch = QDir(dir.path()).filePath("acme.reg");
  {
    QFile file(patch);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Acme]\r\n\"Name\"=\"Value\"\r\n");
  }
  const QString missing = QDir(dir.path()).filePath("missing.reg");
  QStringList asked;
  QString warning;
  Dialogs().openFiles = [&](QWidget*, const QString& filter, bool several, bool keepLinks) {
    asked << filter << (several ? "several" : "one") << (keepLinks ? "links kept" : "links followed");
    return QStringList{patch, missing};
  };
  Dialogs().message = [&](QWidget*, QMessageBox::Icon icon, const QString& caption, const QString& text,
                          QMessageBox::StandardButtons) {
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(caption, "Belvandorithquessal");
    warning = text;
    return QMessageBox::Ok;
  };
  Project project;
  FileHandOver handOver;
  auto dialog = CreateEntryDialog(nullptr, project, handOver, 2, EntryMode::Add, -1);
  dialog->show();
  test::Child<QPushButton>(dialog.get(), "Button3")->click();
  ResetDialogs();

  EXPECT_EQ(asked, (QStringList{"Registry patches (*.reg);;All files (*)", "several", "links followed"}));
  EXPECT_FALSE(dialog->isVisible());
  ASSERT_EQ(project.registryValues.size(), 1u);
  EXPECT_EQ(project.registryValues[0].Cell(1), "Software\\Acme");
  EXPECT_TRUE(warning.contains("missing.reg")) << warning.toStdString();
}

TEST(EntryDialogs, EditingAnIniRowHidesTheImport) {
  Project project;
  project.iniEntries.AppendCells({"%WindowsDir%\\a.ini", "S", "K", "V", YesNoCell(true), YesNoCell(false)});
  FileHandOver handOver;
  auto dialog = CreateEntryDialog(nullptr, project, handOver, 5, EntryMode::Edit, 0);
  dialog->show();
  EXPECT_FALSE(test::Child<QPushButton>(dialog.get(), "Button1")->isVisible());
  EXPECT_EQ(test::Child<QLineEdit>(dialog.get(), "LabeledEdit2")->text(), "K");
}

}  // namespace
}  // namespace bvq

namespace bvq {
namespace {

// Widgets hold Unicode; the model holds bytes of the project's code page (1252 here).
TEST(EntryDialogs, TextsCrossTheWidgetBoundaryInTheProjectCodePage) {
  Project project;
  project.uninstallRegistryDeletions.AppendCells({"HKEY_CURRENT_USER", "Software\\Caf\xE9", "Gr\xF6\xDF" "e"});
  FileHandOver handOver;
  auto dialog = CreateEntryDialog(nullptr, project, handOver, 9, EntryMode::Edit, 0);
  auto* subKey = test::Child<QLineEdit>(dialog.get(), "LabeledEdit1");
  EXPECT_EQ(subKey->text(), QString::fromUtf8("Software\\Caf\u00e9"));
  EXPECT_EQ(test::Child<QLineEdit>(dialog.get(), "LabeledEdit2")->text(), QString::fromUtf8("Gr\u00f6\u00dfe"));
  EXPECT_EQ(test::Child<QComboBox>(dialog.get(), "ComboBox1")->currentIndex(), 1);

  subKey->setText(QString::fromUtf8("Software\\\u00c9t\u00e9 \u0416"));
  test::Child<QPushButton>(dialog.get(), "Button1")->click();
  EXPECT_EQ(project.uninstallRegistryDeletions[0].Cell(1), "Software\\\xC9t\xE9 ?");
  EXPECT_EQ(project.uninstallRegistryDeletions[0].Cell(2), "Gr\xF6\xDF" "e");
}

}  // namespace
}  // namespace bvq
