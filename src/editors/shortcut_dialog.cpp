// The shortcut entry dialog (TAddLinkForm): place, name, target, parameters, working folder,
// comment and icon of a shortcut the installer creates.
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "editors/dialog_factories.h"
#include "editors/entry_dialog_parts.h"
#include "project/shortcut_entries.h"

namespace bvq {

namespace {

class ShortcutDialog : public EntryDialog {
 public:
  ShortcutDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddLinkForm") {
    place_ = AddCombo("Label1", "ComboBox1");
    name_ = AddEdit("LabeledEdit1");
    AddVariableButton("Button19", name_);
    target_ = AddEdit("LabeledEdit2");
    QPushButton* pickTarget = AddPickerButton("Button3", target_);
    AddVariableButton("Button5", target_);
    parameters_ = AddEdit("LabeledEdit4");
    AddVariableButton("Button6", parameters_);
    folder_ = AddEdit("LabeledEdit6");
    AddVariableButton("Button9", folder_);
    comment_ = AddEdit("LabeledEdit5");
    AddVariableButton("Button7", comment_);
    icon_ = AddEdit("LabeledEdit3");
    QPushButton* pickIcon = AddPickerButton("Button8", icon_);
    AddVariableButton("Button4", icon_);
    iconIndex_ = new QSpinBox(this);
    iconIndex_->setObjectName("Edit1");
    iconIndex_->setRange(0, kMaxShortcutIconIndex);
    SideBox(icon_)->addWidget(iconIndex_);
    AddButtonRow("Button1", "Button2");
    FillCombo(place_, ShortcutPlaceItems());

    const ShortcutFields f = ShowShortcutEntry(project_, Place());
    place_->setCurrentIndex(f.Place);
    SetText(name_, f.Name);
    SetText(target_, f.Target);
    SetText(parameters_, f.Parameters);
    SetText(folder_, f.WorkingFolder);
    SetText(comment_, f.Comment);
    SetText(icon_, f.IconFile);
    iconIndex_->setValue(f.IconIndex);

    ConnectSinglePicker(this, pickTarget, target_, project_);
    ConnectSinglePicker(this, pickIcon, icon_, project_);
    connect(name_, &QLineEdit::textChanged, this, [this] { UpdateHints(); });
    connect(place_, &QComboBox::currentIndexChanged, this, [this] { UpdateHints(); });
    connect(target_, &QLineEdit::textChanged, this, [this] { UpdateHints(); });
    UpdateHints();
    FinishSetup(name_);
  }

 protected:
  EntryOutcome Apply() override {
    ShortcutFields f;
    f.Place = place_->currentIndex();
    f.Name = Text(name_);
    f.Target = Text(target_);
    f.Parameters = Text(parameters_);
    f.WorkingFolder = Text(folder_);
    f.Comment = Text(comment_);
    f.IconFile = Text(icon_);
    f.IconIndex = iconIndex_->value();
    return ApplyShortcutEntry(project_, Place(), f);
  }

 private:
  void UpdateHints() {
    name_->setToolTip(ToQ(ShortcutNameHint(project_, place_->currentIndex(), Text(name_))));
    target_->setToolTip(ToQ(ShortcutTargetHint(project_, Text(target_))));
  }

  QComboBox* place_;
  QLineEdit *name_, *target_, *parameters_, *folder_, *comment_, *icon_;
  QSpinBox* iconIndex_;
};

}  // namespace

std::unique_ptr<EntryDialog> CreateShortcutDialog(QWidget* parent, Project& project, const std::string& caption, int row) {
  return std::make_unique<ShortcutDialog>(parent, project, caption, row);
}

}  // namespace bvq
