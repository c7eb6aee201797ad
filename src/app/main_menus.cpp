// The main window's action table, its menus and its tool bar. The actions are named as the
// interface language files name them ("ActNewProject", "Act0" .. "Act9" for the recent
// projects, "Lang<n>" for the languages); ApplyLanguage gives them their texts.
#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/about_form.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/recent_projects.h"
#include "app/settings_form.h"
#include "editors/entry_dialogs.h"
#include "editors/entry_list_panel.h"
#include "editors/qt_text.h"
#include "project/language_lists.h"
#include "project/shortcut_entries.h"
#include "util/program_values.h"

namespace bvq::app {

void TMainForm::BuildMenus() {
  auto action = [this](const char* name, const QString& text, const QKeySequence& shortcut = {}) {
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    actions_[name] = a;
    return a;
  };
  QAction* newProject = action("ActNewProject", "New", QKeySequence(Qt::CTRL | Qt::Key_N));
  QAction* open = action("ActOpenProject", "Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
  QAction* save = action("ActSaveProject", "Save", QKeySequence(Qt::CTRL | Qt::Key_S));
  QAction* saveAs = action("ActSaveAsProject", "Save as...");
  QAction* exit = action("ActExit", "Exit", QKeySequence(Qt::ALT | Qt::Key_F4));
  QAction* compile = action("ActCompile", "Compile", QKeySequence(Qt::CTRL | Qt::Key_F9));
  QAction* run = action("ActRun", "Run", QKeySequence(Qt::Key_F9));
  QAction* info = action("ActInfoView", "Information...", QKeySequence(Qt::Key_F2));
  QAction* options = action("ActOptionsWindow", "Options...");
  QAction* about = action("ActAbout", "About...");
  connect(info, &QAction::triggered, this, [this] {
    TInfoForm form(project_, session_, this);
    form.exec();
  });
  connect(options, &QAction::triggered, this, [this] {
    TSettingsForm form(settingsPath_, this);
    form.exec();
  });
  connect(about, &QAction::triggered, this, [this] {
    TAboutForm form(this);
    form.exec();
  });
  QAction* association = action("ActRegFileExp", "Add a file association...");
  QAction* uninstallShortcut = action("ActAddUnLink", "Add an uninstaller shortcut");
  connect(uninstallShortcut, &QAction::triggered, this, [this] {
    ShowPage(6);
    AddUninstallerShortcut(project_);
    if (EntryListPanel* panel = PanelOfPage(6)) panel->Reload();
    UpdateListPosition();
  });
  connect(newProject, &QAction::triggered, this, &TMainForm::NewProjectAction);
  connect(open, &QAction::triggered, this, &TMainForm::OpenProjectAction);
  connect(save, &QAction::triggered, this, [this] { SaveProjectAction(false); });
  connect(saveAs, &QAction::triggered, this, [this] { SaveProjectAction(true); });
  connect(exit, &QAction::triggered, this, &QWidget::close);
  connect(compile, &QAction::triggered, this, [this] { CompileAction(); });
  connect(run, &QAction::triggered, this, &TMainForm::RunAction);
  connect(association, &QAction::triggered, this, [this] {
    RunAssociationAction(this, project_, [this] { ShowPage(7); });
    if (EntryListPanel* panel = PanelOfPage(7)) panel->Reload();
  });

  QMenu* file = menuBar()->addMenu("File");
  file->setObjectName("FileMenu");
  file->addAction(newProject);
  file->addSeparator();
  file->addAction(open);
  recentMenu_ = file->addMenu("Reopen");
  recentMenu_->setObjectName("ActReOpen");
  for (int n = 0; n < kRecentProjectsMax; ++n) {
    QAction* recent = action(("Act" + std::to_string(n)).c_str(), QString());
    recentMenu_->addAction(recent);
    connect(recent, &QAction::triggered, this, [this, n] { OpenRecentAction(n); });
  }
  file->addSeparator();
  file->addAction(save);
  file->addAction(saveAs);
  file->addSeparator();
  file->addAction(exit);
  QMenu* projectMenu = menuBar()->addMenu("Project");
  projectMenu->setObjectName("ProjectMenu");
  projectMenu->addAction(info);
  projectMenu->addSeparator();
  projectMenu->addAction(compile);
  projectMenu->addAction(run);
  QMenu* settingsMenu = menuBar()->addMenu("Settings");
  settingsMenu->setObjectName("SettingsMenu");
  settingsMenu->addAction(options);
  settingsMenu->addSeparator();
  QMenu* languageMenu = settingsMenu->addMenu("Language");
  languageMenu->setObjectName("ActLanguageSelect");
  auto* languageGroup = new QActionGroup(this);
  languageGroup->setExclusive(true);
  languages_ = ListInterfaceLanguages();
  for (const LanguageMenuEntry& entry : LanguageMenu(languages_, context_.InterfaceLanguage)) {
    QAction* a = action(entry.action.c_str(), ToQ(entry.caption));
    a->setCheckable(true);
    a->setChecked(entry.checked);
    a->setVisible(entry.visible);
    languageGroup->addAction(a);
    languageMenu->addAction(a);
    const int n = LanguageMenuIndex(entry.action);
    connect(a, &QAction::triggered, this, [this, n] { SwitchLanguage(n); });
  }
  QMenu* service = menuBar()->addMenu("Service");
  service->setObjectName("ServiceMenu");
  service->addAction(uninstallShortcut);
  service->addSeparator();
  service->addAction(association);
  QMenu* help = menuBar()->addMenu("Help");
  help->setObjectName("HelpMenu");
  QAction* helpFile = action("ActHelp", "Help", QKeySequence(Qt::Key_F1));
  connect(helpFile, &QAction::triggered, this, [this] {
    const std::string file =
        ProgramFolder() + (context_.InterfaceLanguage == "Russian" ? "rus" : "eng") + "help.chm";
    QDesktopServices::openUrl(QUrl::fromLocalFile(DiskToQ(file)));
  });
  help->addAction(helpFile);
  help->addSeparator();
  help->addAction(about);

  QToolBar* tools = addToolBar("Tools");
  tools->setObjectName("ToolBar1");
  tools->setMovable(false);
  auto tool = [&](QAction* a, const char* name, QStyle::StandardPixmap icon) {
    a->setIcon(style()->standardIcon(icon));
    tools->addAction(a);
    QWidget* button = tools->widgetForAction(a);
    button->setObjectName(name);
    button->setProperty("imageButton", true);
  };
  tool(newProject, "ToolButton1", QStyle::SP_FileIcon);
  tool(open, "ToolButton2", QStyle::SP_DialogOpenButton);
  tool(save, "ToolButton3", QStyle::SP_DialogSaveButton);
  tools->addSeparator();
  tool(compile, "ToolButton4", QStyle::SP_MediaPlay);
  tool(run, "ToolButton6", QStyle::SP_MediaSeekForward);
  tools->addSeparator();
  tool(options, "ToolButton8", QStyle::SP_FileDialogDetailedView);
  tool(helpFile, "ToolButton10", QStyle::SP_DialogHelpButton);
  openButton_ = qobject_cast<QToolButton*>(tools->widgetForAction(open));
}

}  // namespace bvq::app
