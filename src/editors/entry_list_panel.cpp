#include "editors/entry_list_panel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>

#include "editors/app_dialogs.h"
#include "editors/entry_dialogs.h"
#include "editors/qt_text.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/language_apply.h"

namespace bvq {

namespace {

// Button numbers per list (ListView1..11): up, down, add, copy, edit, delete.
constexpr std::array<std::array<int, 6>, kEntryListCount> kButtonNumbers = {{
    {61, 62, 7, 101, 9, 15},   // 1 shortcuts
    {64, 63, 12, 100, 13, 14}, // 2 registry values
    {53, 54, 22, 91, 23, 24},  // 3 files
    {66, 65, 38, 99, 39, 40},  // 4 install commands
    {68, 67, 5, 98, 6, 8},     // 5 INI entries
    {60, 59, 48, 92, 47, 46},  // 6 uninstall commands
    {55, 56, 42, 94, 43, 44},  // 7 uninstall deletions
    {70, 69, 10, 97, 35, 45},  // 8 ActiveX files
    {58, 57, 4, 93, 29, 31},   // 9 uninstall registry deletions
    {72, 71, 49, 95, 50, 51},  // 10 variables
    {18, 30, 33, 96, 36, 37},  // 11 fonts
}};
constexpr int kAddFolderButton = 41;
constexpr int kFileList = 3;


QString ButtonName(int number) { return QStringLiteral("Button%1").arg(number); }

}  // namespace

EntryListPanel::EntryListPanel(Project& project, int listNumber, FileHandOver& handOver, QWidget* parent)
    : QWidget(parent), project_(project), listNumber_(listNumber), handOver_(handOver) {
  if (listNumber_ < 1 || listNumber_ > kEntryListCount) listNumber_ = 1;
  const auto& numbers = kButtonNumbers[static_cast<std::size_t>(listNumber_ - 1)];

  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("ListView%1").arg(listNumber_));
  tree_->setColumnCount(List().ColumnCount());
  tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setRootIsDecorated(false);
  tree_->setItemsExpandable(false);
  tree_->setUniformRowHeights(true);
  tree_->setAllColumnsShowFocus(true);
  tree_->setSortingEnabled(false);
  tree_->header()->setSectionsClickable(true);
  tree_->header()->setSortIndicatorShown(false);
  tree_->installEventFilter(this);

