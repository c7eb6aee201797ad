#include "app/main_form.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/column_sizing.h"
#include "app/compile_form.h"
#include "app/file_names.h"
#include "app/page_rules.h"
#include "app/recent_projects.h"
#include "app/settings_binder.h"
#include "app/settings_pages.h"
#include "editors/app_dialogs.h"
#include "app/side_menu.h"
#include "app/window_icons.h"
#include "setup_build/volume_names.h"
#include "editors/entry_dialogs.h"
#include "editors/entry_list_panel.h"
#include "editors/qt_text.h"
#include "editors/window_texts.h"
#include "images/picture_import.h"
#include "platform/settings_store.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/language_apply.h"
#include "project/language_files.h"
#include "project/language_lists.h"
#include "project/new_project.h"
#include "project/shortcut_entries.h"
#include "setup_build/volume_names.h"
#include "util/files.h"
#include "util/ini_file.h"
#include "util/paths.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq::app {
namespace {

// The entry list of each page that has one.
const std::map<int, int>& ListOfPage() {
  static const std::map<int, int> m = {{2, 3}, {6, 1},  {7, 2},   {8, 4},  {9, 5},  {10, 8},
                                       {11, 11}, {12, 10}, {14, 7}, {15, 9}, {16, 6}};
  return m;
}

// Room beside a column heading's text on either side (the header's margin and sort mark).
constexpr int kHeadingPadding = 10;

int PageNumber(const QString& pageName) {
  return pageName.startsWith("Page") ? pageName.mid(4).toInt() : 0;
}

}  // namespace

TMainForm::TMainForm(const std::string& interfaceLanguage, const std::string& settingsPath, QWidget* parent)
    : QMainWindow(parent), settingsPath_(settingsPath) {
  setObjectName("MainForm");
  setWindowIcon(WindowIcon(WindowIconKind::Program));
  context_.InterfaceLanguage = interfaceLanguage;
  context_.ImportPicture = images::NormalizedPictureOrEmpty;
  context_.ProcessMessages = [] { QCoreApplication::processEvents(); };
  SetWindowTextsLanguage(interfaceLanguage);
  settings_ = ReadProgramSettings(SettingsStore::Open(settingsPath_));

  // The install languages of the program folder; the project itself starts below, once
  // the pages are there to show it.
  project_.SetInstallLanguages(InstallLanguageCaptions(interfaceLanguage));

  binder_ = new SettingsBinder(project_, this);
  binder_->interfaceLanguage = interfaceLanguage;
  binder_->afterEdit = [this](const QString& name) { AfterSettingEdited(this, *binder_, session_, name); };

  ProjectFiles::Hooks hooks;
  hooks.setBusy = [this](bool busy) { SetBusy(busy); };
  hooks.status = [this](const QString& text) { ShowOperationStatus(text); };
  hooks.recentChanged = [this] { ShowRecent(); };
  files_ = std::make_unique<ProjectFiles>(this, project_, session_, context_, settingsPath_, std::move(hooks));

  BuildMenus();
  auto* central = new QWidget;
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  sideMenu_ = new SideMenu;
  connect(sideMenu_, &SideMenu::pageChosen, this, &TMainForm::ShowPage);
  row->addWidget(sideMenu_);
  pages_ = new QStackedWidget;
  pages_->setObjectName("Pages");
  row->addWidget(pages_, 1);
  setCentralWidget(central);
  BuildPages();

  statusBar()->setObjectName("StatusBar1");
  for (int i = 0; i < 3; ++i) {
    status_[i] = new QLabel;
    status_[i]->setObjectName(QString("StatusPanel%1").arg(i));
    if (i > 0) {
      status_[i]->setMinimumWidth(80);
      status_[i]->setAlignment(Qt::AlignCenter);
    }
    statusBar()->addPermanentWidget(status_[i], i == 0 ? 1 : 0);
  }

  // The imports of the registry and INI dialogs report their progress here too.
  SetLoadStatusHandler([this](const QString& text) { ShowOperationStatus(text); });
  launchSetup = [this](const std::string& setup) { return LaunchUnderWine(setup); };
  // The pages show the project whole whenever it is replaced (new project, load) or the
  // program rewrites its settings (a save, a validation and a language switch normalise or
  // re-translate them); an edit only marks the title.
  listenerId_ = project_.Listeners.Add([this](ProjectChange change) {
    switch (change) {
      case ProjectChange::Modified: UpdateTitle(); break;
      case ProjectChange::Replaced:
      case ProjectChange::Saved:
      case ProjectChange::Rewritten: ShowProject(); break;
      default: break;
    }
  });

  ApplyLanguage();
  RestoreWindowSettings();
  RefreshRecent();
  // A new project with its defaults; the listener shows it.
  NewProject(project_, session_, context_);
  ShowPage(1);
  setAcceptDrops(true);
}

