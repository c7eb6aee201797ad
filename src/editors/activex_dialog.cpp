// The ActiveX entry dialog (TAddRegFileForm): a file the installer registers.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "editors/dialog_factories.h"
#include "editors/entry_dialog_parts.h"
#include "editors/entry_dialogs.h"
#include "project/activex_entries.h"

namespace bvq {

namespace {

class ActiveXDialog : public EntryDialog {
 public:
  ActiveXDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddRegFileForm") {
    file_ = AddEdit("LabeledEdit1");
    QPushButton* pick = AddPickerButton("Button3", file_);
    AddVariableButton("Button5", file_);
    unregister_ = AddCheck("CheckBox1");
    AddButtonRow("Button1", "Button2");

    const ActiveXFields f = ShowActiveXEntry(project_, Place());
    SetText(file_, f.File);
    unregister_->setChecked(f.Unregister);
    unregister_->setEnabled(f.UnregisterEnabled);
    connect(pick, &QPushButton::clicked, this, [this] {
      const ProjectFilePick picked = ExecProjectFilePicker(this, project_, true);
      if (!picked.SelectedProjectFiles.empty()) SetText(file_, ActiveXPickedText(picked.SelectedProjectFiles));
      file_->setFocus(Qt::OtherFocusReason);
    });
    FinishSetup(file_);
  }

 protected:
  EntryOutcome Apply() override {
    ActiveXFields f;
    f.File = Text(file_);
    f.Unregister = unregister_->isChecked();
    f.UnregisterEnabled = unregister_->isEnabled();
    return ApplyActiveXEntry(project_, Place(), f);
  }

 private:
  QLineEdit* file_;
  QCheckBox* unregister_;
};

}  // namespace

std::unique_ptr<EntryDialog> CreateActiveXDialog(QWidget* parent, Project& project, const std::string& caption, int row) {
  return std::make_unique<ActiveXDialog>(parent, project, caption, row);
}

}  // namespace bvq
