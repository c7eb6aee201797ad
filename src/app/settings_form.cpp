#include "app/settings_form.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editors/app_dialogs.h"
#include "app/window_icons.h"
#include "editors/qt_text.h"
#include "editors/window_texts.h"
#include "platform/settings_store.h"
#include "platform/work_folder.h"
#include "project/interface_text_ids.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/program_values.h"

namespace bvq::app {

TSettingsForm::TSettingsForm(const std::string& settingsPath, QWidget* parent)
    : QDialog(parent), settingsPath_(settingsPath) {
  setObjectName("SettingsForm");
  setWindowIcon(WindowIcon(WindowIconKind::Options));
  setWindowTitle(IString(kTextOptions));
  auto* grid = new QGridLayout(this);
  auto* label = new QLabel;
  label->setObjectName("Label1");
  folder_ = new QLineEdit(DiskToQ(WorkFolder()));
  folder_->setObjectName("Edit1");
  auto* browse = new QPushButton("...");
  browse->setObjectName("Button3");
  openLast_ = new QCheckBox;
  openLast_->setObjectName("CheckBox1");
  openLast_->setChecked(
      SettingsStore::Open(settingsPath_).GetBool(SettingsStore::kMainSection, "OpenLastProject").value_or(false));
  auto* signLabel = new QLabel;
  signLabel->setObjectName("Label2");
  signCommand_ = new QLineEdit(DiskToQ(SignCommand()));
  signCommand_->setObjectName("Edit2");
  signCommand_->setPlaceholderText("osslsigncode sign -pkcs12 cert.p12 -in {file} -out {file}.signed && mv {file}.signed {file}");
  signCommand_->setMinimumWidth(420);
  auto* ok = new QPushButton;
  ok->setObjectName("Button1");
  ok->setDefault(true);
  auto* cancel = new QPushButton;
  cancel->setObjectName("Button2");
  grid->addWidget(label, 0, 0);
  grid->addWidget(folder_, 0, 1);
  grid->addWidget(browse, 0, 2);
  grid->addWidget(openLast_, 1, 0, 1, 3);
  grid->addWidget(signLabel, 2, 0, 1, 3);
  grid->addWidget(signCommand_, 3, 0, 1, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 4, 0, 1, 3);
  ApplyWindowTexts(this, "SettingsForm");

  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen = QFileDialog::getExistingDirectory(this, IString(kTextSelectWorkFolder), folder_->text());
    if (!chosen.isEmpty()) folder_->setText(DiskToQ(IncludeTrailingSeparator(QToDisk(chosen))));
  });
  connect(ok, &QPushButton::clicked, this, &TSettingsForm::Confirm);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  folder_->setFocus();
}

void TSettingsForm::Confirm() {
  const std::string folder = QToDisk(folder_->text());
  if (!DirectoryExists(folder)) {
    folder_->setFocus();
    return;
  }
  const Outcome<std::string> prepared = PrepareWorkFolder(IncludeTrailingSeparator(folder));
  if (!prepared) {
    // A folder another account owns, or a link, is refused as a working folder.
    ShowMessage(this, QMessageBox::Warning, windowTitle(), DiskToQ(prepared.error()));
    folder_->setFocus();
    return;
  }
  SetWorkFolder(*prepared);
  SettingsStore store = SettingsStore::Open(settingsPath_);
  store.SetString(SettingsStore::kMainSection, "TempDir", *prepared);
  store.SetBool(SettingsStore::kMainSection, "OpenLastProject", openLast_->isChecked());
  const std::string signCommand = QToDisk(signCommand_->text());
  store.SetString(SettingsStore::kMainSection, "SignCommand", signCommand);
  if (Status saved = store.Save(); !saved) {
    ShowMessage(this, QMessageBox::Warning, windowTitle(), DiskToQ(saved.error));
    return;
  }
  SetSignCommand(signCommand);
  accept();
}

}  // namespace bvq::app
