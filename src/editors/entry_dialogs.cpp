// The entry dialogs of the shortcut, registry, INI, command, ActiveX, font, variable and
// deletion lists, the association dialog, and the factory that opens the right one per list.
#include "editors/entry_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "editors/dialog_factories.h"
#include "editors/qt_text.h"
#include "project/activex_entries.h"
#include "project/association_entries.h"
#include "project/command_entries.h"
#include "project/deletion_entries.h"
#include "project/font_entries.h"
#include "project/ini_entries.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/registry_entries.h"
#include "project/registry_names.h"
#include "project/shortcut_entries.h"
#include "project/user_variables.h"

namespace bvq {

namespace {

std::function<void(const QString&)>& LoadStatusHandler() {
  static std::function<void(const QString&)> handler;
  return handler;
}

void ShowLoadStatus(const QString& text) {
  if (LoadStatusHandler()) LoadStatusHandler()(text);
}

void FillCombo(QComboBox* combo, const std::vector<std::string>& items) {
  combo->clear();
  for (const std::string& item : items) combo->addItem(ToQ(item));
}

template <std::size_t N>
void FillCombo(QComboBox* combo, const std::array<std::string_view, N>& items) {
  combo->clear();
  for (std::string_view item : items) combo->addItem(ToQ(std::string(item)));
}

std::string Text(const QLineEdit* edit) { return FromQ(edit->text()); }
void SetText(QLineEdit* edit, const std::string& text) { edit->setText(ToQ(text)); }

// Lets the window repaint and pauses briefly, so the author sees the import end.
void PauseAfterImport() {
  QCoreApplication::processEvents();
  QEventLoop loop;
  QTimer::singleShot(100, &loop, &QEventLoop::quit);
  loop.exec();
}

// The end of an import: "Load OK", a short pause, the panel cleared, problems reported.
void FinishImport(QWidget* dialog, const std::vector<std::string>& problems) {
  ShowLoadStatus(QStringLiteral("Load OK"));
  PauseAfterImport();
  ShowLoadStatus(QString());
  if (!problems.empty()) {
    QStringList lines;
    for (const std::string& p : problems) lines << DiskToQ(p);
    ShowWarning(dialog->parentWidget(), lines.join('\n'));
  }
}

// A picker button in single mode: a picked path goes into the field; the field takes the focus.
void ConnectSinglePicker(EntryDialog* dialog, QPushButton* button, QLineEdit* field, const Project& project,
                         std::function<void(const std::string&)> onPick = {}) {
  QObject::connect(button, &QPushButton::clicked, dialog, [dialog, field, &project, onPick] {
    const ProjectFilePick pick = ExecProjectFilePicker(dialog, project, false);
    if (onPick) {
      onPick(pick.SelectedProjectFile);
    } else if (!pick.SelectedProjectFile.empty()) {
      SetText(field, pick.SelectedProjectFile);
    }
    field->setFocus(Qt::OtherFocusReason);
  });
}

// --- Shortcut (TAddLinkForm) ---

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

// --- Registry value (TAddRegForm) ---

class RegistryValueDialog : public EntryDialog {
 public:
  RegistryValueDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddRegForm") {
    root_ = AddCombo("Label1", "ComboBox1");
    subKey_ = AddEdit("LabeledEdit1");
    AddVariableButton("Button4", subKey_);
    valueName_ = AddEdit("LabeledEdit2");
    AddVariableButton("Button5", valueName_);
    type_ = AddCombo("Label2", "ComboBox2");
    data_ = AddEdit("LabeledEdit3");
    AddVariableButton("Button6", data_);
    overwrite_ = AddCheck("CheckBox1");
    uninstall_ = AddCheck("CheckBox2");
    QPushButton* import = MakeButton("Button3", "Import...");
    AddButtonRow("Button1", "Button2", import);
    FillCombo(root_, kRegistryRootNames);
    FillCombo(type_, kRegistryValueTypes);