  buttons_.assign(7, nullptr);
  QStyle* style = this->style();
  auto make = [&](ListButton role, int number, QStyle::StandardPixmap icon, int hint) {
    auto* button = new QPushButton(this);
    button->setObjectName(ButtonName(number));
    button->setIcon(style->standardIcon(icon));
    button->setToolTip(ToQ(InterfaceString(hint)));
    button->setProperty("imageButton", true);  // a language text is its hint
    button->setAutoDefault(false);
    buttons_[static_cast<std::size_t>(role)] = button;
    return button;
  };
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(make(ListButton::Up, numbers[0], QStyle::SP_ArrowUp, kTextMoveEntryUp));
  row->addWidget(make(ListButton::Down, numbers[1], QStyle::SP_ArrowDown, kTextMoveEntryDown));
  row->addStretch(1);
  row->addWidget(make(ListButton::Add, numbers[2], QStyle::SP_FileIcon, kTextAddEntry));
  if (listNumber_ == kFileList)
    row->addWidget(make(ListButton::AddFolder, kAddFolderButton, QStyle::SP_DirIcon, kTextAddFolder));
  row->addWidget(make(ListButton::Copy, numbers[3], QStyle::SP_FileDialogDetailedView, kTextCopyEntry));
  row->addWidget(make(ListButton::Edit, numbers[4], QStyle::SP_FileDialogContentsView, kTextEditEntry));
  row->addWidget(make(ListButton::Delete, numbers[5], QStyle::SP_TrashIcon, kTextRemoveEntry));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tree_, 1);
  layout->addLayout(row);

  connect(Button(ListButton::Up), &QPushButton::clicked, this, &EntryListPanel::MoveUp);
  connect(Button(ListButton::Down), &QPushButton::clicked, this, &EntryListPanel::MoveDown);
  connect(Button(ListButton::Add), &QPushButton::clicked, this, &EntryListPanel::AddEntry);
  if (QPushButton* addFolder = Button(ListButton::AddFolder))
    connect(addFolder, &QPushButton::clicked, this, &EntryListPanel::AddFolder);
  connect(Button(ListButton::Copy), &QPushButton::clicked, this, &EntryListPanel::CopyEntry);
  connect(Button(ListButton::Edit), &QPushButton::clicked, this, &EntryListPanel::EditEntry);
  connect(Button(ListButton::Delete), &QPushButton::clicked, this, &EntryListPanel::DeleteEntries);

  auto selectionMoved = [this] {
    if (syncing_) return;
    ReadSelectionFromTree();
    UpdateButtons();
  };
  connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this, selectionMoved);
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, selectionMoved);
  // Headings do not sort; a click only re-evaluates the buttons.
  connect(tree_->header(), &QHeaderView::sectionClicked, this, [this] { UpdateButtons(); });
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { EditEntry(); });

  // Rows changed from outside (a load, the association action, a drop) are shown again.
  // A replaced project starts without a selection.
  listenerId_ = project_.Listeners.Add([this](ProjectChange change) {
    if (syncing_) return;
    if (change == ProjectChange::Replaced) selection_ = {};
    if (change == ProjectChange::Replaced || List().Rows != shown_) Reload();
  });

  ApplyHeadings();
  Reload();
}

EntryListPanel::~EntryListPanel() { project_.Listeners.Remove(listenerId_); }

EntryList& EntryListPanel::List() const { return project_.EntryListAt(listNumber_); }

QPushButton* EntryListPanel::Button(ListButton role) const { return buttons_[static_cast<std::size_t>(role)]; }

void EntryListPanel::ApplyHeadings() {
  const std::string control = "ListView" + std::to_string(listNumber_);
  QStringList headings;
  for (int c = 0; c < List().ColumnCount(); ++c) headings << QString();
  for (const StringTarget& target : MainFormStringTargets()) {
    if (target.kind != StringTargetKind::ColumnHeading || target.control != control) continue;
    if (target.position >= 0 && target.position < headings.size() && !InterfaceString(target.index).empty())
      headings[target.position] = ToQ(InterfaceString(target.index));
  }
  tree_->setHeaderLabels(headings);
}

void EntryListPanel::Reload() {
  selection_.Fit(List().size());
  ShowRows();
  UpdateButtons();
}

QString EntryListPanel::PositionText() const { return ToQ(ListPositionText(List(), selection_)); }

void EntryListPanel::ReadSelectionFromTree() {
  const int count = tree_->topLevelItemCount();
  selection_.Selected.assign(static_cast<std::size_t>(count), false);
  for (int i = 0; i < count; ++i) selection_.Selected[static_cast<std::size_t>(i)] = tree_->topLevelItem(i)->isSelected();
  QTreeWidgetItem* current = tree_->currentItem();
  selection_.Focused = current ? tree_->indexOfTopLevelItem(current) : -1;
}

