// The command entry dialog (TAddCmdForm) of the installer's or the uninstaller's command list.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "editors/dialog_factories.h"
#include "editors/entry_dialog_parts.h"
#include "project/command_entries.h"

namespace bvq {

namespace {

class CommandDialog : public EntryDialog {
 public:
  CommandDialog(QWidget* parent, Project& project, CommandList which, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddCmdForm"), which_(which) {
    type_ = AddCombo("Label1", "ComboBox1");
    command_ = AddEdit("LabeledEdit1");
    QPushButton* pick = AddPickerButton("Button2", command_);
    AddVariableButton("Button19", command_);
    parameters_ = AddEdit("LabeledEdit2");
    window_ = AddCombo("Label2", "ComboBox2");
    when_ = AddCombo("Label3", "ComboBox3");
    wait_ = AddCheck("CheckBox1");
    AddButtonRow("Button38", "SpeedButton1");
    FillCombo(type_, CommandTypeItems());
    FillCombo(window_, CommandWindowItems());
    FillCombo(when_, CommandWhenItems(which_));

    const CommandFields f = ShowCommandEntry(project_, which_, Place());
    type_->setCurrentIndex(f.Type);
    SetText(command_, f.Command);
    SetText(parameters_, f.Parameters);
    window_->setCurrentIndex(f.Window);
    when_->setCurrentIndex(f.When);
    wait_->setChecked(f.Wait);
    ConnectSinglePicker(this, pick, command_, project_);
    FinishSetup(command_);
  }

 protected:
  EntryOutcome Apply() override {
    CommandFields f;
    f.Type = type_->currentIndex();
    f.Command = Text(command_);
    f.Parameters = Text(parameters_);
    f.Window = window_->currentIndex();
    f.When = when_->currentIndex();
    f.Wait = wait_->isChecked();
    return ApplyCommandEntry(project_, which_, Place(), f);
  }

 private:
  CommandList which_;
  QComboBox *type_, *window_, *when_;
  QLineEdit *command_, *parameters_;
  QCheckBox* wait_;
};

}  // namespace

std::unique_ptr<EntryDialog> CreateCommandDialog(QWidget* parent, Project& project, CommandList which, const std::string& caption, int row) {
  return std::make_unique<CommandDialog>(parent, project, which, caption, row);
}

}  // namespace bvq