TMainForm::~TMainForm() {
  SetLoadStatusHandler(nullptr);
  project_.Listeners.Remove(listenerId_);
  // The panels and a build window refer to the project: they go before it does (child
  // widgets are otherwise deleted by the base class, after the members).
  for (TCompileForm* build : findChildren<TCompileForm*>(Qt::FindDirectChildrenOnly)) {
    build->disconnect(this);
    delete build;
  }
  delete takeCentralWidget();
}

// ---------------------------------------------------------------------------------------
// Frame
// ---------------------------------------------------------------------------------------

void TMainForm::BuildPages() {
  auto scrolled = [](QWidget* page) {
    auto* area = new QScrollArea;
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(page);
    return area;
  };
  auto listPage = [this](int n, QWidget* above = nullptr) {
    auto* page = new QWidget;
    page->setObjectName(QString("Page%1").arg(n));
    auto* column = new QVBoxLayout(page);
    if (above) column->addWidget(above);
    auto* panel = new EntryListPanel(project_, ListOfPage().at(n), handOver_, page);
    column->addWidget(panel, 1);
    panels_[n] = panel;
    panel->Tree()->installEventFilter(this);
    connect(panel, &EntryListPanel::positionChanged, this, [this, n](const QString& text) {
      if (currentPage_ == n) status_[2]->setText(text);
    });
    return page;
  };
  for (int n = 1; n <= kPageCount; ++n) {
    QWidget* page = nullptr;
    switch (n) {
      case 1: page = scrolled(BuildProductPage(*binder_)); break;
      case 3: page = scrolled(BuildRequirementsPage(*binder_)); break;
      case 4: page = BuildWizardPage(*binder_); break;
      case 5: page = BuildLookPage(*binder_); break;
      case 6: page = listPage(6, BuildProgramGroupSettings(*binder_)); break;
      case 13: page = scrolled(BuildUninstallerPage(*binder_)); break;
      default: page = listPage(n); break;
    }
    pages_->addWidget(page);
  }
}