void EntryListPanel::WriteSelectionToTree() {
  const bool wasSyncing = syncing_;
  syncing_ = true;
  QItemSelectionModel* model = tree_->selectionModel();
  const int count = tree_->topLevelItemCount();
  if (selection_.Focused >= 0 && selection_.Focused < count) {
    model->setCurrentIndex(tree_->model()->index(selection_.Focused, 0), QItemSelectionModel::NoUpdate);
  }
  QItemSelection selected;
  for (int i = 0; i < count; ++i) {
    if (!selection_.IsSelected(static_cast<std::size_t>(i))) continue;
    const QModelIndex index = tree_->model()->index(i, 0);
    selected.select(index, index);
  }
  model->select(selected, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  syncing_ = wasSyncing;
}

void EntryListPanel::ShowRows() {
  const bool wasSyncing = syncing_;
  syncing_ = true;
  const EntryList& list = List();
  const int columns = list.ColumnCount();
  // Rows are rewritten in place and the count adjusted, so the view keeps its scroll place.
  while (tree_->topLevelItemCount() > static_cast<int>(list.size())) delete tree_->takeTopLevelItem(tree_->topLevelItemCount() - 1);
  while (tree_->topLevelItemCount() < static_cast<int>(list.size())) tree_->addTopLevelItem(new QTreeWidgetItem);
  for (std::size_t r = 0; r < list.size(); ++r) {
    QTreeWidgetItem* item = tree_->topLevelItem(static_cast<int>(r));
    for (int c = 0; c < columns; ++c) item->setText(c, ToQ(list[r].Cell(c)));
  }
  shown_ = list.Rows;
  WriteSelectionToTree();
  syncing_ = wasSyncing;
}

void EntryListPanel::UpdateButtons() {
  const ListButtons state = UpdateListButtons(List(), selection_);
  Button(ListButton::Up)->setEnabled(state.Up);
  Button(ListButton::Down)->setEnabled(state.Down);
  Button(ListButton::Copy)->setEnabled(state.Copy);
  Button(ListButton::Edit)->setEnabled(state.Edit);
  Button(ListButton::Delete)->setEnabled(state.Delete);
  emit positionChanged(PositionText());
}

void EntryListPanel::AfterChange() {
  ShowRows();
  UpdateButtons();
}

void EntryListPanel::AddEntry() {
  ExecEntryDialog(window(), project_, handOver_, listNumber_, EntryMode::Add, -1);
  Reload();
}

void EntryListPanel::AddFolder() {
  const QString folder = Dialogs().folder(window(), ToQ(InterfaceString(kTextSelectFolderToAdd)));
  if (folder.isEmpty()) return;
  if (PrepareFolderImport(QToDisk(folder), handOver_)) ExecFolderImport(window(), project_, handOver_);
  Reload();
  project_.MarkModified();
}

void EntryListPanel::EditEntry() {
  const int row = selection_.SelectedIndex();
  if (row < 0) return;
  ExecEntryDialog(window(), project_, handOver_, listNumber_, EntryMode::Edit, row);
  Reload();
}

void EntryListPanel::CopyEntry() {
  syncing_ = true;
  DuplicateFocusedEntry(project_, List(), selection_);
  syncing_ = false;
  selection_.Fit(List().size());
  if (selection_.SelectedIndex() >= 0) tree_->setFocus(Qt::OtherFocusReason);
  AfterChange();
}

void EntryListPanel::DeleteEntries() {
  syncing_ = true;
  DeleteSelectedEntries(project_, List(), selection_);
  syncing_ = false;
  tree_->setFocus(Qt::OtherFocusReason);
  AfterChange();
}

void EntryListPanel::MoveUp() {
  syncing_ = true;
  MoveEntriesUp(project_, List(), selection_);
  syncing_ = false;
  tree_->setFocus(Qt::OtherFocusReason);
  AfterChange();
}

void EntryListPanel::MoveDown() {
  syncing_ = true;
  MoveEntriesDown(project_, List(), selection_);
  syncing_ = false;
  tree_->setFocus(Qt::OtherFocusReason);
  AfterChange();
}

bool EntryListPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      EditEntry();
    } else if (key->key() == Qt::Key_Delete) {
      DeleteEntries();
    } else if (key->key() == Qt::Key_A && (key->modifiers() & Qt::ControlModifier)) {
      selection_.SelectAll();
      if (selection_.Focused < 0 && !List().empty()) selection_.Focused = 0;
      WriteSelectionToTree();
      UpdateButtons();
    }
    // The keys go on to the list as well.
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace bvq
