#include "editors/entry_dialog_base.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/app_dialogs.h"
#include "editors/qt_text.h"
#include "editors/variable_menu_popup.h"
#include "editors/window_texts.h"

namespace bvq {

namespace {
const char* kSideBoxProperty = "sideBox";
const char* kGridRowProperty = "gridRow";
// Columns of the field grid: every picker button and every variable button of a dialog share
// one column each, so they line up under one another whatever else a row holds.
enum GridColumn { kLabelColumn, kFieldColumn, kPickerColumn, kVariableColumn, kSideColumn };
}

EntryDialog::EntryDialog(QWidget* parent, Project& project, const std::string& caption, int row,
                         const char* formName)
    : QDialog(parent), project_(project), row_(row), formName_(formName) {
  setObjectName(QString("T") + formName);
  setWindowTitle(ToQ(caption));
  setModal(true);
  outer_ = new QVBoxLayout(this);
  grid_ = new QGridLayout;
  grid_->setColumnStretch(kFieldColumn, 1);
  outer_->addLayout(grid_);
}

EntryMode EntryDialog::Mode() const { return EntryModeOfCaption(FromQ(windowTitle())); }

EntryPlace EntryDialog::Place() const {
  return Mode() == EntryMode::Edit ? EntryPlace::Edit(row_) : EntryPlace::Add();
}

void EntryDialog::Ok() {
  outcome_ = Apply();
  if (outcome_.Accepted) {
    accept();
    return;
  }
  if (!outcome_.Focus.empty()) TrySetFocus(this, outcome_.Focus);
  if (!outcome_.Warning.empty()) ShowWarning(this, ToQ(outcome_.Warning));
}

void EntryDialog::FinishSetup(QWidget* firstFocus) {
  ApplyWindowTexts(this, formName_);
  CaretToEnd(this);
  if (firstFocus) firstFocus->setFocus(Qt::OtherFocusReason);
  setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

QLineEdit* EntryDialog::AddEdit(const char* name) {
  auto* label = new QLabel(this);
  label->setObjectName(QString(name) + "Label");
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  label->setBuddy(edit);
  auto* side = new QHBoxLayout;
  side->setSpacing(2);
  grid_->addWidget(label, nextRow_, kLabelColumn);
  grid_->addWidget(edit, nextRow_, kFieldColumn);
  grid_->addLayout(side, nextRow_, kSideColumn);
  edit->setProperty(kSideBoxProperty, QVariant::fromValue(static_cast<void*>(side)));
  edit->setProperty(kGridRowProperty, nextRow_);
  ++nextRow_;
  return edit;
}

QHBoxLayout* EntryDialog::SideBox(QLineEdit* field) const {
  return static_cast<QHBoxLayout*>(field->property(kSideBoxProperty).value<void*>());
}

QComboBox* EntryDialog::AddCombo(const char* labelName, const char* name) {
  auto* label = new QLabel(this);
  label->setObjectName(labelName);
  auto* combo = new QComboBox(this);
  combo->setObjectName(name);
  label->setBuddy(combo);
  grid_->addWidget(label, nextRow_, kLabelColumn);
  grid_->addWidget(combo, nextRow_, kFieldColumn);
  ++nextRow_;
  return combo;
}

QCheckBox* EntryDialog::AddCheck(const char* name) {
  auto* check = new QCheckBox(this);
  check->setObjectName(name);
  grid_->addWidget(check, nextRow_, kFieldColumn, 1, -1);
  ++nextRow_;
  return check;
}

QPushButton* EntryDialog::MakeButton(const char* name, const QString& text) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QPushButton* EntryDialog::AddVariableButton(const char* name, QLineEdit* field) {
  QPushButton* button = MakeButton(name, "%");
  button->setProperty("imageButton", true);
  button->setFixedWidth(28);
  button->setFocusPolicy(Qt::NoFocus);
  grid_->addWidget(button, field->property(kGridRowProperty).toInt(), kVariableColumn);
  connect(button, &QPushButton::clicked, this, [this, field] { ShowVariableMenu(field, project_.registryVariables); });
  return button;
}

QPushButton* EntryDialog::AddPickerButton(const char* name, QLineEdit* field) {
  QPushButton* button = MakeButton(name, "...");
  button->setProperty("imageButton", true);
  button->setFixedWidth(28);
  grid_->addWidget(button, field->property(kGridRowProperty).toInt(), kPickerColumn);
  return button;
}

void EntryDialog::AddButtonRow(const char* okName, const char* cancelName, QPushButton* extra) {
  auto* row = new QHBoxLayout;
  if (extra) row->addWidget(extra);
  row->addStretch(1);
  QPushButton* ok = MakeButton(okName, "OK");
  ok->setDefault(true);
  ok->setAutoDefault(true);
  QPushButton* cancel = MakeButton(cancelName, "Cancel");
  row->addWidget(ok);
  row->addWidget(cancel);
  outer_->addStretch(1);
  outer_->addLayout(row);
  connect(ok, &QPushButton::clicked, this, &EntryDialog::Ok);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CaretToEnd(QWidget* w) {
  for (QLineEdit* edit : w->findChildren<QLineEdit*>()) edit->setCursorPosition(static_cast<int>(edit->text().size()));
}

void TrySetFocus(QWidget* window, const std::string& name) {
  QWidget* control = window->findChild<QWidget*>(QString::fromStdString(name));
  if (control && control->isEnabled() && control->focusPolicy() != Qt::NoFocus) control->setFocus(Qt::OtherFocusReason);
}

void ShowWarning(QWidget* parent, const QString& text) {
  ShowMessage(parent, QMessageBox::Warning, QStringLiteral("Belvandorithquessal"), text);
}

}  // namespace bvq
