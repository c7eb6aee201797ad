#pragma once
// What the entry dialogs share: the mode carried by the caption, a column of labelled fields
// with their variable and picker buttons, OK and Cancel, and what OK does with the outcome of
// the core rule (accept; or focus the named control; or warn) .
#include <QDialog>
#include <QString>
#include <string>

#include "project/entry_dialog.h"
#include "project/project.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace bvq {

class EntryDialog : public QDialog {
  Q_OBJECT
 public:
  // `caption` is interface string 82 or 85 for the list dialogs; `row` the selected row that
  // edit mode shows and overwrites. `section` names the dialog's section of the language file.
  EntryDialog(QWidget* parent, Project& project, const std::string& caption, int row, const char* formName);

  // Edit mode exactly when the caption is interface string 85.
  EntryMode Mode() const;
  EntryPlace Place() const;

  // The last outcome of OK (for callers and tests).
  const EntryOutcome& LastOutcome() const { return outcome_; }

 public slots:
  // Runs the core rule; closes on success, otherwise focuses the named control or warns.
  void Ok();

 protected:
  // The dialog's OK rule: collect the fields, call the core, return its outcome.
  virtual EntryOutcome Apply() = 0;
  // Called after construction by the creator: fill the fields, caret to the end, first focus.
  // Applies the language section first.
  void FinishSetup(QWidget* firstFocus);

  // Building blocks. Each adds one row to the field grid.
  QLineEdit* AddEdit(const char* name);
  QComboBox* AddCombo(const char* labelName, const char* name);
  QCheckBox* AddCheck(const char* name);
  // A button beside `field`, in the dialog's column of picker or of variable buttons.
  QPushButton* AddVariableButton(const char* name, QLineEdit* field);
  QPushButton* AddPickerButton(const char* name, QLineEdit* field);
  // OK and Cancel at the bottom, named as the dialog's design names them; `extra` a button
  // left of them (import), or nullptr.
  void AddButtonRow(const char* okName, const char* cancelName, QPushButton* extra = nullptr);
  QPushButton* MakeButton(const char* name, const QString& text);
  QGridLayout* Grid() const { return grid_; }
  // The box right of the buttons of `field`'s row, for any further control of that row.
  QHBoxLayout* SideBox(QLineEdit* field) const;

  Project& project_;
  int row_;
  std::string formName_;

 private:
  QVBoxLayout* outer_;
  QGridLayout* grid_;
  int nextRow_ = 0;
  EntryOutcome outcome_;
};

// Moves the caret of every line edit of `w` to the end of its text.
void CaretToEnd(QWidget* w);
// Focuses the child named `name` when it can take the focus.
void TrySetFocus(QWidget* window, const std::string& name);
// A warning box captioned with the product name.
void ShowWarning(QWidget* parent, const QString& text);

}  // namespace bvq
