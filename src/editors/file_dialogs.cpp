// The file list's dialogs: the file entry dialog (TAddFileForm), the folder import dialog
// (TAddFilesListForm), the project-file picker (TSelectFileForm), and dropped files.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editors/app_dialogs.h"
#include "editors/dialog_factories.h"
#include "editors/entry_dialog_parts.h"
#include "editors/entry_dialogs.h"
#include "editors/qt_text.h"
#include "editors/variable_menu_popup.h"
#include "editors/window_texts.h"
#include "project/dropped_files.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"

namespace bvq {

namespace {

// The one column of the folder import list and of the picker is this much narrower than the list.
constexpr int kColumnMargin = 36;

// A one-column list whose column follows the list's width.
class OneColumnList : public QTreeWidget {
 public:
  explicit OneColumnList(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QTreeWidget::resizeEvent(event);
    setColumnWidth(0, std::max(0, width() - kColumnMargin));
  }
};

// --- File entry dialog ---

class FileEntryDialog : public EntryDialog {
 public:
  FileEntryDialog(QWidget* parent, Project& project, FileHandOver& handOver, const std::string& caption, int row)
      : EntryDialog(parent, project, caption, row, "AddFileForm") {
    source_ = AddEdit("LabeledEdit1");
    QPushButton* browse = AddPickerButton("Button3", source_);
    target_ = AddEdit("LabeledEdit2");
    AddVariableButton("Button4", target_);
    ifExists_ = AddCombo("Label1", "ComboBox1");
    uninstall_ = AddCheck("CheckBox1");
    AddButtonRow("Button1", "Button2");
    FillCombo(ifExists_, IfExistsItems());

    Show(ShowFileEntry(project_, Place(), handOver));
    connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(source_, &QLineEdit::textChanged, this, [this] { UpdateTargetLabel(); });
    FinishSetup(source_);
    UpdateTargetLabel();
  }

 protected:
  EntryOutcome Apply() override { return ApplyFileEntry(project_, Place(), Fields()); }

 private:
  FileEntryFields Fields() const {
    FileEntryFields f;
    f.Source = FromQ(source_->text());
    f.Destination = FromQ(target_->text());
    f.IfExists = ifExists_->currentIndex();
    f.Uninstall = uninstall_->isChecked();
    f.UninstallEnabled = uninstall_->isEnabled();
    return f;
  }

  void Show(const FileEntryFields& f) {
    source_->setText(ToQ(f.Source));
    target_->setText(ToQ(f.Destination));
    ifExists_->setCurrentIndex(f.IfExists);
    uninstall_->setChecked(f.Uninstall);
    uninstall_->setEnabled(f.UninstallEnabled);
  }

  void UpdateTargetLabel() {
    if (auto* label = findChild<QLabel*>("LabeledEdit2Label")) label->setText(ToQ(FileDestinationLabel(FromQ(source_->text()))));
  }

  void Browse() {
    // Links are taken as the files they are, not followed.
    const QString filter = QStringLiteral("All files (*)");
    const QStringList picked = Dialogs().openFiles(this, filter, Mode() == EntryMode::Add, true);
    FileEntryFields f = Fields();
    const bool focusTarget = BrowsedSources(f, QListToAnsi(picked));
    Show(f);
    if (focusTarget) target_->setFocus(Qt::OtherFocusReason);
  }

