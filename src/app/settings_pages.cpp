#include "app/settings_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editors/qt_text.h"
#include "app/app_dialogs.h"
#include "app/settings_binder.h"
#include "project/project_rules.h"
#include "util/paths.h"

namespace bvq::app {
namespace {

// A page or tab: a column of groups and rows. Edits get a caption label named
// "<edit>Label" (the interface language gives it its text).
class Column {
 public:
  explicit Column(QWidget* w) : layout_(new QVBoxLayout(w)) {}

  // A labelled field; `caption` is shown until the interface language names the label.
  template <class W>
  W* Field(W* field, const QString& caption = {}, QWidget* extra = nullptr) {
    auto* label = new QLabel(caption.isEmpty() ? field->objectName() : caption);
    label->setObjectName(field->objectName() + "Label");
    label->setBuddy(field);
    QWidget* shown = field;
    if (extra) {
      shown = new QWidget;
      auto* row = new QHBoxLayout(shown);
      row->setContentsMargins(0, 0, 0, 0);
      row->addWidget(field, 1);
      row->addWidget(extra);
    }
    Form()->addRow(label, shown);
    return field;
  }
  template <class W>
  W* Add(W* w) {
    if (form_) form_->addRow(w);
    else layout_->addWidget(w);
    return w;
  }
  // Starts a titled group; later rows go into it.
  void Group(const QString& title) {
    auto* box = new QGroupBox(title);
    layout_->addWidget(box);
    form_ = new QFormLayout(box);
  }
  void End() { layout_->addStretch(1); }

 private:
  QFormLayout* Form() {
    if (!form_) {
      auto* holder = new QWidget;
      form_ = new QFormLayout(holder);
      form_->setContentsMargins(0, 0, 0, 0);
      layout_->addWidget(holder);
    }
    return form_;
  }
  QVBoxLayout* layout_;
  QFormLayout* form_ = nullptr;
};

QWidget* NewPage(const char* name) {
  auto* page = new QWidget;
  page->setObjectName(name);
  return page;
}

QWidget* NewTab(QTabWidget* tabs, const char* name) {
  auto* tab = new QWidget;
  tab->setObjectName(name);
  tabs->addTab(tab, name);
  return tab;
}

QPushButton* NewButton(const char* name, const QString& text) {
  auto* button = new QPushButton(text);
  button->setObjectName(name);
  return button;
}

// A check-box list bound to one of the project's item lists.
QListWidget* CheckList(SettingsBinder& b, const char* name, std::vector<CheckItem> Project::*member,
                       std::function<void(std::size_t, bool)> setChecked) {
  auto* list = new QListWidget;
  list->setObjectName(name);
  Project& project = b.project();
  QObject::connect(list, &QListWidget::itemChanged, list, [&b, list, setChecked](QListWidgetItem* item) {
    if (b.Loading()) return;
    const int row = list->row(item);
    if (row < 0) return;
    setChecked(static_cast<std::size_t>(row), item->checkState() == Qt::Checked);
    // Checking a language changes the licence and information lists beside it.
    b.LoadAll();
    b.Edited(list->objectName());
  });
  b.AddLoader([&project, list, member] {
    const auto& items = project.*member;
    if (list->count() != static_cast<int>(items.size())) {
      list->clear();
      for (const CheckItem& item : items) {
        auto* row = new QListWidgetItem(ToQ(item.Caption), list);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
      }
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
      QListWidgetItem* row = list->item(static_cast<int>(i));
      row->setText(ToQ(items[i].Caption));
      row->setCheckState(items[i].Checked ? Qt::Checked : Qt::Unchecked);
    }
  });
  return list;
}

// The combo box of the licence or information files per language and the edit showing the
// selected entry.
void FilePerLanguage(SettingsBinder& b, Column& c, const char* comboName, const char* editName, bool licence) {
  Project& project = b.project();
  auto* combo = new QComboBox;
  combo->setObjectName(comboName);
  auto* edit = new QLineEdit;
  edit->setObjectName(editName);
  QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [&b, &project, edit, licence](int index) {
    if (b.Loading() || index < 0) return;
    (licence ? project.LicenseComboIndex : project.InfoComboIndex) = index;
    b.Silently([&] { edit->setText(ToQ(licence ? project.Edit7() : project.Edit5())); });
  });
  QObject::connect(edit, &QLineEdit::textChanged, edit, [&b, &project, edit, licence](const QString& text) {
    if (b.Loading()) return;
    if (licence) project.SetEdit7(FromQ(text));
    else project.SetEdit5(FromQ(text));
    b.Edited(edit->objectName());
  });
  b.AddLoader([&project, combo, edit, licence] {
    QStringList items;
    for (const std::string& caption : project.LicenseComboItems()) items << ToQ(caption);
    if (!items.isEmpty() && !IString(7).isEmpty()) items[0] = IString(7);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(licence ? project.LicenseComboIndex : project.InfoComboIndex);
    edit->setText(ToQ(licence ? project.Edit7() : project.Edit5()));
  });
  c.Field(combo, comboName);
  c.Field(edit, editName);
}

}  // namespace

