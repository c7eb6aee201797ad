// The user variable dialog (TAddVarForm): a variable read from the registry, with its default.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "editors/dialog_factories.h"
#include "editors/entry_dialog_parts.h"
#include "project/registry_names.h"
#include "project/user_variables.h"

namespace bvq {

namespace {

class VariableDialog : public EntryDialog {
 public:
  VariableDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddVarForm") {
    name_ = AddEdit("LabeledEdit1");
    root_ = AddCombo("Label1", "ComboBox1");
    subKey_ = AddEdit("LabeledEdit2");
    AddVariableButton("Button1", subKey_);
    valueName_ = AddEdit("LabeledEdit3");
    AddVariableButton("Button2", valueName_);
    default_ = AddEdit("LabeledEdit4");
    AddVariableButton("Button3", default_);
    AddButtonRow("Button38", "SpeedButton1");
    FillCombo(root_, kRegistryRootNames);

    const VariableFields f = ShowVariableEntry(project_, Place());
    SetText(name_, f.Name);
    root_->setCurrentIndex(f.RootKey);
    SetText(subKey_, f.SubKey);
    SetText(valueName_, f.ValueName);
    SetText(default_, f.Default);
    FinishSetup(name_);
  }

 protected:
  EntryOutcome Apply() override {
    VariableFields f{Text(name_), root_->currentIndex(), Text(subKey_), Text(valueName_), Text(default_)};
    EntryOutcome outcome = ApplyVariableEntry(project_, Place(), f);
    SetText(name_, f.Name);  // the name as completed with its "%" signs
    return outcome;
  }

 private:
  QLineEdit *name_, *subKey_, *valueName_, *default_;
  QComboBox* root_;
};

}  // namespace

std::unique_ptr<EntryDialog> CreateVariableDialog(QWidget* parent, Project& project, const std::string& caption, int row) {
  return std::make_unique<VariableDialog>(parent, project, caption, row);
}

}  // namespace bvq
