#include "app/settings_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "editors/qt_text.h"
#include "editors/app_dialogs.h"
#include "app/editor_form.h"
#include "app/looks_previews.h"
#include "app/page_layout.h"
#include "app/pickers.h"
#include "app/settings_binder.h"
#include "project/interface_text_ids.h"
#include "project/language_lists.h"
#include "project/project_rules.h"
#include "editors/entry_dialogs.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq::app {
namespace {


// The controls of the licence or information files per language: the combo box of the
// languages, the edit showing the selected entry, its picker and the text editor button.
struct FileControlNames {
  const char* combo;
  const char* comboLabel;
  const char* edit;
  const char* editLabel;
  const char* picker;
  const char* editor;
};
constexpr FileControlNames kLicenseControls{"LicenseComboBox", "Label21", "Edit7", "Label28", "Button87", "Button89"};
constexpr FileControlNames kInfoControls{"InfoComboBox", "Label29", "Edit5", "Label30", "Button88", "Button90"};

void FilePerLanguage(SettingsBinder& b, Column& c, const FileControlNames& names, bool licence) {
  Project& project = b.project();
  auto* combo = new QComboBox;
  combo->setObjectName(names.combo);
  auto* edit = new QLineEdit;
  edit->setObjectName(names.edit);
  QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [&b, &project, edit, licence](int index) {
    if (b.Loading() || index < 0) return;
    (licence ? project.licenseFileIndex : project.infoFileIndex) = index;
    b.Silently([&] { edit->setText(ToQ(licence ? project.SelectedLicenseFile() : project.SelectedInfoFile())); });
  });
  QObject::connect(edit, &QLineEdit::textChanged, edit, [&b, &project, edit, licence](const QString& text) {
    if (b.Loading()) return;
    if (licence) project.SetSelectedLicenseFile(FromQ(text));
    else project.SetSelectedInfoFile(FromQ(text));
    b.Edited(edit->objectName());
  });
  b.AddLoader([&project, combo, edit, licence] {
    QStringList items;
    for (const std::string& caption : project.LanguageFileCaptions()) items << ToQ(caption);
    if (!items.isEmpty() && !IString(kTextAllLanguages).isEmpty()) items[0] = IString(kTextAllLanguages);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(licence ? project.licenseFileIndex : project.infoFileIndex);
    edit->setText(ToQ(licence ? project.SelectedLicenseFile() : project.SelectedInfoFile()));
  });
  // The text editor on the selected entry's file; the file it reports becomes the entry.
  QPushButton* editor = NewButton(names.editor, "Edit...");
  QObject::connect(editor, &QPushButton::clicked, edit, [&project, edit] {
    const QString file = EditTextFile(edit->window(), project, FromQ(edit->text()));
    if (!file.isEmpty()) edit->setText(file);
  });
  // Captions until the interface language gives its own.
  c.Field(combo, "Language:");
  c.LastLabel()->setObjectName(names.comboLabel);
  c.Field(edit, licence ? "Licence file:" : "Information file:", {DocumentPicker(names.picker, edit), editor});
  c.LastLabel()->setObjectName(names.editLabel);
}

}  // namespace

QWidget* BuildProductPage(SettingsBinder& b) {
  QWidget* page = NewPage("Page1");
  Column c(page);
  c.Field(b.Text("LabeledEdit2"));
  c.Field(b.Text("LabeledEdit29"));
  c.Field(b.Text("LabeledEdit4"));
  c.Field(b.Text("Edit8"));
  c.Field(b.Text("Edit1"));
  QLineEdit* setup = b.Text("LabeledEdit5");
  QToolButton* pick = SideButton("Button19", "...");
  QObject::connect(pick, &QToolButton::clicked, setup, [setup] {
    const QString chosen = Dialogs().saveFile(setup->window(), QString(), DiskToQ(NativePath(FromQ(setup->text()))),
                                              QtFilter("Executable files (*.exe)|*.exe"));
    if (!chosen.isEmpty()) setup->setText(chosen);
  });
  c.Field(setup, {}, {pick});
  c.Field(b.Index("ComboBox1", 3));
  c.Field(b.Index("ComboBox4", 5));
  c.Field(b.Text("LabeledEdit25"));
  // Edit4 with its spin button UpDown1: 0..32767, digits only.
  QSpinBox* size = b.Number("UpDown1", 0, 32767);
  // The unit's items (bytes, Kb, Mb, Gb) come from the interface language.
  c.Field(size, {}, {b.Index("ComboBox11", 4)});
  c.End();
  return page;
}

QWidget* BuildRequirementsPage(SettingsBinder& b) {
  QWidget* page = NewPage("Page3");
  Column c(page);
  Project& project = b.project();
  c.Add(CheckList(b, "VersionsListView",
                  [&project](std::size_t i, bool on) { project.supportedSystems[i].Checked = on; }));
  c.Add(b.Flag("CheckBox25"));
  c.Add(b.Flag("CheckBox38"));
  c.Field(b.Index("ComboBox5", 12));
  c.Add(b.Flag("CheckBox5"));
  c.Field(b.Text("Edit6"));
  c.Add(b.Flag("CheckBox36"));
  QLineEdit* closeApp = b.Text("LabeledEdit8");
  c.Field(closeApp, {}, {VariableButton(b, "Button84", closeApp)});
  c.Field(b.Index("ComboBox9", 3));
  c.End();
  return page;
}