QWidget* BuildProductPage(SettingsBinder& b) {
  QWidget* page = NewPage("Page1");
  Column c(page);
  c.Field(b.Text("LabeledEdit2", &Project::LabeledEdit2));
  c.Field(b.Text("LabeledEdit29", &Project::LabeledEdit29));
  c.Field(b.Text("LabeledEdit4", &Project::LabeledEdit4));
  c.Field(b.Text("Edit8", &Project::Edit8), "Web site:");
  c.Field(b.Text("Edit1", &Project::Edit1), "Support:");
  QLineEdit* setup = b.Text("LabeledEdit5", &Project::LabeledEdit5);
  QPushButton* pick = NewButton("Button19", "...");
  QObject::connect(pick, &QPushButton::clicked, setup, [setup] {
    const QString chosen = Dialogs().saveFile(setup->window(), QString(), QString::fromStdString(NativePath(FromQ(setup->text()))),
                                              QStringLiteral("Executable files (*.exe)"));
    if (!chosen.isEmpty()) setup->setText(chosen);
  });
  c.Field(setup, {}, pick);
  c.Field(b.Index("ComboBox1", &Project::ComboBox1, 3), "Compression:");
  c.Field(b.Index("ComboBox4", &Project::ComboBox4, 5), "Splitting:");
  c.Field(b.Text("LabeledEdit25", &Project::LabeledEdit25));
  // Edit4 with its spin button UpDown1: 0..32767, digits only.
  QSpinBox* size = b.Number("UpDown1", &Project::UpDown1, 0, 32767);
  QComboBox* unit = b.Index("ComboBox11", &Project::ComboBox11, 4);
  const char* units[] = {"Bytes", "Kb", "Mb", "Gb"};
  for (int i = 0; i < 4; ++i) unit->setItemText(i, units[i]);
  c.Field(size, "Volume size:", unit);
  c.End();
  return page;
}

QWidget* BuildRequirementsPage(SettingsBinder& b) {
  QWidget* page = NewPage("Page3");
  Column c(page);
  Project& project = b.project();
  c.Add(CheckList(b, "VersionsListView", &Project::VersionsListView,
                  [&project](std::size_t i, bool on) { project.VersionsListView[i].Checked = on; }));
  c.Add(b.Flag("CheckBox25", &Project::CheckBox25));
  c.Add(b.Flag("CheckBox38", &Project::CheckBox38));
  c.Field(b.Index("ComboBox5", &Project::ComboBox5, 12), ".NET Framework:");
  c.Add(b.Flag("CheckBox5", &Project::CheckBox5));
  c.Field(b.Text("Edit6", &Project::Edit6), "Address:");
  c.Add(b.Flag("CheckBox36", &Project::CheckBox36));
  c.Field(b.Text("LabeledEdit8", &Project::LabeledEdit8));
  c.Field(b.Index("ComboBox9", &Project::ComboBox9, 3), "Found by:");
  c.End();
  return page;
}

