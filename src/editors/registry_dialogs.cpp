// The registry dialogs: a value to write (TAddRegForm) and a key or value to delete
// (TAddDelRegForm), each able to import registry patch files.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "editors/dialog_factories.h"
#include "editors/entry_dialog_parts.h"
#include "project/registry_entries.h"
#include "project/registry_names.h"

namespace bvq {

namespace {

constexpr const char* kRegistryPatchFilter = "Registry patches (*.reg);;All files (*)";

// A value to write (TAddRegForm).
class RegistryValueDialog : public EntryDialog {
 public:
  RegistryValueDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddRegForm") {
    root_ = AddCombo("Label1", "ComboBox1");
    subKey_ = AddEdit("LabeledEdit1");
    AddVariableButton("Button4", subKey_);
    valueName_ = AddEdit("LabeledEdit2");
    AddVariableButton("Button5", valueName_);
    type_ = AddCombo("Label2", "ComboBox2");
    data_ = AddEdit("LabeledEdit3");
    AddVariableButton("Button6", data_);
    overwrite_ = AddCheck("CheckBox1");
    uninstall_ = AddCheck("CheckBox2");
    QPushButton* import = MakeButton("Button3", "Import...");
    AddButtonRow("Button1", "Button2", import);
    FillCombo(root_, kRegistryRootNames);
    FillCombo(type_, kRegistryValueTypes);

    const RegistryValueFields f = ShowRegistryValueEntry(project_, Place());
    root_->setCurrentIndex(f.RootKey);
    SetText(subKey_, f.SubKey);
    SetText(valueName_, f.ValueName);
    type_->setCurrentIndex(f.Type);
    SetText(data_, f.Data);
    overwrite_->setChecked(f.Overwrite);
    uninstall_->setChecked(f.Uninstall);
    uninstall_->setEnabled(f.UninstallEnabled);
    import->setVisible(f.ImportVisible);
    connect(import, &QPushButton::clicked, this, [this] { Import(); });
    FinishSetup(subKey_);
  }

 protected:
  EntryOutcome Apply() override { return ApplyRegistryValueEntry(project_, Place(), Fields()); }

 private:
  RegistryValueFields Fields() const {
    RegistryValueFields f;
    f.RootKey = root_->currentIndex();
    f.SubKey = Text(subKey_);
    f.ValueName = Text(valueName_);
    f.Type = type_->currentIndex();
    f.Data = Text(data_);
    f.Overwrite = overwrite_->isChecked();
    f.Uninstall = uninstall_->isChecked();
    f.UninstallEnabled = uninstall_->isEnabled();
    return f;
  }

  void Import() {
    RunFileImport(this, kRegistryPatchFilter, [this](const std::vector<std::string>& files) {
      return ImportRegistryValueFiles(project_, files, Fields()).Problems;
    });
  }

  QComboBox *root_, *type_;
  QLineEdit *subKey_, *valueName_, *data_;
  QCheckBox *overwrite_, *uninstall_;
};

// A key or value to delete (TAddDelRegForm).
class RegistryDeletionDialog : public EntryDialog {
 public:
  RegistryDeletionDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddDelRegForm") {
    root_ = AddCombo("Label1", "ComboBox1");
    subKey_ = AddEdit("LabeledEdit1");
    AddVariableButton("Button19", subKey_);
    valueName_ = AddEdit("LabeledEdit2");
    AddVariableButton("Button3", valueName_);
    QPushButton* import = MakeButton("Button4", "Import...");
    AddButtonRow("Button1", "Button2", import);
    FillCombo(root_, kRegistryRootNames);

    const RegistryDeletionFields f = ShowRegistryDeletionEntry(project_, Place());
    root_->setCurrentIndex(f.RootKey);
    SetText(subKey_, f.SubKey);
    SetText(valueName_, f.ValueName);
    connect(import, &QPushButton::clicked, this, [this] { Import(); });
    FinishSetup(subKey_);
  }

 protected:
  EntryOutcome Apply() override {
    RegistryDeletionFields f;
    f.RootKey = root_->currentIndex();
    f.SubKey = Text(subKey_);
    f.ValueName = Text(valueName_);
    return ApplyRegistryDeletionEntry(project_, Place(), f);
  }

 private:
  void Import() {
    RunFileImport(this, kRegistryPatchFilter, [this](const std::vector<std::string>& files) {
      return ImportRegistryDeletionFiles(project_, files).Problems;
    });
  }

  QComboBox* root_;
  QLineEdit *subKey_, *valueName_;
};

}  // namespace

std::unique_ptr<EntryDialog> CreateRegistryValueDialog(QWidget* parent, Project& project, const std::string& caption, int row) {
  return std::make_unique<RegistryValueDialog>(parent, project, caption, row);
}

std::unique_ptr<EntryDialog> CreateRegistryDeletionDialog(QWidget* parent, Project& project, const std::string& caption, int row) {
  return std::make_unique<RegistryDeletionDialog>(parent, project, caption, row);
}

}  // namespace bvq
