#include "app/settings_binder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QApplication>
#include <QKeyEvent>
#include <QSpinBox>
#include <stdexcept>

#include "editors/qt_text.h"

namespace bvq::app {

namespace {

template <typename T>
struct Binding {
  const char* objectName;
  T Project::*member;
};

// Line edits.
constexpr Binding<std::string> kTexts[] = {
    {"LabeledEdit2",  &Project::productName},
    {"LabeledEdit29", &Project::productVersion},
    {"LabeledEdit4",  &Project::companyName},
    {"Edit8",         &Project::productWebSite},
    {"Edit1",         &Project::supportContact},
    {"LabeledEdit5",  &Project::setupFile},
    {"LabeledEdit25", &Project::volumeFileName},
    {"Edit6",         &Project::dotNetPageAddress},
    {"LabeledEdit8",  &Project::installerCloseAppText},
    {"LabeledEdit6",  &Project::installerTitle},
    {"LabeledEdit16", &Project::installerBottomText},
    {"Edit10",        &Project::installFolderName},
    {"LabeledEdit12", &Project::installFolderPath},
    {"LabeledEdit20", &Project::password},
    {"Edit2",         &Project::runAppFile},
    {"Edit3",         &Project::readmeFile},
    {"LabeledEdit7",  &Project::finishWebSite},
    {"LabeledEdit27", &Project::backgroundPicture},
    {"LabeledEdit19", &Project::backgroundTitle},
    {"LabeledEdit28", &Project::backgroundCompany},
    {"LabeledEdit14", &Project::headerPicture},
    {"LabeledEdit15", &Project::logoPicture},
    {"LabeledEdit11", &Project::installerIcon},
    {"LabeledEdit17", &Project::uninstallerIcon},
    {"LabeledEdit13", &Project::programGroup},
    {"Edit9",         &Project::uninstallerPageAddress},
    {"LabeledEdit9",  &Project::uninstallerCloseAppText},
    {"LabeledEdit10", &Project::uninstallName},
    {"LabeledEdit22", &Project::uninstallerTitle},
    {"LabeledEdit1",  &Project::uninstallerFile},
    {"LabeledEdit3",  &Project::uninstallLogFile},
};

// Check boxes.
constexpr Binding<bool> kFlags[] = {
    {"CheckBox25", &Project::requireAdmin},
    {"CheckBox38", &Project::requireDotNet},
    {"CheckBox5",  &Project::openDotNetPage},
    {"CheckBox36", &Project::installerClosesApp},
    {"CheckBox41", &Project::lockInstallFolder},
    {"CheckBox43", &Project::silentInstall},
    {"CheckBox44", &Project::showWelcomePage},
    {"CheckBox45", &Project::showInstallFolderPage},
    {"CheckBox46", &Project::showProgramGroupPage},
    {"CheckBox47", &Project::showShortcutsPage},
    {"CheckBox48", &Project::showReadyPage},
    {"CheckBox49", &Project::showFinishPage},
    {"CheckBox4",  &Project::showLicense},
    {"CheckBox15", &Project::showInformation},
    {"CheckBox24", &Project::askPassword},
    {"CheckBox12", &Project::showPasswordTyped},
    {"CheckBox16", &Project::passwordUpperCase},
    {"CheckBox7",  &Project::offerRunApp},
    {"CheckBox2",  &Project::runAppTicked},
    {"CheckBox8",  &Project::offerReadme},
    {"CheckBox3",  &Project::readmeTicked},
    {"CheckBox17", &Project::offerWebSite},
    {"CheckBox14", &Project::webSiteTicked},
    {"CheckBox9",  &Project::offerRestart},
    {"CheckBox1",  &Project::showBackground},
    {"CheckBox26", &Project::showHeaderPicture},
    {"CheckBox6",  &Project::headerPictureTransparent},
    {"CheckBox10", &Project::headerGradient},
    {"CheckBox40", &Project::showLogo},
    {"CheckBox13", &Project::logoPictureTransparent},
    {"CheckBox42", &Project::lockProgramGroup},
    {"CheckBox11", &Project::makeUninstaller},
    {"CheckBox39", &Project::uninstallerOpensPage},
    {"CheckBox37", &Project::uninstallerClosesApp},
};

// Combo boxes (item index) and the volume size spin box.
constexpr Binding<int> kNumbers[] = {
    {"ComboBox1",  &Project::compression},
    {"ComboBox4",  &Project::splitting},
    {"UpDown1",    &Project::volumeSize},
    {"ComboBox11", &Project::volumeSizeUnit},
    {"ComboBox5",  &Project::dotNetVersion},
    {"ComboBox9",  &Project::installerCloseAppMatch},
    {"ComboBox7",  &Project::backgroundGradientDirection},
    {"ComboBox8",  &Project::backgroundPicturePlacement},
    {"ComboBox2",  &Project::programGroupPlace},
    {"ComboBox10", &Project::uninstallerCloseAppMatch},
};

// Colour buttons.
constexpr Binding<uint32_t> kColors[] = {
    {"ColorBtn1", &Project::backgroundGradientStart},
    {"ColorBtn2", &Project::backgroundGradientEnd},
    {"ColorBtn3", &Project::headerGradientStart},
    {"ColorBtn4", &Project::headerGradientEnd},
};

// Font buttons.
constexpr Binding<FontSetting> kFonts[] = {
    {"Button1",  &Project::backgroundTitleFont},
    {"Button17", &Project::backgroundCompanyFont},
};

// Check-box lists.
constexpr Binding<std::vector<CheckItem>> kCheckLists[] = {
    {"VersionsListView", &Project::supportedSystems},
    {"LanguageListView", &Project::installLanguages},
};

// Radio buttons: checked while the flag has the button's value.
constexpr ChoiceBinding kChoices[] = {
    {"RadioButton6", &Project::backgroundIsGradient, true},
    {"RadioButton8", &Project::backgroundIsGradient, false},
};

template <typename T, std::size_t N>
T Project::*Find(const Binding<T> (&table)[N], std::string_view objectName) {
  for (const Binding<T>& binding : table)
    if (objectName == binding.objectName) return binding.member;
  throw std::logic_error("no setting is bound to the widget " + std::string(objectName));
}

}  // namespace

std::string Project::*TextSetting(std::string_view objectName) { return Find(kTexts, objectName); }
bool Project::*FlagSetting(std::string_view objectName) { return Find(kFlags, objectName); }
int Project::*NumberSetting(std::string_view objectName) { return Find(kNumbers, objectName); }
uint32_t Project::*ColorSetting(std::string_view objectName) { return Find(kColors, objectName); }
FontSetting Project::*FontSettingOf(std::string_view objectName) { return Find(kFonts, objectName); }
std::vector<CheckItem> Project::*CheckListSetting(std::string_view objectName) {
  return Find(kCheckLists, objectName);
}
const ChoiceBinding& ChoiceSetting(std::string_view objectName) {
  for (const ChoiceBinding& choice : kChoices)
    if (objectName == choice.objectName) return choice;
  throw std::logic_error("no setting is bound to the radio button " + std::string(objectName));
}

SettingsBinder::SettingsBinder(Project& project, QObject* parent) : QObject(parent), project_(project) {}

void SettingsBinder::Edited(const QString& name) {
  if (Loading()) return;
  project_.MarkModified();
  if (afterEdit) afterEdit(name);
}

void SettingsBinder::Silently(const std::function<void()>& f) {
  ++loading_;
  f();
  --loading_;
}

QLineEdit* SettingsBinder::Text(const char* name) {
  std::string Project::*member = TextSetting(name);
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  const QString objectName = edit->objectName();
  connect(edit, &QLineEdit::textChanged, this, [this, member, objectName](const QString& text) {
    if (Loading()) return;
    project_.*member = FromQ(text);
    Edited(objectName);
  });
  AddLoader([this, edit, member] {
    // Rewriting an unchanged text would move the cursor of the field being edited.
    const QString shown = ToQ(project_.*member);
    if (edit->text() != shown) edit->setText(shown);
  });
  return edit;
}

QCheckBox* SettingsBinder::Flag(const char* name) {
  bool Project::*member = FlagSetting(name);
  auto* box = new QCheckBox;
  box->setObjectName(name);
  const QString objectName = box->objectName();
  connect(box, &QCheckBox::toggled, this, [this, member, objectName](bool checked) {
    if (Loading()) return;
    project_.*member = checked;
    Edited(objectName);
  });
  AddLoader([this, box, member] { box->setChecked(project_.*member); });
  return box;
}

QRadioButton* SettingsBinder::Choice(const char* name) {
  const ChoiceBinding& choice = ChoiceSetting(name);
  bool Project::*member = choice.member;
  const bool whenChecked = choice.whenChecked;
  auto* radio = new QRadioButton;
  radio->setObjectName(name);
  const QString objectName = radio->objectName();
  connect(radio, &QRadioButton::toggled, this, [this, member, whenChecked, objectName](bool checked) {
    if (Loading() || !checked) return;
    project_.*member = whenChecked;
    Edited(objectName);
  });
  AddLoader([this, radio, member, whenChecked] { radio->setChecked(project_.*member == whenChecked); });
  return radio;
}

QComboBox* SettingsBinder::Index(const char* name, int itemCount) {
  int Project::*member = NumberSetting(name);
  auto* combo = new QComboBox;
  combo->setObjectName(name);
  for (int i = 0; i < itemCount; ++i) combo->addItem(QString::number(i));
  const QString objectName = combo->objectName();
  connect(combo, &QComboBox::currentIndexChanged, this, [this, member, objectName](int index) {
    if (Loading() || index < 0) return;
    project_.*member = index;
    Edited(objectName);
  });
  AddLoader([this, combo, member] {
    const int index = project_.*member;
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
  });
  return combo;
}

namespace {

// A number field that takes digits only (anything else beeps) and turns a typed or pasted
// number above its maximum into the maximum; the arrow keys leave the value alone.
class CappedSpinBox : public QSpinBox {
 protected:
  QValidator::State validate(QString& input, int& pos) const override {
    if (input.isEmpty()) return QValidator::Intermediate;
    for (QChar c : input)
      if (!c.isDigit() || c.unicode() > '9') return QValidator::Invalid;
    bool ok = false;
    const qlonglong value = input.toLongLong(&ok);
    if (!ok || value > maximum()) {
      input = QString::number(maximum());
      pos = static_cast<int>(input.size());
    }
    return QValidator::Acceptable;
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_PageUp ||
        event->key() == Qt::Key_PageDown) {
      event->ignore();
      return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text[0].isPrint() && !(text[0] >= '0' && text[0] <= '9')) {
      QApplication::beep();
      return;
    }
    QSpinBox::keyPressEvent(event);
  }
};

}  // namespace

QSpinBox* SettingsBinder::Number(const char* name, int minimum, int maximum) {
  int Project::*member = NumberSetting(name);
  auto* spin = new CappedSpinBox;
  spin->setObjectName(name);
  spin->setRange(minimum, maximum);
  spin->setGroupSeparatorShown(false);
  const QString objectName = spin->objectName();
  connect(spin, &QSpinBox::valueChanged, this, [this, member, objectName](int value) {
    if (Loading()) return;
    project_.*member = value;
    Edited(objectName);
  });
  AddLoader([this, spin, member] { spin->setValue(project_.*member); });
  return spin;
}

void SettingsBinder::AddLoader(std::function<void()> load) { loaders_.push_back(std::move(load)); }

void SettingsBinder::LoadAll() {
  ++loading_;
  for (const auto& load : loaders_) load();
  --loading_;
}

}  // namespace bvq::app
