// The main window's action table, its menus and its tool bar. The actions are named as the
// interface language files name them ("ActNewProject", "Act0" .. "Act9" for the recent
// projects, "Lang<n>" for the languages); ApplyLanguage gives them their texts.
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/about_form.h"
#include "editors/app_dialogs.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/recent_projects.h"
#include "app/settings_form.h"
#include "app/update_form.h"
#include "app/web_addresses.h"
#include "editors/entry_dialogs.h"
#include "editors/entry_list_panel.h"
#include "editors/qt_text.h"
#include "editors/window_texts.h"
#include "project/language_lists.h"
#include "project/shortcut_entries.h"
#include "util/files.h"
#include "util/program_values.h"

namespace bvq::app {

void TMainForm::BuildMenus() {
  // The texts come from the interface language (ApplyLanguage).
  auto action = [this](const char* name, const QKeySequence& shortcut = {}) {
    auto* a = new QAction(this);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    actions_[name] = a;
    return a;
  };
  QAction* newProject = action("ActNewProject", QKeySequence(Qt::CTRL | Qt::Key_N));
  QAction* open = action("ActOpenProject", QKeySequence(Qt::CTRL | Qt::Key_O));
  QAction* save = action("ActSaveProject", QKeySequence(Qt::CTRL | Qt::Key_S));
  QAction* saveAs = action("ActSaveAsProject");
  QAction* exit = action("ActExit", QKeySequence(Qt::ALT | Qt::Key_F4));
  QAction* compile = action("ActCompile", QKeySequence(Qt::CTRL | Qt::Key_F9));
  QAction* run = action("ActRun", QKeySequence(Qt::Key_F9));
  QAction* info = action("ActInfoView", QKeySequence(Qt::Key_F2));
  QAction* options = action("ActOptionsWindow");
  QAction* about = action("ActAbout");
  connect(info, &QAction::triggered, this, [this] {
    TInfoForm form(project_, session_, this);
    form.exec();
  });
  connect(options, &QAction::triggered, this, [this] {
    TSettingsForm form(settingsPath_, this);
    form.exec();
  });
  connect(about, &QAction::triggered, this, [this] {
    TAboutForm form(context_.InterfaceLanguage, this);
    form.exec();
  });
  QAction* association = action("ActRegFileExp");
  QAction* uninstallShortcut = action("ActAddUnLink");
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

  QMenu* file = menuBar()->addMenu(QString());
  file->setObjectName("FileMenu");
  file->addAction(newProject);
  file->addSeparator();
  file->addAction(open);
  recentMenu_ = file->addMenu(QString());
  recentMenu_->setObjectName("ActReOpen");
  for (int n = 0; n < kRecentProjectsMax; ++n) {
    QAction* recent = action(("Act" + std::to_string(n)).c_str());
    recentMenu_->addAction(recent);
    connect(recent, &QAction::triggered, this, [this, n] { OpenRecentAction(n); });
  }
  file->addSeparator();
  file->addAction(save);
  file->addAction(saveAs);
  file->addSeparator();
  file->addAction(exit);
  QMenu* projectMenu = menuBar()->addMenu(QString());
  projectMenu->setObjectName("ProjectMenu");
  projectMenu->addAction(info);
  projectMenu->addSeparator();
  projectMenu->addAction(compile);
  projectMenu->addAction(run);
  QMenu* settingsMenu = menuBar()->addMenu(QString());
  settingsMenu->setObjectName("SettingsMenu");
  settingsMenu->addAction(options);
  settingsMenu->addSeparator();
  QMenu* languageMenu = settingsMenu->addMenu(QString());
  languageMenu->setObjectName("ActLanguageSelect");
  auto* languageGroup = new QActionGroup(this);
  languageGroup->setExclusive(true);
  languages_ = ListInterfaceLanguages();
  for (const LanguageMenuEntry& entry : LanguageMenu(languages_, context_.InterfaceLanguage)) {
    QAction* a = action(entry.action.c_str());
    a->setCheckable(true);
    languageGroup->addAction(a);
    languageMenu->addAction(a);
    const int n = LanguageMenuIndex(entry.action);
    connect(a, &QAction::triggered, this, [this, n] { SwitchLanguage(n); });
  }
  ShowLanguageMenu();
  QMenu* service = menuBar()->addMenu(QString());
  service->setObjectName("ServiceMenu");
  service->addAction(uninstallShortcut);
  service->addSeparator();
  service->addAction(association);
  QMenu* help = menuBar()->addMenu(QString());
  help->setObjectName("HelpMenu");
  QAction* helpFile = action("ActHelp", QKeySequence(Qt::Key_F1));
  connect(helpFile, &QAction::triggered, this, &TMainForm::OpenHelp);
  QAction* update = action("ActAutoUpdate");
  connect(update, &QAction::triggered, this, [this] {
    TUpdateForm form(this);
    form.exec();
  });
  QAction* support = action("ActMailSupport");
  connect(support, &QAction::triggered, this,
          [this] { Dialogs().openUrl(QUrl(SupportPageAddress(context_.InterfaceLanguage))); });
  QAction* home = action("ActHomePage");
  connect(home, &QAction::triggered, this, [this] { Dialogs().openUrl(QUrl(HomePageAddress(context_.InterfaceLanguage))); });
  help->addAction(helpFile);
  help->addSeparator();
  help->addAction(update);
  help->addAction(support);
  help->addAction(home);
  help->addSeparator();
  help->addAction(about);

  QToolBar* tools = addToolBar(QString());
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
  tool(home, "ToolButton9", QStyle::SP_DirHomeIcon);
  tool(helpFile, "ToolButton10", QStyle::SP_DialogHelpButton);
  openButton_ = qobject_cast<QToolButton*>(tools->widgetForAction(open));
}

}  // namespace bvq::app

namespace bvq::app {

void TMainForm::ShowLanguageMenu() {
  for (const LanguageMenuEntry& entry : LanguageMenu(languages_, context_.InterfaceLanguage)) {
    QAction* a = actions_[QString::fromStdString(entry.action)];
    a->setText(QString::fromStdString(entry.displayCaption));
    a->setChecked(entry.checked);
    a->setVisible(entry.visible);
  }
}

void TMainForm::OpenHelp() {
  const std::string file = ProgramFolder() + (context_.InterfaceLanguage == "Russian" ? "rus" : "eng") + "help.chm";
  // Without a help file (or a program that shows it) the status bar says where to look.
  if (!FileExists(file) || !Dialogs().openUrl(QUrl::fromLocalFile(DiskToQ(file))))
    status_[0]->setText(WindowText("MainForm", "HelpFileMissing").arg(DiskToQ(file)));
}

}  // namespace bvq::app