    const RegistryValueFields f = ShowRegistryValueEntry(project_, Place());
    root_->setCurrentIndex(f.RootKey);
    SetText(subKey_, f.SubKey);
    SetText(valueName_, f.ValueName);
    type_->setCurrentIndex(f.Type);
    SetText(data_, f.Data);
    overwrite_->setChecked(f.Overwrite);
    uninstall_->setChecked(f.Uninstall);
    uninstall_->setEnabled(f.UninstallEnabled);
    import->setVisible(f.ImportVisible);
    connect(import, &QPushButton::clicked, this, [this] { Import(); });
    FinishSetup(subKey_);
  }

 protected:
  EntryOutcome Apply() override { return ApplyRegistryValueEntry(project_, Place(), Fields()); }

 private:
  RegistryValueFields Fields() const {
    RegistryValueFields f;
    f.RootKey = root_->currentIndex();
    f.SubKey = Text(subKey_);
    f.ValueName = Text(valueName_);
    f.Type = type_->currentIndex();
    f.Data = Text(data_);
    f.Overwrite = overwrite_->isChecked();
    f.Uninstall = uninstall_->isChecked();
    f.UninstallEnabled = uninstall_->isEnabled();
    return f;
  }

  void Import() {
    const QStringList files = QFileDialog::getOpenFileNames(this, QString(), QString(),
                                                            QStringLiteral("Registry patches (*.reg);;All files (*)"));
    if (files.isEmpty()) return;
    hide();
    QCoreApplication::processEvents();
    ShowLoadStatus(QStringLiteral("Load..."));
    const RegFilesImport result = ImportRegistryValueFiles(project_, QListToDisk(files), Fields());
    FinishImport(this, result.Problems);
    accept();
  }

  QComboBox *root_, *type_;
  QLineEdit *subKey_, *valueName_, *data_;
  QCheckBox *overwrite_, *uninstall_;
};

// --- Registry deletion (TAddDelRegForm) ---

class RegistryDeletionDialog : public EntryDialog {
 public:
  RegistryDeletionDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddDelRegForm") {
    root_ = AddCombo("Label1", "ComboBox1");
    subKey_ = AddEdit("LabeledEdit1");
    AddVariableButton("Button19", subKey_);
    valueName_ = AddEdit("LabeledEdit2");
    AddVariableButton("Button3", valueName_);
    QPushButton* import = MakeButton("Button4", "Import...");
    AddButtonRow("Button1", "Button2", import);
    FillCombo(root_, kRegistryRootNames);

    const RegistryDeletionFields f = ShowRegistryDeletionEntry(project_, Place());
    root_->setCurrentIndex(f.RootKey);
    SetText(subKey_, f.SubKey);
    SetText(valueName_, f.ValueName);
    connect(import, &QPushButton::clicked, this, [this] { Import(); });
    FinishSetup(subKey_);
  }

 protected:
  EntryOutcome Apply() override {
    RegistryDeletionFields f;
    f.RootKey = root_->currentIndex();
    f.SubKey = Text(subKey_);
    f.ValueName = Text(valueName_);
    return ApplyRegistryDeletionEntry(project_, Place(), f);
  }

 private:
  void Import() {
    const QStringList files = QFileDialog::getOpenFileNames(this, QString(), QString(),
                                                            QStringLiteral("Registry patches (*.reg);;All files (*)"));
    if (files.isEmpty()) return;
    hide();
    QCoreApplication::processEvents();
    ShowLoadStatus(QStringLiteral("Load..."));
    const RegFilesImport result = ImportRegistryDeletionFiles(project_, QListToDisk(files));
    FinishImport(this, result.Problems);
    accept();
  }

  QComboBox* root_;
  QLineEdit *subKey_, *valueName_;
};

// --- INI entry (TAddIniForm) ---