void TMainForm::ApplyLanguage() {
  SetWindowTextsLanguage(context_.InterfaceLanguage);
  // Actions and tab sheets are not widgets the window texts reach by themselves.
  if (auto file = IniFile::Load(InterfaceLanguageFile(context_.InterfaceLanguage))) {
    for (const auto& [component, text] : ReadWindowTexts(*file, "MainForm")) {
      const QString name = QString::fromStdString(component);
      if (auto it = actions_.find(name); it != actions_.end()) {
        it->second->setText(ToQ(text));
      } else if (name == "ActReOpen") {
        recentMenu_->setTitle(ToQ(text));
      } else if (name == "ActLanguageSelect") {
        if (auto* menu = findChild<QMenu*>(name)) menu->setTitle(ToQ(text));
      } else if (name.startsWith("TabSheet")) {
        if (QWidget* tab = findChild<QWidget*>(name))
          for (auto* tabs : findChildren<QTabWidget*>())
            if (int index = tabs->indexOf(tab); index >= 0) tabs->setTabText(index, ToQ(text));
      }
    }
  }
  // After the actions: a tool button takes its action's text as hint whenever the action
  // changes, and its own hint comes from the window's texts.
  ApplyWindowTexts(this, "MainForm");
  // Menu titles, combo box items and the side menu from the string table.
  const QList<QMenu*> menus = {findChild<QMenu*>("FileMenu"), findChild<QMenu*>("ProjectMenu"),
                               findChild<QMenu*>("SettingsMenu"), findChild<QMenu*>("ServiceMenu"),
                               findChild<QMenu*>("HelpMenu")};
  for (const StringTarget& target : MainFormStringTargets()) {
    const QString text = IString(target.index);
    if (text.isEmpty()) continue;
    const QString control = QString::fromStdString(target.control);
    switch (target.kind) {
      case StringTargetKind::MenuTitle:
        if (target.position < menus.size() && menus[target.position]) menus[target.position]->setTitle(text);
        break;
      case StringTargetKind::ComboItem:
        if (auto* combo = findChild<QComboBox*>(control); combo && target.position < combo->count())
          combo->setItemText(target.position, text);
        break;
      case StringTargetKind::Caption:
        if (auto* w = findChild<QAbstractButton*>(control)) w->setText(text);
        break;
      default:
        break;  // column headings belong to the list panels, the file menu's items to the actions
    }
  }
  for (auto& [page, panel] : panels_) {
    panel->ApplyHeadings();
    SizeListColumns(panel);
  }
  ShowLanguageMenu();
}

void TMainForm::SwitchLanguage(int n) {
  if (n < 0 || n >= static_cast<int>(languages_.size()) || languages_[n] == context_.InterfaceLanguage) return;
  if (!LoadInterfaceLanguage(languages_[n])) {
    ShowMessage(this, QMessageBox::Critical, QString::fromUtf8(kProgramName),
                QString::fromStdString(InterfaceLanguageFile(languages_[n])));
    return;
  }
  context_.InterfaceLanguage = languages_[n];
  binder_->interfaceLanguage = languages_[n];
  ApplyLanguage();
  // The project's cells follow; its listener shows them.
  FollowInterfaceLanguage(project_, context_);
}

void TMainForm::ShowPage(int n) {
  if (n < 1 || n > kPageCount) return;
  currentPage_ = n;
  pages_->setCurrentIndex(n - 1);
  sideMenu_->SetCurrent(n);
  UpdateListPosition();
}

void TMainForm::UpdateListPosition() {
  EntryListPanel* panel = PanelOfPage(currentPage_);
  status_[2]->setText(panel ? panel->PositionText() : QString());
}

EntryListPanel* TMainForm::PanelOfPage(int n) const {
  auto it = panels_.find(n);
  return it == panels_.end() ? nullptr : it->second;
}

void TMainForm::ShowOperationStatus(const QString& text) {
  QLabel* panel = status_[1];
  panel->setText(text);
  panel->repaint();
  // A finished operation's word ("Load OK", ...) goes away after a moment.
  if (text.endsWith(QLatin1String(" OK")))
    QTimer::singleShot(200, panel, [panel, text] {
      if (panel->text() == text) panel->clear();
    });
}

QString TMainForm::StatusText(int panel) const { return panel >= 0 && panel < 3 ? status_[panel]->text() : QString(); }

void TMainForm::UpdateTitle() {
  const QString title = QString::fromStdString(WindowTitle(project_.filePath));
  setWindowTitle(title + "[*]");
  setWindowModified(session_.modified);
}

void TMainForm::ShowProject() {
  binder_->LoadAll();
  ApplyPageRules(this, *binder_);
  for (auto& [page, panel] : panels_) panel->Reload();
  UpdateTitle();
  UpdateListPosition();
}

void TMainForm::SetBusy(bool busy) {
  for (const char* name : {"ActNewProject", "ActOpenProject", "ActSaveProject", "ActSaveAsProject", "ActCompile"})
    actions_[name]->setEnabled(!busy);
  recentMenu_->setEnabled(!busy);
  // Edits made while a load runs would be lost when the loaded project replaces the model.
  pages_->setEnabled(!busy);
}

