#pragma once
// The main window (TMainForm): the side menu of sixteen pages, the settings pages bound to
// the open project, the entry list panels, the File/Project/Service menus with their tool
// buttons (main_menus.cpp), the file actions and recent projects (project_files.h), the
// status bar and dropped files. Compile and Run go through build_launcher.h, the window's
// bounds and column widths through window_settings.h.
#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/build_launcher.h"
#include "app/project_files.h"
#include "platform/program_settings.h"
#include "project/file_entries.h"
#include "project/project.h"
#include "project/project_context.h"
#include "project/project_rules.h"
#include "project/project_session.h"
#include "util/strings.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace bvq {
class EntryListPanel;
}

namespace bvq::app {

class SettingsBinder;
class SideMenu;
class TCompileForm;

inline constexpr int kPageCount = 16;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  // `interfaceLanguage`: the language whose strings are loaded (InterfaceStrings()).
  // `settingsPath`: the settings store holding the window settings and recent projects.
  TMainForm(const std::string& interfaceLanguage, const std::string& settingsPath, QWidget* parent = nullptr);
  ~TMainForm() override;

  Project& project() { return project_; }
  ProjectSession& session() { return session_; }
  const ProjectContext& context() const { return context_; }

  // Page n (1..16): its panel shown, its side-menu entry bold, the list position in the
  // status bar.
  void ShowPage(int n);
  int CurrentPage() const { return currentPage_; }
  // The entry list panel of page n, or nullptr on pages without a list.
  EntryListPanel* PanelOfPage(int n) const;
  // Text of status bar panel 0..2.
  QString StatusText(int panel) const;

  // The project actions (ProjectFiles). Each does nothing while a load or save runs.
  void NewProjectAction() { files_->New(); }
  void OpenProjectAction() { files_->Open(); }
  // Save (saveAs false) or Save As; false when nothing was saved (cancelled or failed).
  bool SaveProjectAction(bool saveAs) { return files_->Save(saveAs); }
  void OpenRecentAction(int n) { files_->OpenRecent(n); }
  // Validates the project and opens the build window (not waiting for it); nullptr when
  // the validation failed or a load or save runs.
  TCompileForm* CompileAction() { return builds_->Compile(); }
  void RunAction() { builds_->Run(); }

  // Loads the project file `path` (a name on disk); shows the failure and keeps the open
  // project when the file cannot be read.
  bool LoadFile(const std::string& path) { return files_->Load(path); }
  // Saves the project into `path`.
  bool SaveFile(const std::string& path) { return files_->SaveTo(path); }
  // The start-up step once the window is up: open `path` (an empty file becomes a saved new
  // project), or else the most recent project when the settings ask for it.
  void StartupOpen(const std::string& path) { files_->Startup(path, settings_.openLastProject); }

  // Starts the built setup (Run, the build window's Test); false when it cannot be started.
  // Starts it under Wine and waits minimised until it ends.
  std::function<bool(const std::string& setupPath)> launchSetup;

  // The recent-projects list as the menu shows it.
  const std::vector<std::string>& RecentProjects() const { return files_->Recent(); }
  // Merges `path` (when not empty) into the stored recent list and rebuilds the menu.
  void RefreshRecent(const std::string& path = {}) { files_->RefreshRecent(path); }

  // The language menu's action n (Lang<n>): the interface language becomes entry n of the
  // interface language list; the window's texts and the project's localised cells follow.
  void SwitchLanguage(int n);
  const std::string& InterfaceLanguage() const { return context_.InterfaceLanguage; }

  // Asks whether to save the changes; true when the caller may go on.
  bool AskSaveChanges(const std::string& name) { return files_->AskSaveChanges(name); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Copies the model into every widget. Only the project's listener calls it: after a new
  // project, a load, a save, a validation and a language switch.
  void ShowProject();
  void BuildMenus();
  void BuildPages();
  void ApplyLanguage();
  // F1: the help file of the interface language, or a word in the status bar when there is none.
  void OpenHelp();
  // The language menu's captions (each language named in its own code page) and check marks.
  void ShowLanguageMenu();
  void UpdateTitle();
  void UpdateListPosition();
  // Panel 1: the progress word of a load, save, new project or import.
  void ShowOperationStatus(const QString& text);
  // Page `page` ("Page<n>"), tab `tab` of its tab control (-1 none), `control` focused.
  void ShowControl(const QString& page, int tab, const QString& control);
  // The files page with row `row` of its list selected.
  void ShowSourceRow(std::size_t row);
  void SetBusy(bool busy);
  // The recent-projects menu and the open button's menu, from the list just read.
  void ShowRecent();

  Project project_;
  ProjectSession session_{project_};  // follows edits before the window's own listener runs
  ProjectContext context_;
  FileHandOver handOver_;
  std::string settingsPath_;
  ProgramSettings settings_;
  SettingsBinder* binder_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  SideMenu* sideMenu_ = nullptr;
  std::map<int, EntryListPanel*> panels_;  // page -> panel
  std::array<QLabel*, 3> status_{};
  std::map<QString, QAction*> actions_;  // the action table (main_menus.cpp)
  std::unique_ptr<ProjectFiles> files_;
  std::unique_ptr<BuildLauncher> builds_;
  QMenu* recentMenu_ = nullptr;
  QToolButton* openButton_ = nullptr;  // ToolButton2
  TStrList languages_;  // interface languages of the program folder
  int currentPage_ = 1;
  int listenerId_ = 0;
};

}  // namespace bvq::app
