// The INI entry dialog (TAddIniForm): file, section, key and value, with the import of INI files.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "editors/dialog_factories.h"
#include "editors/entry_dialog_parts.h"
#include "project/ini_entries.h"

namespace bvq {

namespace {

class IniDialog : public EntryDialog {
 public:
  IniDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddIniForm") {
    file_ = AddEdit("LabeledEdit3");
    AddVariableButton("Button2", file_);
    section_ = AddEdit("LabeledEdit1");
    AddVariableButton("Button3", section_);
    key_ = AddEdit("LabeledEdit2");
    AddVariableButton("Button4", key_);
    value_ = AddEdit("LabeledEdit4");
    AddVariableButton("Button5", value_);
    overwrite_ = AddCheck("CheckBox1");
    uninstall_ = AddCheck("CheckBox2");
    QPushButton* import = MakeButton("Button1", "Import...");
    AddButtonRow("Button38", "SpeedButton1", import);

    const IniFields f = ShowIniEntry(project_, Place());
    SetText(file_, f.File);
    SetText(section_, f.Section);
    SetText(key_, f.Key);
    SetText(value_, f.Value);
    overwrite_->setChecked(f.Overwrite);
    uninstall_->setChecked(f.Uninstall);
    uninstall_->setEnabled(f.UninstallEnabled);
    import->setVisible(f.ImportVisible);
    connect(import, &QPushButton::clicked, this, [this] { Import(); });
    FinishSetup(file_);
  }

 protected:
  EntryOutcome Apply() override { return ApplyIniEntry(project_, Place(), Fields()); }

 private:
  IniFields Fields() const {
    IniFields f;
    f.File = Text(file_);
    f.Section = Text(section_);
    f.Key = Text(key_);
    f.Value = Text(value_);
    f.Overwrite = overwrite_->isChecked();
    f.Uninstall = uninstall_->isChecked();
    f.UninstallEnabled = uninstall_->isEnabled();
    return f;
  }

  void Import() {
    RunFileImport(this, "INI files (*.ini);;All files (*)", [this](const std::vector<std::string>& files) {
      return ImportIniFiles(project_, files, Fields()).Unreadable;
    });
  }

  QLineEdit *file_, *section_, *key_, *value_;
  QCheckBox *overwrite_, *uninstall_;
};

}  // namespace

std::unique_ptr<EntryDialog> CreateIniDialog(QWidget* parent, Project& project, const std::string& caption, int row) {
  return std::make_unique<IniDialog>(parent, project, caption, row);
}

}  // namespace bvq
