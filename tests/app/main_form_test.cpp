// The main window through its widgets: a loaded project shows its values, edits reach the
// model and mark it modified, save and reload round-trip, the file flows and their questions,
// the dependent controls, the status bar and the start-up with an empty file.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>

#include "app_fixture.h"
#include "editors/entry_dialog_base.h"
#include "editors/entry_list_panel.h"
#include "project/interface_strings.h"
#include "platform/shell_folders.h"
#include "project/interface_text_ids.h"
#include "project/project_codec.h"
#include "project/language_files.h"
#include "project/language_lists.h"
#include "util/code_page.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/program_values.h"

namespace bvq::test {
namespace {

namespace fs = std::filesystem;

QString Q(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }

class MainFormTest : public AppFixture {};

TEST_F(MainFormTest, LoadedProjectIsShownInTheWidgets) {
  Project p = NewSampleProject();
  p.productName = "Gr\xF6\xDF" "e Tool";  // code page 1252 bytes
  p.productVersion = "3.1";
  p.compression = 1;
  p.splitting = 4;
  p.volumeSize = 650;
  p.makeUninstaller = false;
  p.silentInstall = true;
  p.showLicense = true;
  p.password = "secret";
  for (std::size_t i = 0; i < p.supportedSystems.size(); ++i) p.supportedSystems[i].Checked = i >= 5;
  p.files.AppendCells({"a.txt", "%InstallPath%\\a.txt", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
  p.files.AppendCells({"b.txt", "%InstallPath%\\b.txt", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
  const std::string path = SaveSample(p, "Gr\xC3\xB6\xC3\x9F" "e.bvq");

  ASSERT_TRUE(form->LoadFile(path));
  EXPECT_EQ(Widget<QLineEdit>("LabeledEdit2")->text(), QString::fromUtf8("Größe Tool"));
  EXPECT_EQ(Widget<QLineEdit>("LabeledEdit29")->text(), "3.1");
  EXPECT_EQ(Widget<QComboBox>("ComboBox1")->currentIndex(), 1);
  EXPECT_EQ(Widget<QComboBox>("ComboBox1")->currentText(), Q(InterfaceString(kTextCompressionNormal)));
  EXPECT_EQ(Widget<QSpinBox>("UpDown1")->value(), 650);
  EXPECT_FALSE(Widget<QCheckBox>("CheckBox11")->isChecked());
  EXPECT_TRUE(Widget<QCheckBox>("CheckBox43")->isChecked());
  EXPECT_EQ(Widget<QLineEdit>("LabeledEdit20")->text(), "secret");
  auto* versions = Widget<QListWidget>("VersionsListView");
  ASSERT_EQ(versions->count(), 10);
  EXPECT_EQ(versions->item(4)->checkState(), Qt::Unchecked);
  EXPECT_EQ(versions->item(5)->checkState(), Qt::Checked);
  EXPECT_EQ(versions->item(9)->text(), "Windows 7");
  EXPECT_EQ(form->PanelOfPage(2)->Tree()->topLevelItemCount(), 2);

  // The pages follow the loaded switches: no uninstaller, silent, a volume size.
  EXPECT_FALSE(Widget<QLineEdit>("LabeledEdit10")->isEnabled());
  EXPECT_FALSE(Widget<QCheckBox>("CheckBox4")->isEnabled());
  EXPECT_FALSE(Widget<QLineEdit>("Edit7")->isEnabled());
  EXPECT_TRUE(Widget<QSpinBox>("UpDown1")->isEnabled());
  EXPECT_TRUE(Widget<QLineEdit>("LabeledEdit25")->isEnabled());

  EXPECT_TRUE(form->windowTitle().startsWith(QString::fromUtf8("Größe - Belvandorithquessal ")));
  EXPECT_FALSE(form->isWindowModified());
  EXPECT_EQ(form->StatusText(1), "Load OK");
}

TEST_F(MainFormTest, DamagedFileLeavesTheOpenProject) {
  Project p = NewSampleProject();
  p.productName = "Kept";
  const std::string good = SaveSample(p, "good.bvq");
  ASSERT_TRUE(form->LoadFile(good));
  const std::string bad = dir.Path() + "bad.bvq";
  WriteFile(bad, "not a project at all");

  EXPECT_FALSE(form->LoadFile(bad));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
  EXPECT_EQ(form->project().filePath, good);
  EXPECT_EQ(Widget<QLineEdit>("LabeledEdit2")->text(), "Kept");
  EXPECT_EQ(ReadFile(bad), "not a project at all");
}

// An old project whose licence text beside it has been edited since an earlier load: the
// edits stay, the project's own text goes to a numbered name, and the window says so.
TEST_F(MainFormTest, OldProjectTellsWhereItsLicenceTextWent) {
  Project p = NewSampleProject();
  const std::string path = SaveSample(p, "old.bvq");
  const Outcome<std::string> saved = ExportProjectText(path);
  ASSERT_TRUE(saved);
  std::vector<std::string> lines = SplitText("\r\n", *saved);
  const auto header = std::find(lines.begin(), lines.end(), "[HEADER]");
  const auto controls = std::find(lines.begin(), lines.end(), "[CONTROLS]");
  ASSERT_TRUE(header != lines.end() && controls - lines.begin() + 116 < static_cast<long>(lines.size()));
  *(header + 1) = "2.69";  // files of that age carry their licence text in slot 116
  const std::string licence = "{\\rtf1 " + std::string(120, 'L') + "}";
  *(controls + 116) = EncodeText(ScrambleText(licence));
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  WriteFile(path, MakeProjectFileBytes(text.substr(0, text.size() - 2)));
  const std::string usual = dir.Path() + "old_License.rtf";
  WriteFile(usual, "{\\rtf1 edited by the author}");

  ASSERT_TRUE(form->LoadFile(path));
  EXPECT_EQ(ReadFile(usual), "{\\rtf1 edited by the author}");
  const std::string numbered = dir.Path() + "old_License (2).rtf";
  EXPECT_EQ(ReadFile(numbered), licence);
  EXPECT_EQ(form->project().licenseFiles[0], numbered);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, QMessageBox::Information);
  EXPECT_TRUE(messages[0].text.contains(QString::fromStdString(numbered))) << messages[0].text.toStdString();
}

// One edit per kind of widget, each checked in the model.
TEST_F(MainFormTest, EditsReachTheModelAndMarkItModified) {
  struct Case {
    const char* name;
    std::function<void(QWidget*)> edit;
    std::function<bool(const Project&)> check;
  };
  const std::vector<Case> cases = {
      {"LabeledEdit2", [](QWidget* w) { static_cast<QLineEdit*>(w)->setText(QString::fromUtf8("Café")); },
       [](const Project& p) { return p.productName == "Caf\xE9"; }},
      {"CheckBox25", [](QWidget* w) { static_cast<QCheckBox*>(w)->click(); },
       [](const Project& p) { return p.requireAdmin; }},
      {"ComboBox1", [](QWidget* w) { static_cast<QComboBox*>(w)->setCurrentIndex(0); },
       [](const Project& p) { return p.compression == 0; }},
      {"UpDown1", [](QWidget* w) { static_cast<QSpinBox*>(w)->setValue(40000); },
       [](const Project& p) { return p.volumeSize == 32767; }},
      {"RadioButton8", [](QWidget* w) { static_cast<QRadioButton*>(w)->setChecked(true); },
       [](const Project& p) { return p.BackgroundIsPicture(); }},
      {"VersionsListView", [](QWidget* w) { static_cast<QListWidget*>(w)->item(0)->setCheckState(Qt::Unchecked); },
       [](const Project& p) { return !p.supportedSystems[0].Checked && p.supportedSystems[1].Checked; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->NewProjectAction();
    ASSERT_FALSE(form->session().modified);
    ASSERT_FALSE(form->isWindowModified());
    QWidget* w = Widget<QWidget>(c.name);
    ASSERT_NE(w, nullptr);
    w->setEnabled(true);
    c.edit(w);
    EXPECT_TRUE(c.check(form->project()));
    EXPECT_TRUE(form->session().modified);
    EXPECT_TRUE(form->isWindowModified());
    form->session().modified = false;  // New without the question
  }
}

TEST_F(MainFormTest, SaveAsProposesAFreeNameAndReloadShowsTheEdits) {
  WriteFile(DocumentsFolder() + "Tool.bvq", "taken");
  form->NewProjectAction();
  Widget<QLineEdit>("LabeledEdit2")->setText("Tool");
  Widget<QLineEdit>("LabeledEdit4")->setText("  Acme  ");
  Widget<QCheckBox>("CheckBox9")->setChecked(true);
  Widget<QComboBox>("ComboBox9")->setCurrentIndex(2);

  const QString chosen = QString::fromStdString(dir.Path() + "saved/Tool2");  // no extension: .bvq added
  fs::create_directories(dir.Path() + "saved");
  saveAnswers.push_back(chosen);
  ASSERT_TRUE(form->SaveProjectAction(false));
  ASSERT_EQ(saveProposals.size(), 1u);
  EXPECT_EQ(saveProposals[0].toStdString(), DocumentsFolder() + "Tool1.bvq");
  fs::remove(DocumentsFolder() + "Tool.bvq");
  EXPECT_EQ(saveCaptions[0], Q(InterfaceString(kTextSaveProject)));
  const std::string saved = dir.Path() + "saved/Tool2.bvq";
  EXPECT_EQ(form->project().filePath, saved);
  EXPECT_FALSE(form->isWindowModified());
  EXPECT_EQ(Widget<QLineEdit>("LabeledEdit4")->text(), "Acme");  // saving trims
  EXPECT_EQ(form->StatusText(1), "Save OK");
  ASSERT_FALSE(form->RecentProjects().empty());
  EXPECT_EQ(form->RecentProjects().front(), saved);

  // A second window reads the file back.
  app::TMainForm other("English", settingsPath);
  ASSERT_TRUE(other.LoadFile(saved));
  EXPECT_EQ(other.findChild<QLineEdit*>("LabeledEdit2")->text(), "Tool");
  EXPECT_EQ(other.findChild<QLineEdit*>("LabeledEdit4")->text(), "Acme");
  EXPECT_TRUE(other.findChild<QCheckBox*>("CheckBox9")->isChecked());
  EXPECT_EQ(other.findChild<QComboBox*>("ComboBox9")->currentIndex(), 2);
  EXPECT_FALSE(other.findChild<QCheckBox*>("CheckBox7")->isEnabled());  // restart excludes it

  // Save with a name saves in place without a dialog.
  Widget<QLineEdit>("LabeledEdit29")->setText("9.9");
  ASSERT_TRUE(form->SaveProjectAction(false));
  EXPECT_EQ(saveProposals.size(), 1u);
  ASSERT_TRUE(other.LoadFile(saved));
  EXPECT_EQ(other.project().productVersion, "9.9");
}

TEST_F(MainFormTest, ClosingAsksAboutUnsavedChanges) {
  Widget<QLineEdit>("LabeledEdit2")->setText("Edited");
  answers = {QMessageBox::Cancel};
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, Q(InterfaceString(kTextSaveChangesTo)) + "Edited?");
  EXPECT_EQ(messages[0].caption, "Edited");

  // Yes with the save dialog cancelled keeps the window: the changes would be lost.
  answers = {QMessageBox::Yes};
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());

  answers = {QMessageBox::No};
  EXPECT_TRUE(form->close());
  // Closing stored the window settings.
  SettingsStore store = SettingsStore::Open(settingsPath);
  EXPECT_EQ(store.GetString(SettingsStore::kMainSection, "Language").value_or(""), "English");
  EXPECT_TRUE(store.Has(SettingsStore::kMainSection, "LV3_0"));
}

TEST_F(MainFormTest, NewAsksBeforeDroppingChangesAndResetsTheWidgets) {
  Widget<QLineEdit>("LabeledEdit2")->setText("Unsaved work");
  answers = {QMessageBox::Cancel};
  form->NewProjectAction();
  EXPECT_EQ(form->project().productName, "Unsaved work");

  answers = {QMessageBox::No};
  form->NewProjectAction();
  EXPECT_EQ(Widget<QLineEdit>("LabeledEdit2")->text(), "NewProduct");
  EXPECT_FALSE(form->isWindowModified());
  EXPECT_EQ(form->StatusText(1), "New OK");
}

TEST_F(MainFormTest, OpenAndRecentProjects) {
  std::vector<std::string> paths;
  for (int i = 0; i < 11; ++i) {
    Project p = NewSampleProject();
    p.productName = "P" + std::to_string(i);
    paths.push_back(SaveSample(p, "p" + std::to_string(i) + ".bvq"));
    openAnswers.push_back(QString::fromStdString(paths.back()));
    form->OpenProjectAction();
    ASSERT_EQ(form->project().productName, "P" + std::to_string(i));
  }
  // The ten newest, newest first, in the menu as Act0..Act9.
  ASSERT_EQ(form->RecentProjects().size(), 10u);
  EXPECT_EQ(form->RecentProjects().front(), paths[10]);
  EXPECT_EQ(form->RecentProjects().back(), paths[1]);
  EXPECT_EQ(form->findChild<QAction*>("Act0")->text().toStdString(), paths[10]);
  EXPECT_TRUE(form->findChild<QAction*>("Act9")->isVisible());

  // Opening a recent entry; a removed file disappears from the list.
  form->OpenRecentAction(9);
  EXPECT_EQ(form->project().productName, "P1");
  EXPECT_EQ(form->RecentProjects().front(), paths[1]);
  fs::remove(paths[5]);
  form->RefreshRecent();
  EXPECT_EQ(form->RecentProjects().size(), 9u);
  EXPECT_EQ(std::count(form->RecentProjects().begin(), form->RecentProjects().end(), paths[5]), 0);
  EXPECT_FALSE(form->findChild<QAction*>("Act9")->isVisible());

  // A cancelled open dialog changes nothing.
  form->OpenProjectAction();
  EXPECT_EQ(form->project().productName, "P1");
}

TEST_F(MainFormTest, PagesAndListPositionInTheStatusBar) {
  Project p = NewSampleProject();
  p.files.AppendCells({"a.txt", "%InstallPath%\\a.txt", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
  p.files.AppendCells({"b.txt", "%InstallPath%\\b.txt", InterfaceString(kTextIfExistsReplace), InterfaceString(kTextYes)});
  ASSERT_TRUE(form->LoadFile(SaveSample(p, "list.bvq")));
  EXPECT_EQ(form->CurrentPage(), 1);
  EXPECT_EQ(form->StatusText(2), "");

  QTest::mouseClick(Widget<QPushButton>("MenuItem2"), Qt::LeftButton);
  EXPECT_EQ(form->CurrentPage(), 2);
  EXPECT_TRUE(Widget<QPushButton>("MenuItem2")->font().bold());
  EXPECT_FALSE(Widget<QPushButton>("MenuItem1")->font().bold());
  EXPECT_EQ(form->StatusText(2), "0:2");
  QTreeWidget* tree = form->PanelOfPage(2)->Tree();
  tree->setCurrentItem(tree->topLevelItem(1));
  EXPECT_EQ(form->StatusText(2), "2:2");

  form->ShowPage(13);
  EXPECT_EQ(form->StatusText(2), "");
  form->ShowPage(14);
  EXPECT_EQ(form->StatusText(2), "0:0");
  EXPECT_EQ(Widget<QPushButton>("MenuItem1")->text(), Q(InterfaceString(kTextPageProduct)));
}

TEST_F(MainFormTest, DependentControlsFollowTheirSwitches) {
  auto* restart = Widget<QCheckBox>("CheckBox9");
  auto* run = Widget<QCheckBox>("CheckBox7");
  auto* runFile = Widget<QLineEdit>("Edit2");
  run->setChecked(true);
  EXPECT_TRUE(runFile->isEnabled());
  restart->setChecked(true);
  EXPECT_FALSE(run->isEnabled());
  EXPECT_FALSE(runFile->isEnabled());
  EXPECT_TRUE(run->isChecked());
  restart->setChecked(false);
  EXPECT_TRUE(runFile->isEnabled());
  EXPECT_FALSE(Widget<QLineEdit>("Edit3")->isEnabled());  // readme not offered

  // Silent installation disables the licence switch; switching it off restores the group
  // only when the licence is shown.
  auto* licence = Widget<QCheckBox>("CheckBox4");
  licence->setChecked(true);
  Widget<QCheckBox>("CheckBox43")->setChecked(true);
  EXPECT_FALSE(licence->isEnabled());
  EXPECT_FALSE(Widget<QLineEdit>("Edit7")->isEnabled());
  Widget<QCheckBox>("CheckBox43")->setChecked(false);
  EXPECT_TRUE(Widget<QLineEdit>("Edit7")->isEnabled());

  // The uninstaller switch: its fields and lists.
  Widget<QCheckBox>("CheckBox11")->setChecked(false);
  EXPECT_FALSE(Widget<QLineEdit>("LabeledEdit1")->isEnabled());
  EXPECT_FALSE(form->PanelOfPage(14)->isEnabled());
  Widget<QCheckBox>("CheckBox11")->setChecked(true);
  EXPECT_TRUE(form->PanelOfPage(14)->isEnabled());

  // Splitting: the size only for a given size.
  Widget<QComboBox>("ComboBox4")->setCurrentIndex(2);
  EXPECT_TRUE(Widget<QLineEdit>("LabeledEdit25")->isEnabled());
  EXPECT_FALSE(Widget<QSpinBox>("UpDown1")->isEnabled());
  Widget<QComboBox>("ComboBox4")->setCurrentIndex(4);
  EXPECT_TRUE(Widget<QSpinBox>("UpDown1")->isEnabled());
}

TEST_F(MainFormTest, PasswordCaseComesBackUnlessChangedMeanwhile) {
  form->ShowPage(4);
  Widget<QTabWidget>("PageControl5")->setCurrentIndex(2);
  Widget<QCheckBox>("CheckBox24")->setChecked(true);
  auto* password = Widget<QLineEdit>("LabeledEdit20");
  auto* upper = Widget<QCheckBox>("CheckBox16");
  password->setText("MixedCase");
  upper->setChecked(true);
  EXPECT_EQ(password->text(), "MIXEDCASE");
  EXPECT_EQ(form->project().password, "MIXEDCASE");
  upper->setChecked(false);
  EXPECT_EQ(password->text(), "MixedCase");

  upper->setChecked(true);
  password->setFocus();
  password->end(false);
  QTest::keyClicks(password, "x");  // typed in upper case
  EXPECT_EQ(form->project().password, "MIXEDCASEX");
  upper->setChecked(false);
  EXPECT_EQ(password->text(), "MIXEDCASEX");

  Widget<QCheckBox>("CheckBox12")->setChecked(false);
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
}

TEST_F(MainFormTest, LicenceFilesFollowTheInstallLanguages) {
  auto* languages = Widget<QListWidget>("LanguageListView");
  ASSERT_GE(languages->count(), 2) << "the program folder needs two install languages";
  int unchecked = -1;
  for (int i = 0; i < languages->count(); ++i)
    if (languages->item(i)->checkState() == Qt::Unchecked) unchecked = i;
  ASSERT_GE(unchecked, 0);
  auto* combo = Widget<QComboBox>("LicenseComboBox");
  const int before = combo->count();
  languages->item(unchecked)->setCheckState(Qt::Checked);
  EXPECT_EQ(combo->count(), before + 1);
  EXPECT_EQ(form->project().licenseFiles.size(), static_cast<std::size_t>(before + 1));

  Widget<QCheckBox>("CheckBox4")->setChecked(true);
  combo->setCurrentIndex(0);
  Widget<QLineEdit>("Edit7")->setText("shared.rtf");
  EXPECT_EQ(form->project().licenseFiles[0], "shared.rtf");
  combo->setCurrentIndex(1);
  EXPECT_EQ(Widget<QLineEdit>("Edit7")->text(), "");
  Widget<QLineEdit>("Edit7")->setText("first.rtf");
  EXPECT_EQ(form->project().licenseFiles[1], "first.rtf");
  combo->setCurrentIndex(0);
  EXPECT_EQ(Widget<QLineEdit>("Edit7")->text(), "shared.rtf");

  // No language left: leaving the tab checks the interface language again.
  Widget<QPushButton>("Button16")->click();
  EXPECT_EQ(form->project().CheckedLanguageCaptions().size(), 0u);
  auto* tabs = Widget<QTabWidget>("PageControl1");
  tabs->setCurrentIndex(3);
  tabs->setCurrentIndex(4);
  ASSERT_EQ(form->project().CheckedLanguageCaptions().size(), 1u);
  EXPECT_EQ(form->project().CheckedLanguageCaptions()[0], "English");
}

TEST_F(MainFormTest, StartWithAnEmptyFileMakesItAProject) {
  const std::string empty = dir.Path() + "Empty.bvq";
  WriteFile(empty, "");
  form->StartupOpen(empty);
  EXPECT_GT(fs::file_size(empty), 0u);
  EXPECT_EQ(form->project().filePath, empty);
  Project check = NewSampleProject();
  ProjectSession checkSession(check);
  ProjectContext context;
  EXPECT_TRUE(LoadProject(check, checkSession, empty, context));
  EXPECT_TRUE(form->windowTitle().startsWith("Empty - "));
}

}  // namespace
}  // namespace bvq::test

namespace bvq::test {
namespace {

// Switching the interface language rewrites the window's texts and the project's localised
// cells, and back again.
TEST_F(MainFormTest, LanguageSwitchTranslatesTextsAndCells) {
  const TStrList languages = ListInterfaceLanguages();
  const auto russian = std::find(languages.begin(), languages.end(), "Russian");
  if (russian == languages.end()) GTEST_SKIP() << "no second interface language in the program folder";
  const int n = static_cast<int>(russian - languages.begin());
  const std::string englishReplace = InterfaceString(kTextIfExistsReplace);
  form->project().files.AppendCells({"a.txt", "%InstallPath%\\a.txt", englishReplace, InterfaceString(kTextYes)});
  struct BackToEnglish {
    ~BackToEnglish() { LoadInterfaceLanguage("English"); }
  } guard;

  form->findChild<QAction*>(QString("Lang%1").arg(n))->trigger();
  EXPECT_EQ(form->InterfaceLanguage(), "Russian");
  EXPECT_NE(InterfaceString(kTextIfExistsReplace), englishReplace);
  EXPECT_EQ(form->project().files[0].Cell(2), InterfaceString(kTextIfExistsReplace));
  // The pages and the list show what the switch rewrote: a project never saved takes the
  // new language's default titles.
  EXPECT_EQ(form->PanelOfPage(2)->Tree()->topLevelItem(0)->text(2), Q(InterfaceString(kTextIfExistsReplace)));
  EXPECT_EQ(Widget<QLineEdit>("LabeledEdit6")->text(), Q(InterfaceString(kTextDefaultInstallerTitle)));
  EXPECT_EQ(Widget<QLineEdit>("LabeledEdit22")->text(), Q(InterfaceString(kTextDefaultUninstallerTitle)));
  EXPECT_EQ(form->project().backgroundTitle, InterfaceString(kTextDefaultBackgroundTitle));
  EXPECT_EQ(form->findChild<QPushButton*>("MenuItem1")->text(), Q(InterfaceString(kTextPageProduct)));
  EXPECT_TRUE(form->findChild<QAction*>(QString("Lang%1").arg(n))->isChecked());

  const int english = static_cast<int>(std::find(languages.begin(), languages.end(), "English") - languages.begin());
  form->findChild<QAction*>(QString("Lang%1").arg(english))->trigger();
  EXPECT_EQ(form->project().files[0].Cell(2), englishReplace);
  EXPECT_EQ(form->findChild<QPushButton*>("MenuItem1")->text(), Q(InterfaceString(kTextPageProduct)));

  // A saved project keeps its titles; its cells still follow.
  Widget<QLineEdit>("LabeledEdit6")->setText("My title");
  ASSERT_TRUE(form->SaveFile(dir.Path() + "Titled.bvq"));
  form->findChild<QAction*>(QString("Lang%1").arg(n))->trigger();
  EXPECT_EQ(Widget<QLineEdit>("LabeledEdit6")->text(), "My title");
  EXPECT_EQ(form->PanelOfPage(2)->Tree()->topLevelItem(0)->text(2), Q(InterfaceString(kTextIfExistsReplace)));
}

}  // namespace
}  // namespace bvq::test

namespace bvq::test {
namespace {

// The pickers beside the picture and icon fields: PNG stays for the header, becomes a bitmap
// for the background; an icon file is kept, an executable gives its icon group as a new .ico.
TEST_F(MainFormTest, PickersImportPicturesAndIcons) {
  const std::string png = ProgramFolder() + "Data/Folder.png";
  ASSERT_TRUE(FileExists(png));
  Widget<QCheckBox>("CheckBox1")->setChecked(true);
  Widget<QRadioButton>("RadioButton8")->setChecked(true);
  Widget<QCheckBox>("CheckBox26")->setChecked(true);

  openAnswers = {QString::fromStdString(png)};
  Widget<QToolButton>("Button25")->click();
  EXPECT_EQ(form->project().headerPicture, png);

  openAnswers = {QString::fromStdString(png)};
  Widget<QToolButton>("Button11")->click();
  const std::string background = form->project().backgroundPicture;
  EXPECT_EQ(ExtractFileExt(background), ".bmp");
  EXPECT_EQ(ReadFile(background).substr(0, 2), "BM");

  const std::string ico = ProgramFolder() + "Icons/Install/Setup.ico";
  openAnswers = {QString::fromStdString(ico)};
  Widget<QToolButton>("Button21")->click();
  EXPECT_EQ(form->project().installerIcon, ico);

  // A cancelled dialog leaves the field.
  Widget<QToolButton>("Button21")->click();
  EXPECT_EQ(form->project().installerIcon, ico);

  const std::string exe = ProgramFolder() + "Data/Install.exe";
  if (FileExists(exe)) {
    openAnswers = {QString::fromStdString(exe)};
    Widget<QToolButton>("Button20")->click();
    const std::string extracted = form->project().uninstallerIcon;
    EXPECT_EQ(ExtractFileExt(extracted), ".ico");
    EXPECT_NE(extracted, exe);
    EXPECT_EQ(ReadFile(extracted).substr(0, 4), std::string("\0\0\1\0", 4));
  }
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace bvq::test

namespace bvq::test {
namespace {

TEST_F(MainFormTest, UninstallerShortcutAndIconPreview) {
  Widget<QLineEdit>("LabeledEdit1")->setText("%InstallPath%\\Remove.exe");
  form->findChild<QAction*>("ActAddUnLink")->trigger();
  EXPECT_EQ(form->CurrentPage(), 6);
  ASSERT_EQ(form->project().shortcuts.size(), 1u);
  EXPECT_EQ(form->project().shortcuts[0].Cell(2), "%InstallPath%\\Remove.exe");
  EXPECT_EQ(form->PanelOfPage(6)->Tree()->topLevelItemCount(), 1);
  EXPECT_EQ(form->StatusText(2), "0:1");

  // The installer icon's preview follows its field.
  auto* preview = Widget<QLabel>("Image3");
  Widget<QLineEdit>("LabeledEdit11")->setText(QString::fromStdString(ProgramFolder() + "Icons/Install/Setup.ico"));
  EXPECT_FALSE(preview->pixmap().isNull());
  Widget<QLineEdit>("LabeledEdit11")->setText(QString::fromStdString(dir.Path() + "missing.ico"));
  EXPECT_TRUE(preview->pixmap().isNull());
}

}  // namespace
}  // namespace bvq::test

namespace bvq::test {
namespace {

// Colours are kept as 0x00BBGGRR; a font keeps its colour and character set; the font
// button marks the project changed even when its dialog is cancelled.
TEST_F(MainFormTest, ColourAndFontButtons) {
  Widget<QCheckBox>("CheckBox1")->setChecked(true);
  Widget<QRadioButton>("RadioButton6")->setChecked(true);
  Dialogs().color = [](QWidget*, const QColor&) -> std::optional<QColor> { return QColor(0x12, 0x34, 0x56); };
  Widget<QToolButton>("ColorBtn2")->click();
  EXPECT_EQ(form->project().backgroundGradientEnd, 0x563412u);

  const FontSetting before = form->project().backgroundTitleFont;
  Dialogs().font = [](QWidget*, const QFont& current) -> std::optional<QFont> {
    QFont f = current;
    f.setFamily("Serif");
    f.setPointSize(20);
    f.setBold(true);
    f.setItalic(false);
    return f;
  };
  Widget<QPushButton>("Button1")->click();
  const FontSetting& after = form->project().backgroundTitleFont;
  EXPECT_EQ(after.Name, "Serif");
  EXPECT_EQ(after.Size, 20);
  EXPECT_EQ(after.Style, kFontBold);
  EXPECT_EQ(after.Color, before.Color);
  EXPECT_EQ(after.Charset, before.Charset);

  form->session().modified = false;
  Dialogs().font = [](QWidget*, const QFont&) -> std::optional<QFont> { return std::nullopt; };
  Widget<QPushButton>("Button17")->click();
  EXPECT_TRUE(form->session().modified);

  // The header colours follow the gradient switch.
  Widget<QCheckBox>("CheckBox10")->setChecked(false);
  EXPECT_FALSE(Widget<QToolButton>("ColorBtn3")->isEnabled());
}

}  // namespace
}  // namespace bvq::test

namespace bvq::test {
namespace {

// A file dropped on the window opens the file entry dialog on the file page with the file
// preset; its OK adds the row.
TEST_F(MainFormTest, DroppedFileBecomesAFileEntry) {
  const std::string file = dir.Path() + "dropped.txt";
  WriteFile(file, "dropped");
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
  bool dialogShown = false;
  QTimer::singleShot(0, [&dialogShown] {
    if (auto* dialog = qobject_cast<EntryDialog*>(QApplication::activeModalWidget())) {
      dialogShown = true;
      dialog->Ok();
    }
  });
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  // Straight to the window: the application routes drop events only during a real drag.
  static_cast<QObject*>(form.get())->event(&drop);

  EXPECT_TRUE(dialogShown);
  EXPECT_EQ(form->CurrentPage(), 2);
  ASSERT_EQ(form->project().files.size(), 1u);
  EXPECT_EQ(form->project().files[0].Caption, file);
  EXPECT_EQ(form->PanelOfPage(2)->Tree()->topLevelItemCount(), 1);
  EXPECT_TRUE(form->isWindowModified());
}

}  // namespace
}  // namespace bvq::test
