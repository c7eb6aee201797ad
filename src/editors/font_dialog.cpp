// The font entry dialog (TAddFontForm): a font file the installer installs, with its name.
#include <QLineEdit>
#include <QPushButton>

#include "editors/dialog_factories.h"
#include "editors/entry_dialog_parts.h"
#include "project/font_entries.h"

namespace bvq {

namespace {

class FontDialog : public EntryDialog {
 public:
  FontDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddFontForm") {
    name_ = AddEdit("LabeledEdit1");
    file_ = AddEdit("LabeledEdit2");
    QPushButton* pick = AddPickerButton("Button4", file_);
    AddVariableButton("Button3", file_);
    AddButtonRow("Button1", "Button2");

    const FontFields f = ShowFontEntry(project_, Place());
    SetText(name_, f.Name);
    SetText(file_, f.File);
    ConnectSinglePicker(this, pick, file_, project_, [this](const std::string& picked) {
      FontFields fields = Fields();
      PickFontFile(project_, fields, picked);
      SetText(name_, fields.Name);
      SetText(file_, fields.File);
    });
    FinishSetup(name_);
  }

 protected:
  EntryOutcome Apply() override { return ApplyFontEntry(project_, Place(), Fields()); }

 private:
  FontFields Fields() const { return FontFields{Text(name_), Text(file_)}; }

  QLineEdit *name_, *file_;
};

}  // namespace

std::unique_ptr<EntryDialog> CreateFontDialog(QWidget* parent, Project& project, const std::string& caption, int row) {
  return std::make_unique<FontDialog>(parent, project, caption, row);
}

}  // namespace bvq