// ---------------------------------------------------------------------------------------
// Recent projects
// ---------------------------------------------------------------------------------------

void TMainForm::ShowRecent() {
  const std::vector<std::string>& recent = files_->Recent();
  recentMenu_->menuAction()->setVisible(!recent.empty());
  // The open button offers the recent projects only when there are some.
  if (openButton_) {
    openButton_->setMenu(recent.empty() ? nullptr : recentMenu_);
    openButton_->setPopupMode(recent.empty() ? QToolButton::DelayedPopup : QToolButton::MenuButtonPopup);
  }
  for (int n = 0; n < kRecentProjectsMax; ++n) {
    QAction* a = actions_["Act" + QString::number(n)];
    const bool used = n < static_cast<int>(recent.size());
    a->setVisible(used);
    if (used) a->setText(QString::fromStdString(recent[n]));
  }
}

// ---------------------------------------------------------------------------------------
// Compile and run
// ---------------------------------------------------------------------------------------

void TMainForm::ShowControl(const QString& page, int tab, const QString& control) {
  const int n = PageNumber(page);
  if (n > 0) ShowPage(n);
  if (tab >= 0) {
    const char* tabs = n == 5 ? "PageControl1" : n == 4 ? "PageControl5" : nullptr;
    if (tabs)
      if (auto* w = findChild<QTabWidget*>(tabs)) w->setCurrentIndex(tab);
  }
  if (!control.isEmpty())
    if (auto* w = findChild<QWidget*>(control)) w->setFocus();
}

void TMainForm::ShowValidationIssue(const ValidationIssue& issue) {
  ShowControl(QString::fromStdString(issue.Page), issue.Tab, QString::fromStdString(issue.Control));
  if (issue.Message == kTextSourceFileMissing) {
    // The missing source file was asked about already; the list shows its row.
    if (EntryListPanel* panel = PanelOfPage(2); panel && issue.Row >= 0)
      if (QTreeWidgetItem* item = panel->Tree()->topLevelItem(static_cast<int>(issue.Row)))
        panel->Tree()->setCurrentItem(item);
    return;
  }
  ShowMessage(this, QMessageBox::Warning, IString(kTextProjectCheck), ToQ(ValidationMessageText(issue)));
}