class IniDialog : public EntryDialog {
 public:
  IniDialog(QWidget* parent, Project& project, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddIniForm") {
    file_ = AddEdit("LabeledEdit3");
    AddVariableButton("Button2", file_);
    section_ = AddEdit("LabeledEdit1");
    AddVariableButton("Button3", section_);
    key_ = AddEdit("LabeledEdit2");
    AddVariableButton("Button4", key_);
    value_ = AddEdit("LabeledEdit4");
    AddVariableButton("Button5", value_);
    overwrite_ = AddCheck("CheckBox1");
    uninstall_ = AddCheck("CheckBox2");
    QPushButton* import = MakeButton("Button1", "Import...");
    AddButtonRow("Button38", "SpeedButton1", import);

    const IniFields f = ShowIniEntry(project_, Place());
    SetText(file_, f.File);
    SetText(section_, f.Section);
    SetText(key_, f.Key);
    SetText(value_, f.Value);
    overwrite_->setChecked(f.Overwrite);
    uninstall_->setChecked(f.Uninstall);
    uninstall_->setEnabled(f.UninstallEnabled);
    import->setVisible(f.ImportVisible);
    connect(import, &QPushButton::clicked, this, [this] { Import(); });
    FinishSetup(file_);
  }

 protected:
  EntryOutcome Apply() override { return ApplyIniEntry(project_, Place(), Fields()); }

 private:
  IniFields Fields() const {
    IniFields f;
    f.File = Text(file_);
    f.Section = Text(section_);
    f.Key = Text(key_);
    f.Value = Text(value_);
    f.Overwrite = overwrite_->isChecked();
    f.Uninstall = uninstall_->isChecked();
    f.UninstallEnabled = uninstall_->isEnabled();
    return f;
  }

  void Import() {
    const QStringList files =
        QFileDialog::getOpenFileNames(this, QString(), QString(), QStringLiteral("INI files (*.ini);;All files (*)"));
    if (files.isEmpty()) return;
    hide();
    QCoreApplication::processEvents();
    ShowLoadStatus(QStringLiteral("Load..."));
    const IniFilesImport result = ImportIniFiles(project_, QListToDisk(files), Fields());
    FinishImport(this, result.Unreadable);
    accept();
  }

  QLineEdit *file_, *section_, *key_, *value_;
  QCheckBox *overwrite_, *uninstall_;
};

// --- Command (TAddCmdForm), for the installer's or the uninstaller's list ---

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

// --- ActiveX file (TAddRegFileForm) ---

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

// --- Font (TAddFontForm) ---

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

// --- Uninstall deletion (TAddDelObjForm) ---

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

// --- User variable (TAddVarForm) ---

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

// --- File association (TAddExpForm), add only ---

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

std::unique_ptr<EntryDialog> CreateEntryDialog(QWidget* parent, Project& project, FileHandOver& handOver,
                                               int listNumber, EntryMode mode, int row) {
  const std::string& caption = EntryDialogCaption(mode);
  switch (listNumber) {
    case 1: return std::make_unique<ShortcutDialog>(parent, project, caption, row);
    case 2: return std::make_unique<RegistryValueDialog>(parent, project, caption, row);
    case 3: return CreateFileEntryDialog(parent, project, handOver, caption, row);
    case 4: return std::make_unique<CommandDialog>(parent, project, CommandList::Install, caption, row);
    case 5: return std::make_unique<IniDialog>(parent, project, caption, row);
    case 6: return std::make_unique<CommandDialog>(parent, project, CommandList::Uninstall, caption, row);
    case 7: return std::make_unique<DeletionDialog>(parent, project, caption, row);
    case 8: return std::make_unique<ActiveXDialog>(parent, project, caption, row);
    case 9: return std::make_unique<RegistryDeletionDialog>(parent, project, caption, row);
    case 10: return std::make_unique<VariableDialog>(parent, project, caption, row);
    case 11: return std::make_unique<FontDialog>(parent, project, caption, row);
    default: return nullptr;
  }
}

bool ExecEntryDialog(QWidget* parent, Project& project, FileHandOver& handOver, int listNumber, EntryMode mode,
                     int row) {
  std::unique_ptr<EntryDialog> dialog = CreateEntryDialog(parent, project, handOver, listNumber, mode, row);
  return dialog && dialog->exec() == QDialog::Accepted;
}

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

void SetLoadStatusHandler(std::function<void(const QString&)> handler) { LoadStatusHandler() = std::move(handler); }

}  // namespace bvq