QWidget* BuildWizardPage(SettingsBinder& b) {
  QWidget* page = NewPage("Page4");
  auto* tabs = new QTabWidget;
  tabs->setObjectName("PageControl5");
  (new QVBoxLayout(page))->addWidget(tabs);

  Column general(NewTab(tabs, "TabSheet10"));
  QLineEdit* title = b.Text("LabeledEdit6");
  general.Field(title, {}, {VariableButton(b, "Button77", title)});
  QLineEdit* bottom = b.Text("LabeledEdit16");
  general.Field(bottom, {}, {VariableButton(b, "Button78", bottom)});
  QLineEdit* folderName = b.Text("Edit10");
  general.Field(folderName, {}, {VariableButton(b, "Button107", folderName)});
  QLineEdit* folder = b.Text("LabeledEdit12");
  general.Field(folder, {}, {VariableButton(b, "Button79", folder)});
  general.Add(b.Flag("CheckBox41"));
  general.Add(b.Flag("CheckBox43"));
  general.Group(QString());
  general.Add(b.Flag("CheckBox44"));
  general.Add(b.Flag("CheckBox45"));
  general.Add(b.Flag("CheckBox46"));
  general.Add(b.Flag("CheckBox47"));
  general.Add(b.Flag("CheckBox48"));
  general.Add(b.Flag("CheckBox49"));
  general.End();

  Column texts(NewTab(tabs, "TabSheet2"));
  texts.Add(b.Flag("CheckBox4"));
  FilePerLanguage(b, texts, kLicenseControls, true);
  texts.Add(b.Flag("CheckBox15"));
  FilePerLanguage(b, texts, kInfoControls, false);
  texts.End();

  Column password(NewTab(tabs, "TabSheet19"));
  password.Add(b.Flag("CheckBox24"));
  password.Field(b.Text("LabeledEdit20"));
  password.Add(b.Flag("CheckBox12"));
  password.Add(b.Flag("CheckBox16"));
  password.End();

  Column finish(NewTab(tabs, "TabSheet18"));
  finish.Add(b.Flag("CheckBox7"));
  QLineEdit* runFile = b.Text("Edit2");
  finish.Field(runFile, {}, {VariableButton(b, "Button81", runFile), ProjectFilePicker(b, "Button85", runFile)});
  finish.Add(b.Flag("CheckBox2"));
  finish.Add(b.Flag("CheckBox8"));
  QLineEdit* readme = b.Text("Edit3");
  finish.Field(readme, {}, {VariableButton(b, "Button82", readme), ProjectFilePicker(b, "Button86", readme)});
  finish.Add(b.Flag("CheckBox3"));
  finish.Add(b.Flag("CheckBox17"));
  QLineEdit* site = b.Text("LabeledEdit7");
  finish.Field(site, {}, {VariableButton(b, "Button104", site)});
  finish.Add(b.Flag("CheckBox14"));
  finish.Add(b.Flag("CheckBox9"));
  finish.End();
  return page;
}

