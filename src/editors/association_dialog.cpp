// The file association dialog (TAddExpForm), add only: an extension, the program that opens
// it, its parameters, description and icon; OK adds the registry rows of the association.
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <cstdlib>

#include "editors/entry_dialog_parts.h"
#include "editors/entry_dialogs.h"
#include "project/association_entries.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"

namespace bvq {

namespace {

class AssociationDialog : public EntryDialog {
 public:
  AssociationDialog(QWidget* parent, Project& project)
      : EntryDialog(parent, project, InterfaceString(kTextFileAssociation), -1, "AddExpForm") {
    extension_ = AddEdit("LabeledEdit1");
    program_ = AddEdit("LabeledEdit2");
    QPushButton* pickProgram = AddPickerButton("Button8", program_);
    AddVariableButton("Button3", program_);
    parameters_ = AddEdit("LabeledEdit3");
    AddVariableButton("Button4", parameters_);
    description_ = AddEdit("LabeledEdit4");
    AddVariableButton("Button5", description_);
    icon_ = AddEdit("LabeledEdit5");
    QPushButton* pickIcon = AddPickerButton("Button6", icon_);
    AddVariableButton("Button7", icon_);
    iconIndex_ = new QSpinBox(this);
    iconIndex_->setObjectName("Edit1");
    iconIndex_->setRange(0, 32767);
    SideBox(icon_)->addWidget(iconIndex_);
    AddButtonRow("Button1", "Button2");

    const AssociationFields f;
    SetText(parameters_, f.Parameters);
    iconIndex_->setValue(std::atoi(f.IconIndex.c_str()));
    ConnectSinglePicker(this, pickProgram, program_, project_);
    ConnectSinglePicker(this, pickIcon, icon_, project_);
    FinishSetup(extension_);
  }

  std::function<void()> BeforeRows;

 protected:
  EntryOutcome Apply() override {
    AssociationFields f;
    f.Extension = Text(extension_);
    f.Program = Text(program_);
    f.Parameters = Text(parameters_);
    f.Description = Text(description_);
    f.IconFile = Text(icon_);
    f.IconIndex = FromQ(iconIndex_->text());
    // The registry page comes forward before its rows are added (only once they will be).
    if (BeforeRows && !f.Extension.empty() && !f.Program.empty()) {
      BeforeRows();
      PauseAfterImport();
    }
    return ApplyAssociation(project_, f);
  }

 private:
  QLineEdit *extension_, *program_, *parameters_, *description_, *icon_;
  QSpinBox* iconIndex_;
};

}  // namespace

std::unique_ptr<EntryDialog> CreateAssociationDialog(QWidget* parent, Project& project) {
  return std::make_unique<AssociationDialog>(parent, project);
}

void RunAssociationAction(QWidget* parent, Project& project, const std::function<void()>& showRegistryPage) {
  auto dialog = std::make_unique<AssociationDialog>(parent, project);
  dialog->BeforeRows = showRegistryPage;
  dialog->exec();
  dialog.reset();
  project.MarkModified();
}

}  // namespace bvq
