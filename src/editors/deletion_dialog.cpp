// The deletion entry dialog (TAddDelObjForm): a file or folder the uninstaller deletes.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editors/dialog_factories.h"
#include "editors/entry_dialog_parts.h"
#include "project/deletion_entries.h"

namespace bvq {

namespace {

class DeletionDialog : public EntryDialog {
 public:
  DeletionDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddDelObjForm") {
    kind_ = AddCombo("Label1", "ComboBox1");
    path_ = AddEdit("LabeledEdit1");
    QPushButton* pick = AddPickerButton("Button2", path_);
    AddVariableButton("Button19", path_);
    AddButtonRow("Button1", "Button3");
    FillCombo(kind_, DeletionKindItems());

    const DeletionFields f = ShowDeletionEntry(project_, Place());
    kind_->setCurrentIndex(f.Kind);
    SetText(path_, f.Path);
    ConnectSinglePicker(this, pick, path_, project_);
    connect(kind_, &QComboBox::currentIndexChanged, this, [this] { UpdatePathLabel(); });
    FinishSetup(path_);
    UpdatePathLabel();
  }

 protected:
  EntryOutcome Apply() override { return ApplyDeletionEntry(project_, Place(), DeletionFields{kind_->currentIndex(), Text(path_)}); }

 private:
  void UpdatePathLabel() {
    if (auto* label = findChild<QLabel*>("LabeledEdit1Label")) label->setText(ToQ(DeletionPathLabel(kind_->currentIndex())));
  }

  QComboBox* kind_;
  QLineEdit* path_;
};

}  // namespace

std::unique_ptr<EntryDialog> CreateDeletionDialog(QWidget* parent, Project& project, const std::string& caption, int row) {
  return std::make_unique<DeletionDialog>(parent, project, caption, row);
}

}  // namespace bvq
