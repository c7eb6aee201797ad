#include "app/page_rules.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <initializer_list>
#include <map>

#include "editors/qt_text.h"
#include "app/looks_previews.h"
#include "app/settings_binder.h"
#include "editors/entry_list_panel.h"
#include "project/project_session.h"

namespace bvq::app {
namespace {

void Enable(QWidget* root, std::initializer_list<const char*> names, bool on) {
  for (const char* name : names) {
    if (auto* w = root->findChild<QWidget*>(name)) {
      // An entry list goes with its buttons.
      if (auto* panel = qobject_cast<EntryListPanel*>(w->parentWidget())) w = panel;
      w->setEnabled(on);
    }
    // The caption label of a field follows its field.
    if (auto* label = root->findChild<QLabel*>(QString(name) + "Label")) label->setEnabled(on);
  }
}

// The field that takes the focus when its switch becomes checked.
const std::map<QString, const char*>& FocusOnCheck() {
  static const std::map<QString, const char*> m = {
      {"CheckBox4", "Edit7"},          {"CheckBox15", "Edit5"},         {"CheckBox24", "LabeledEdit20"},
      {"CheckBox7", "Edit2"},          {"CheckBox8", "Edit3"},          {"CheckBox17", "LabeledEdit7"},
      {"CheckBox36", "LabeledEdit8"},  {"CheckBox38", "ComboBox5"},     {"CheckBox5", "Edit6"},
      {"CheckBox39", "Edit9"},         {"CheckBox37", "LabeledEdit9"},  {"CheckBox26", "LabeledEdit14"},
      {"CheckBox40", "LabeledEdit15"}, {"CheckBox11", "LabeledEdit10"}, {"RadioButton8", "LabeledEdit27"},
  };
  return m;
}

}  // namespace

void ApplyPageRules(QWidget* root, const SettingsBinder& binder) {
  const Project& p = const_cast<SettingsBinder&>(binder).project();
  const bool silent = p.silentInstall;
  const bool restart = p.offerRestart;

  // Volume splitting.
  Enable(root, {"LabeledEdit25"}, p.splitting != 0);
  Enable(root, {"UpDown1", "ComboBox11"}, p.splitting == 4);

  // Requirements.
  Enable(root, {"LabeledEdit8", "ComboBox9", "Button84"}, p.installerClosesApp);
  Enable(root, {"ComboBox5", "CheckBox5"}, p.requireDotNet);
  Enable(root, {"Edit6"}, p.requireDotNet && p.openDotNetPage);

  // Silent installation disables every wizard option; a group whose switch is ticked is
  // enabled only while the installation is not silent.
  Enable(root, {"CheckBox41", "CheckBox42", "CheckBox44", "CheckBox45", "CheckBox46", "CheckBox47", "CheckBox48",
                "CheckBox49", "CheckBox4", "CheckBox15", "CheckBox24", "CheckBox9", "CheckBox26", "CheckBox1",
                "CheckBox10", "CheckBox40", "Button3", "Button16", "LanguageListView", "LabeledEdit6", "LabeledEdit16",
                "Button77", "Button78"},
         !silent);
  Enable(root, {"Edit7", "LicenseComboBox", "Button87", "Button89", "Label21", "Label28"}, p.showLicense && !silent);
  Enable(root, {"Edit5", "InfoComboBox", "Button88", "Button90", "Label29", "Label30"}, p.showInformation && !silent);
  Enable(root, {"LabeledEdit20", "CheckBox12", "CheckBox16"}, p.askPassword && !silent);

  // Restart excludes the other finish options; their check states stay.
  Enable(root, {"CheckBox7", "CheckBox8", "CheckBox17"}, !restart);
  Enable(root, {"Edit2", "CheckBox2", "Button81", "Button85"}, p.offerRunApp && !restart && !silent);
  Enable(root, {"Edit3", "CheckBox3", "Button82", "Button86"}, p.offerReadme && !restart && !silent);
  Enable(root, {"LabeledEdit7", "CheckBox14", "Button104"}, p.offerWebSite && !restart && !silent);

  // Background, header and logo.
  Enable(root, {"RadioButton6", "RadioButton8", "LabeledEdit19", "LabeledEdit28", "Button1", "Button17"},
         p.showBackground && !silent);
  Enable(root, {"ComboBox7", "ColorBtn1", "ColorBtn2"}, p.showBackground && p.backgroundIsGradient && !silent);
  Enable(root, {"LabeledEdit27", "ComboBox8", "Button11"}, p.showBackground && p.BackgroundIsPicture() && !silent);
  Enable(root, {"ColorBtn3", "ColorBtn4"}, p.headerGradient && !silent);
  Enable(root, {"LabeledEdit14", "CheckBox6", "Button25"}, p.showHeaderPicture && !silent);
  Enable(root, {"LabeledEdit15", "CheckBox13", "Button27"}, p.showLogo && !silent);
  ApplyLooksRules(root, p);

  // The uninstaller switch.
  const bool uninstaller = p.makeUninstaller;
  Enable(root, {"LabeledEdit10", "LabeledEdit22", "LabeledEdit1", "LabeledEdit3", "LabeledEdit17", "CheckBox37",
                "CheckBox39", "ListView6", "ListView7", "ListView9", "Button74", "Button75", "Button102", "Button103",
                "Button20"},
         uninstaller);
  Enable(root, {"LabeledEdit9", "ComboBox10", "Button73"}, uninstaller && p.uninstallerClosesApp);
  Enable(root, {"Edit9", "Button76"}, uninstaller && p.uninstallerOpensPage);

  // The password shows its characters only when asked to.
  if (auto* password = root->findChild<QLineEdit*>("LabeledEdit20"))
    password->setEchoMode(p.showPasswordTyped ? QLineEdit::Normal : QLineEdit::Password);
}

void AfterSettingEdited(QWidget* root, SettingsBinder& binder, ProjectSession& session, const QString& name) {
  Project& p = binder.project();
  auto* password = root->findChild<QLineEdit*>("LabeledEdit20");
  auto showPassword = [&] {
    if (password) binder.Silently([&] { password->setText(ToQ(p.password)); });
  };
  auto upper = [](const std::string& ansi) { return FromQ(ToQ(ansi).toUpper()); };
  if (name == "CheckBox16") {
    // Upper case remembers the spelling typed before, and gives it back when switched off
    // unless the password was changed in between.
    if (p.passwordUpperCase) {
      session.passwordMixedCase = p.password;
      p.password = upper(p.password);
    } else if (!session.passwordMixedCase.empty()) {
      p.password = session.passwordMixedCase;
    }
    showPassword();
  } else if (name == "LabeledEdit20") {
    if (p.passwordUpperCase && upper(p.password) != p.password) {
      const int cursor = password ? password->cursorPosition() : 0;
      p.password = upper(p.password);
      showPassword();
      if (password) password->setCursorPosition(cursor);
    }
    if (upper(p.password) != upper(session.passwordMixedCase)) session.passwordMixedCase.clear();
  }

  ApplyPageRules(root, binder);

  auto focus = FocusOnCheck().find(name);
  if (focus != FocusOnCheck().end()) {
    auto* master = root->findChild<QWidget*>(name);
    auto* field = root->findChild<QWidget*>(focus->second);
    const bool checked = master && master->property("checked").toBool();
    if (checked && field && field->isEnabled() && field->isVisible()) field->setFocus();
  }
}

}  // namespace bvq::app