QWidget* BuildWizardPage(SettingsBinder& b) {
  QWidget* page = NewPage("Page4");
  auto* tabs = new QTabWidget;
  tabs->setObjectName("PageControl5");
  (new QVBoxLayout(page))->addWidget(tabs);

  Column general(NewTab(tabs, "TabSheet10"));
  general.Field(b.Text("LabeledEdit6", &Project::LabeledEdit6));
  general.Field(b.Text("LabeledEdit16", &Project::LabeledEdit16));
  general.Field(b.Text("Edit10", &Project::Edit10), "Install folder name:");
  general.Field(b.Text("LabeledEdit12", &Project::LabeledEdit12));
  general.Add(b.Flag("CheckBox41", &Project::CheckBox41));
  general.Add(b.Flag("CheckBox43", &Project::CheckBox43));
  general.Group(QString());
  general.Add(b.Flag("CheckBox44", &Project::CheckBox44));
  general.Add(b.Flag("CheckBox45", &Project::CheckBox45));
  general.Add(b.Flag("CheckBox46", &Project::CheckBox46));
  general.Add(b.Flag("CheckBox47", &Project::CheckBox47));
  general.Add(b.Flag("CheckBox48", &Project::CheckBox48));
  general.Add(b.Flag("CheckBox49", &Project::CheckBox49));
  general.End();

  Column texts(NewTab(tabs, "TabSheet2"));
  texts.Add(b.Flag("CheckBox4", &Project::CheckBox4));
  FilePerLanguage(b, texts, "LicenseComboBox", "Edit7", true);
  texts.Add(b.Flag("CheckBox15", &Project::CheckBox15));
  FilePerLanguage(b, texts, "InfoComboBox", "Edit5", false);
  texts.End();

  Column password(NewTab(tabs, "TabSheet19"));
  password.Add(b.Flag("CheckBox24", &Project::CheckBox24));
  password.Field(b.Text("LabeledEdit20", &Project::LabeledEdit20));
  password.Add(b.Flag("CheckBox12", &Project::CheckBox12));
  password.Add(b.Flag("CheckBox16", &Project::CheckBox16));
  password.End();

  Column finish(NewTab(tabs, "TabSheet18"));
  finish.Add(b.Flag("CheckBox7", &Project::CheckBox7));
  finish.Field(b.Text("Edit2", &Project::Edit2), "Application:");
  finish.Add(b.Flag("CheckBox2", &Project::CheckBox2));
  finish.Add(b.Flag("CheckBox8", &Project::CheckBox8));
  finish.Field(b.Text("Edit3", &Project::Edit3), "Readme file:");
  finish.Add(b.Flag("CheckBox3", &Project::CheckBox3));
  finish.Add(b.Flag("CheckBox17", &Project::CheckBox17));
  finish.Field(b.Text("LabeledEdit7", &Project::LabeledEdit7));
  finish.Add(b.Flag("CheckBox14", &Project::CheckBox14));
  finish.Add(b.Flag("CheckBox9", &Project::CheckBox9));
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
  background.Add(b.Flag("CheckBox1", &Project::CheckBox1));
  background.Add(b.Choice("RadioButton6", &Project::RadioButton6, true));
  background.Field(b.Index("ComboBox7", &Project::ComboBox7, 2), "Direction:");
  background.Add(b.Choice("RadioButton8", &Project::RadioButton6, false));
  background.Field(b.Text("LabeledEdit27", &Project::LabeledEdit27));
  background.Field(b.Index("ComboBox8", &Project::ComboBox8, 3), "Placement:");
  background.Field(b.Text("LabeledEdit19", &Project::LabeledEdit19));
  background.Field(b.Text("LabeledEdit28", &Project::LabeledEdit28));
  background.End();

  Column header(NewTab(tabs, "TabSheet7"));
  header.Add(b.Flag("CheckBox26", &Project::CheckBox26));
  header.Field(b.Text("LabeledEdit14", &Project::LabeledEdit14));
  header.Add(b.Flag("CheckBox6", &Project::CheckBox6));
  header.Add(b.Flag("CheckBox10", &Project::CheckBox10));
  header.End();

  Column logo(NewTab(tabs, "TabSheet3"));
  logo.Add(b.Flag("CheckBox40", &Project::CheckBox40));
  logo.Field(b.Text("LabeledEdit15", &Project::LabeledEdit15));
  logo.Add(b.Flag("CheckBox13", &Project::CheckBox13));
  logo.End();

  QWidget* languagesTab = NewTab(tabs, "TabSheet13");
  Column languages(languagesTab);
  QListWidget* list = CheckList(b, "LanguageListView", &Project::LanguageListView,
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
    for (std::size_t i = 0; i < project.LanguageListView.size(); ++i) project.SetLanguageChecked(i, on);
    b.LoadAll();
    b.Edited("LanguageListView");
  };
  QObject::connect(all, &QPushButton::clicked, list, [checkAll] { checkAll(true); });
  QObject::connect(none, &QPushButton::clicked, list, [checkAll] { checkAll(false); });
  // Leaving the languages tab keeps at least one install language.
  QObject::connect(tabs, &QTabWidget::currentChanged, list, [&b, &project, tabs, languagesTab](int) {
    if (tabs->currentWidget() == languagesTab) return;
    const bool none = std::none_of(project.LanguageListView.begin(), project.LanguageListView.end(),
                                   [](const CheckItem& i) { return i.Checked; });
    if (!none) return;
    EnsureInstallLanguage(project, b.interfaceLanguage);
    b.LoadAll();
  });
  languages.End();

  Column icons(NewTab(tabs, "TabSheet22"));
  icons.Field(b.Text("LabeledEdit11", &Project::LabeledEdit11));
  icons.Field(b.Text("LabeledEdit17", &Project::LabeledEdit17));
  icons.End();
  return page;
}

QWidget* BuildProgramGroupSettings(SettingsBinder& b) {
  auto* box = new QWidget;
  Column c(box);
  c.Field(b.Text("LabeledEdit13", &Project::LabeledEdit13));
  c.Field(b.Index("ComboBox2", &Project::ComboBox2, 2), "Place:");
  c.Add(b.Flag("CheckBox42", &Project::CheckBox42));
  return box;
}

QWidget* BuildUninstallerPage(SettingsBinder& b) {
  QWidget* page = NewPage("Page13");
  Column c(page);
  c.Add(b.Flag("CheckBox11", &Project::CheckBox11));
  c.Field(b.Text("LabeledEdit10", &Project::LabeledEdit10));
  c.Field(b.Text("LabeledEdit22", &Project::LabeledEdit22));
  c.Field(b.Text("LabeledEdit1", &Project::LabeledEdit1));
  c.Field(b.Text("LabeledEdit3", &Project::LabeledEdit3));
  c.Add(b.Flag("CheckBox39", &Project::CheckBox39));
  c.Field(b.Text("Edit9", &Project::Edit9), "Internet page:");
  c.Add(b.Flag("CheckBox37", &Project::CheckBox37));
  c.Field(b.Text("LabeledEdit9", &Project::LabeledEdit9));
  c.Field(b.Index("ComboBox10", &Project::ComboBox10, 3), "Found by:");
  c.End();
  return page;
}

}  // namespace bvq::app