TCompileForm* TMainForm::CompileAction() {
  if (session_.busy) return nullptr;
  auto issue = ValidateProject(project_, context_, [this](const std::string& path, std::size_t row) {
    ShowPage(2);
    if (EntryListPanel* panel = PanelOfPage(2))
      if (QTreeWidgetItem* item = panel->Tree()->topLevelItem(static_cast<int>(row))) panel->Tree()->setCurrentItem(item);
    const QString text = IString(kTextSourceFileMissing) + ToQ(path) + IString(kTextContinueQuestion);
    return AskMessage(this, QMessageBox::Warning, IString(kTextProjectCheck), text,
                      QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  });
  if (issue) {
    runAfterBuild_ = false;
    ShowValidationIssue(*issue);
    return nullptr;
  }
  auto* form = new TCompileForm(project_, session_, this);
  form->setAttribute(Qt::WA_DeleteOnClose);
  connect(form, &TCompileForm::showProblem, this, &TMainForm::ShowControl);
  connect(form, &TCompileForm::testRequested, this, [this] { QTimer::singleShot(50, this, &TMainForm::StartSetup); });
  connect(form, &TCompileForm::buildFinished, this, &TMainForm::UpdateTitle);
  form->SetRunAfterBuild(runAfterBuild_);
  runAfterBuild_ = false;
  SetBusy(true);
  connect(form, &QObject::destroyed, this, [this] { SetBusy(false); });
  form->open();
  return form;
}

void TMainForm::RunAction() {
  if (session_.buildCurrent) {
    QTimer::singleShot(50, this, &TMainForm::StartSetup);
    return;
  }
  runAfterBuild_ = true;
  if (!CompileAction()) runAfterBuild_ = false;
}

void TMainForm::StartSetup() {
  const std::string setup = VolumePath(project_, 0);
  if (!launchSetup(setup))
    ShowMessage(this, QMessageBox::Critical, ToQ(project_.productName), IString(kTextSetupNotStarted) + DiskToQ(setup));
}

bool TMainForm::LaunchUnderWine(const std::string& setup) {
  // A Windows setup runs under Wine here; the window waits minimised until it ends.
  const QString wine = QStandardPaths::findExecutable("wine");
  if (wine.isEmpty()) return false;
  auto* process = new QProcess(this);
  process->setWorkingDirectory(DiskToQ(ExtractFilePath(setup)));
  process->start(wine, {DiskToQ(setup)});
  if (!process->waitForStarted()) {
    process->deleteLater();
    return false;
  }
  showMinimized();
  connect(process, &QProcess::finished, this, [this, process] {
    process->deleteLater();
    showNormal();
    raise();
    activateWindow();
  });
  return true;
}

// ---------------------------------------------------------------------------------------
// Window events and settings
// ---------------------------------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent* event) {
  for (TCompileForm* build : findChildren<TCompileForm*>(Qt::FindDirectChildrenOnly))
    if (build->Running()) {
      event->ignore();
      return;
    }
  if (!files_->MayClose()) {
    event->ignore();
    return;
  }
  StoreWindowSettings();
  event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  // A list that changes its width shares the new width among its stretching columns.
  if (event->type() == QEvent::Resize)
    for (auto& [page, panel] : panels_)
      if (panel->Tree() == watched) SizeListColumns(panel);
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::SizeListColumns(EntryListPanel* panel) {
  QTreeWidget* tree = panel->Tree();
  QHeaderView* header = tree->header();
  // No column is narrower than its heading: a list too narrow for all of them scrolls.
  std::vector<int> widths, headings;
  for (int c = 0; c < tree->columnCount(); ++c) {
    headings.push_back(header->fontMetrics().horizontalAdvance(tree->headerItem()->text(c)) + 2 * kHeadingPadding);
    widths.push_back(std::max(header->sectionSize(c), headings.back()));
  }
  const std::vector<int> sized = SizeColumns(panel->ListNumber(), tree->width(), widths);
  for (std::size_t c = 0; c < sized.size(); ++c)
    header->resizeSection(static_cast<int>(c), std::max(sized[c], headings[c]));
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  ShowPage(2);
  HandleDroppedPaths(this, project_, handOver_, paths);
  if (EntryListPanel* panel = PanelOfPage(2)) panel->Reload();
  UpdateListPosition();
}

void TMainForm::RestoreWindowSettings() {
  for (const auto& [key, width] : settings_.columnWidths)
    for (auto& [page, panel] : panels_)
      if (panel->ListNumber() == key.first && key.second < panel->Tree()->columnCount())
        panel->Tree()->header()->resizeSection(key.second, width);
  if (settings_.bounds) {
    setGeometry(settings_.bounds->left, settings_.bounds->top, settings_.bounds->width, settings_.bounds->height);
  } else {
    resize(900, 640);
    if (QScreen* screen = QGuiApplication::primaryScreen())
      move(screen->availableGeometry().center() - rect().center());
  }
  if (settings_.isMaximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TMainForm::StoreWindowSettings() {
  ProgramSettings closing;
  closing.language = context_.InterfaceLanguage;
  closing.isMaximized = isMaximized();
  if (!closing.isMaximized) {
    const QRect g = geometry();
    closing.bounds = WindowBounds{g.width(), g.height(), g.x(), g.y()};
  }
  for (auto& [page, panel] : panels_)
    for (int j = 0; j < panel->Tree()->columnCount(); ++j)
      closing.columnWidths[{panel->ListNumber(), j}] = panel->Tree()->header()->sectionSize(j);
  SettingsStore store = SettingsStore::Open(settingsPath_);
  WriteClosingSettings(store, closing);
  store.Save();
}

}  // namespace bvq::app