  QLineEdit* source_;
  QLineEdit* target_;
  QComboBox* ifExists_;
  QCheckBox* uninstall_;
};

// --- Folder import dialog ---

class FolderImportDialog : public QDialog {
 public:
  FolderImportDialog(QWidget* parent, Project& project, FileHandOver& handOver)
      : QDialog(parent), project_(project), handOver_(handOver) {
    setObjectName("TAddFilesListForm");
    setWindowTitle(ToQ(InterfaceString(kTextAddFilesFromFolder)));
    setMinimumSize(300, 200);
    list_ = new OneColumnList(this);
    list_->setObjectName("FileListView");
    list_->setHeaderLabels({ToQ(InterfaceString(kTextImportDestination))});
    list_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* folderLabel = new QLabel(this);
    folderLabel->setObjectName("Label1");
    folder_ = new QLineEdit(this);
    folder_->setObjectName("Edit1");
    auto* variables = new QPushButton("%", this);
    variables->setObjectName("Button4");
    variables->setProperty("imageButton", true);
    variables->setFixedWidth(28);
    variables->setAutoDefault(false);
    variables->setFocusPolicy(Qt::NoFocus);
    auto* ifExistsLabel = new QLabel(this);
    ifExistsLabel->setObjectName("Label2");
    ifExists_ = new QComboBox(this);
    ifExists_->setObjectName("ComboBox1");
    FillCombo(ifExists_, IfExistsItems());
    uninstall_ = new QCheckBox(this);
    uninstall_->setObjectName("CheckBox1");
    auto* ok = new QPushButton(this);
    ok->setObjectName("Button1");
    ok->setDefault(true);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName("Button2");
    cancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(folderLabel, 0, 0);
    grid->addWidget(folder_, 0, 1);
    grid->addWidget(variables, 0, 2);
    grid->addWidget(ifExistsLabel, 1, 0);
    grid->addWidget(ifExists_, 1, 1, 1, 2);
    grid->addWidget(uninstall_, 2, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    const FolderImportFields fields = ShowFolderImport(project_);
    ifExists_->setCurrentIndex(fields.IfExists);
    uninstall_->setChecked(fields.Uninstall);
    uninstall_->setEnabled(fields.UninstallEnabled);
    connect(folder_, &QLineEdit::textChanged, this, [this] { ShowRows(); });
    connect(variables, &QPushButton::clicked, this, [this] { ShowVariableMenu(folder_, project_.registryVariables); });
    connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    folder_->setText(ToQ(fields.Destination));
    ShowRows();
    ApplyWindowTexts(this, "AddFilesListForm");
    resize(480, 360);
  }

 private:
  void ShowRows() {
    list_->clear();
    for (const std::string& row : FolderImportRows(handOver_, FromQ(folder_->text())))
      list_->addTopLevelItem(new QTreeWidgetItem(QStringList{ToQ(row)}));
  }

  void Ok() {
    FolderImportFields fields;
    fields.Destination = FromQ(folder_->text());
    fields.IfExists = ifExists_->currentIndex();
    fields.Uninstall = uninstall_->isChecked();
    fields.UninstallEnabled = uninstall_->isEnabled();
    ApplyFolderImport(project_, handOver_, fields);
    list_->clear();
    accept();
  }

  void reject() override {
    list_->clear();
    QDialog::reject();
  }

  Project& project_;
  FileHandOver& handOver_;
  QTreeWidget* list_;
  QLineEdit* folder_;
  QComboBox* ifExists_;
  QCheckBox* uninstall_;
};

// --- Project-file picker ---

class ProjectFilePicker : public QDialog {
 public:
  ProjectFilePicker(QWidget* parent, const Project& project, bool multiple)
      : QDialog(parent), choices_(ProjectFileChoices(project)), multiple_(multiple) {
    setObjectName("TSelectFileForm");
    setWindowTitle(ToQ(InterfaceString(kTextSelectProjectFile)));
    list_ = new OneColumnList(this);
    list_->setObjectName("ListView1");
    list_->setHeaderLabels({ToQ(InterfaceString(kTextDestination))});
    list_->setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    for (const std::string& choice : choices_) list_->addTopLevelItem(new QTreeWidgetItem(QStringList{ToQ(choice)}));
    ok_ = new QPushButton(this);
    ok_->setObjectName("Button1");
    ok_->setDefault(true);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName("Button2");
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateOk(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
      if (item && item->isSelected()) Ok();
    });
    connect(ok_, &QPushButton::clicked, this, [this] { Ok(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    UpdateOk();
    ApplyWindowTexts(this, "SelectFileForm");
    resize(420, 320);
  }

  const ProjectFilePick& Pick() const { return pick_; }

 private:
  void UpdateOk() { ok_->setEnabled(!list_->selectedItems().isEmpty()); }

  void Ok() {
    std::vector<int> rows;
    for (QTreeWidgetItem* item : list_->selectedItems()) rows.push_back(list_->indexOfTopLevelItem(item));
    pick_ = PickProjectFiles(choices_, rows, multiple_);
    accept();
  }

  void reject() override {
    pick_ = {};
    QDialog::reject();
  }

  TStrList choices_;
  bool multiple_;
  QTreeWidget* list_;
  QPushButton* ok_;
  ProjectFilePick pick_;
};

}  // namespace

std::unique_ptr<EntryDialog> CreateFileEntryDialog(QWidget* parent, Project& project, FileHandOver& handOver,
                                                   const std::string& caption, int row) {
  return std::make_unique<FileEntryDialog>(parent, project, handOver, caption, row);
}

std::unique_ptr<QDialog> CreateFolderImportDialog(QWidget* parent, Project& project, FileHandOver& handOver) {
  return std::make_unique<FolderImportDialog>(parent, project, handOver);
}

bool ExecFolderImport(QWidget* parent, Project& project, FileHandOver& handOver) {
  std::unique_ptr<QDialog> dialog = CreateFolderImportDialog(parent, project, handOver);
  return dialog->exec() == QDialog::Accepted;
}

std::unique_ptr<QDialog> CreateProjectFilePicker(QWidget* parent, const Project& project, bool allowMultipleSelection) {
  return std::make_unique<ProjectFilePicker>(parent, project, allowMultipleSelection);
}

ProjectFilePick ReadProjectFilePick(QDialog* picker) {
  auto* p = dynamic_cast<ProjectFilePicker*>(picker);
  return p && p->result() == QDialog::Accepted ? p->Pick() : ProjectFilePick{};
}

ProjectFilePick ExecProjectFilePicker(QWidget* parent, const Project& project, bool allowMultipleSelection) {
  std::unique_ptr<QDialog> picker = CreateProjectFilePicker(parent, project, allowMultipleSelection);
  picker->exec();
  return ReadProjectFilePick(picker.get());
}

void HandleDroppedPaths(QWidget* parent, Project& project, FileHandOver& handOver, const QStringList& paths) {
  const DropDecision decision = HandleDroppedFiles(QListToDisk(paths), handOver);
  switch (decision.Next) {
    case DropDecision::OpenFileEntry:
      ExecEntryDialog(parent, project, handOver, 3, EntryMode::Add, -1);
      break;
    case DropDecision::OpenFolderImport:
      ExecFolderImport(parent, project, handOver);
      project.MarkModified();
      break;
    case DropDecision::None:
      break;
  }
}

}  // namespace bvq