QWidget* BuildLookPage(SettingsBinder& b) {
  QWidget* page = NewPage("Page5");
  auto* tabs = new QTabWidget;
  tabs->setObjectName("PageControl1");
  (new QVBoxLayout(page))->addWidget(tabs);
  Project& project = b.project();

  Column background(NewTab(tabs, "TabSheet1"));
  background.Add(b.Flag("CheckBox1"));
  // The two kinds of background exclude each other although they sit in different rows.
  auto* backgroundKind = new QButtonGroup(page);
  backgroundKind->addButton(background.Add(b.Choice("RadioButton6")));
  QToolButton* backColour1 = ColorButton(b, "ColorBtn1");
  QToolButton* backColour2 = ColorButton(b, "ColorBtn2");
  CoverSwatch(backColour1, "Shape3");
  CoverSwatch(backColour2, "Shape4");
  background.Field(b.Index("ComboBox7", 2), {}, {backColour1, backColour2});
  backgroundKind->addButton(background.Add(b.Choice("RadioButton8")));
  QLineEdit* backPicture = b.Text("LabeledEdit27");
  background.Field(backPicture, {}, {PicturePicker("Button11", backPicture, true)});
  background.Field(b.Index("ComboBox8", 3));
  background.Field(b.Text("LabeledEdit19"), {},
                   {FontButton(b, "Button1")});
  background.Field(b.Text("LabeledEdit28"), {},
                   {FontButton(b, "Button17")});
  background.Add(BuildBackgroundPreviewButton(b));
  background.End();

  Column header(NewTab(tabs, "TabSheet7"));
  header.Add(b.Flag("CheckBox26"));
  QLineEdit* headerPicture = b.Text("LabeledEdit14");
  header.Field(headerPicture, {}, {PicturePicker("Button25", headerPicture, false)});
  header.Add(b.Flag("CheckBox6"));
  header.Add(b.Flag("CheckBox10"));
  auto* colours = new QWidget;
  auto* colourRow = new QHBoxLayout(colours);
  colourRow->setContentsMargins(0, 0, 0, 0);
  for (auto [button, cover] : {std::pair{"ColorBtn3", "Shape1"}, std::pair{"ColorBtn4", "Shape2"}}) {
    QToolButton* colour = ColorButton(b, button);
    CoverSwatch(colour, cover);
    colourRow->addWidget(colour);
  }
  colourRow->addStretch(1);
  header.Add(colours);
  header.Add(BuildHeaderPreview(b));
  header.End();

  Column logo(NewTab(tabs, "TabSheet3"));
  logo.Add(b.Flag("CheckBox40"));
  QLineEdit* logoPicture = b.Text("LabeledEdit15");
  logo.Field(logoPicture, {}, {PicturePicker("Button27", logoPicture, false)});
  logo.Add(b.Flag("CheckBox13"));
  logo.Add(BuildLogoPreview(b));
  logo.End();

  QWidget* languagesTab = NewTab(tabs, "TabSheet13");
  Column languages(languagesTab);
  QListWidget* list = CheckList(b, "LanguageListView",
                                [&project](std::size_t i, bool on) { project.SetLanguageChecked(i, on); });
  languages.Add(list);
  auto* buttons = new QWidget;
  auto* row = new QHBoxLayout(buttons);
  QPushButton* all = NewButton("Button3", "+");
  QPushButton* none = NewButton("Button16", "-");
  row->addWidget(all);
  row->addWidget(none);
  row->addStretch(1);
  languages.Add(buttons);
  auto checkAll = [&b, &project](bool on) {
    for (std::size_t i = 0; i < project.installLanguages.size(); ++i) project.SetLanguageChecked(i, on);
    b.LoadAll();
    b.Edited("LanguageListView");
  };
  QObject::connect(all, &QPushButton::clicked, list, [checkAll] { checkAll(true); });
  QObject::connect(none, &QPushButton::clicked, list, [checkAll] { checkAll(false); });
  // Leaving the languages tab keeps at least one install language.
  QObject::connect(tabs, &QTabWidget::currentChanged, list, [&b, &project, tabs, languagesTab](int) {
    if (tabs->currentWidget() == languagesTab) return;
    const bool none = std::none_of(project.installLanguages.begin(), project.installLanguages.end(),
                                   [](const CheckItem& i) { return i.Checked; });
    if (!none) return;
    EnsureInstallLanguage(project, b.interfaceLanguage);
    b.LoadAll();
  });
  languages.End();

  Column icons(NewTab(tabs, "TabSheet22"));
  QLineEdit* setupIcon = b.Text("LabeledEdit11");
  icons.Field(setupIcon, {}, {IconPicker("Button21", setupIcon), IconPreview("Image3", setupIcon)});
  QLineEdit* uninstallIcon = b.Text("LabeledEdit17");
  icons.Field(uninstallIcon, {}, {IconPicker("Button20", uninstallIcon), IconPreview("Image4", uninstallIcon)});
  icons.End();
  return page;
}

QWidget* BuildProgramGroupSettings(SettingsBinder& b) {
  auto* box = new QWidget;
  Column c(box);
  QLineEdit* group = b.Text("LabeledEdit13");
  c.Field(group, {}, {VariableButton(b, "Button80", group)});
  c.Field(b.Index("ComboBox2", 2));
  c.Add(b.Flag("CheckBox42"));
  return box;
}

QWidget* BuildUninstallerPage(SettingsBinder& b) {
  QWidget* page = NewPage("Page13");
  Column c(page);
  c.Add(b.Flag("CheckBox11"));
  struct VariableField {
    const char* field;
    const char* button;
  };
  for (const VariableField& f : {VariableField{"LabeledEdit10", "Button74"},
                                 VariableField{"LabeledEdit22", "Button75"},
                                 VariableField{"LabeledEdit1", "Button102"},
                                 VariableField{"LabeledEdit3", "Button103"}}) {
    QLineEdit* edit = b.Text(f.field);
    c.Field(edit, {}, {VariableButton(b, f.button, edit)});
  }
  c.Add(b.Flag("CheckBox39"));
  QLineEdit* internetPage = b.Text("Edit9");
  c.Field(internetPage, {}, {VariableButton(b, "Button76", internetPage)});
  c.Add(b.Flag("CheckBox37"));
  QLineEdit* closeApp = b.Text("LabeledEdit9");
  c.Field(closeApp, {}, {VariableButton(b, "Button73", closeApp)});
  c.Field(b.Index("ComboBox10", 3));
  c.End();
  return page;
}

}  // namespace bvq::app
