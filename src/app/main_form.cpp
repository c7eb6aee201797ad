#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
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
#include "app/file_names.h"
#include "app/page_rules.h"
#include "app/recent_projects.h"
#include "app/settings_binder.h"
#include "app/settings_pages.h"
#include "editors/app_dialogs.h"
#include "app/side_menu.h"
#include "app/window_icons.h"
#include "app/window_settings.h"
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

  BuildLauncher::Hooks buildHooks;
  buildHooks.setBusy = [this](bool busy) { SetBusy(busy); };
  buildHooks.showControl = [this](const QString& page, int tab, const QString& control) {
    ShowControl(page, tab, control);
  };
  buildHooks.showSourceRow = [this](std::size_t row) { ShowSourceRow(row); };
  buildHooks.buildFinished = [this] { UpdateTitle(); };
  // Through the public member, which tests replace.
  launchSetup = [this](const std::string& setup) { return LaunchUnderWine(this, setup); };
  buildHooks.launch = [this](const std::string& setup) { return launchSetup(setup); };
  builds_ = std::make_unique<BuildLauncher>(this, project_, session_, context_, std::move(buildHooks));

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
  RestoreWindowSettings(*this, panels_, settings_);
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
  builds_->CloseBuildWindows();
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
    FitColumnsToList(panel->Tree(), panel->ListNumber());
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
// Showing a control (the checks before and during a build)
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

void TMainForm::ShowSourceRow(std::size_t row) {
  ShowPage(2);
  if (EntryListPanel* panel = PanelOfPage(2))
    if (QTreeWidgetItem* item = panel->Tree()->topLevelItem(static_cast<int>(row))) panel->Tree()->setCurrentItem(item);
}

// ---------------------------------------------------------------------------------------
// Window events
// ---------------------------------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent* event) {
  if (builds_->Building() || !files_->MayClose()) {
    event->ignore();
    return;
  }
  StoreWindowSettings(*this, panels_, context_.InterfaceLanguage, settingsPath_);
  event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  // A list that changes its width shares the new width among its stretching columns.
  if (event->type() == QEvent::Resize)
    for (auto& [page, panel] : panels_)
      if (panel->Tree() == watched) FitColumnsToList(panel->Tree(), panel->ListNumber());
  return QMainWindow::eventFilter(watched, event);
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

}  // namespace bvq::app
