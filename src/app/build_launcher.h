#pragma once
// Compile and Run from the main window: validates the project (showing the first problem),
// opens the build window, and starts the built setup, right away when the setup is current
// or once a build asked for by Run has succeeded. The window is told through Hooks what to
// show; while a build window is open the file actions wait.
#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>
#include <string>

#include "project/project.h"
#include "project/project_context.h"
#include "project/project_rules.h"
#include "project/project_session.h"

class QWidget;

namespace bvq::app {

class TCompileForm;

class BuildLauncher : public QObject {
  Q_OBJECT
 public:
  struct Hooks {
    std::function<void(bool busy)> setBusy;  // a build window opens or goes
    // Shows a page ("Page<n>"), the tab of its tab control (-1 none) and focuses a control.
    std::function<void(const QString& page, int tab, const QString& control)> showControl;
    std::function<void(std::size_t row)> showSourceRow;  // the files page with that row selected
    std::function<void()> buildFinished;                 // the setup may be current now
    std::function<bool(const std::string& setupPath)> launch;  // false when it did not start
  };

  // `window` parents the build window and the messages.
  BuildLauncher(QWidget* window, Project& project, ProjectSession& session, const ProjectContext& context,
                Hooks hooks);

  // Validates the project and opens the build window (not waiting for it); nullptr when
  // the validation failed or a load or save runs.
  TCompileForm* Compile();
  // Starts the setup when it is current, else builds it and starts it after a successful build.
  void Run();

  // True while the build of an open build window runs.
  bool Building() const;
  // Deletes the build windows without telling the main window (it is going).
  void CloseBuildWindows();

 private:
  void ShowValidationIssue(const ValidationIssue& issue);
  void StartSetup();

  QWidget* window_;
  Project& project_;
  ProjectSession& session_;
  const ProjectContext& context_;
  Hooks hooks_;
  bool runAfterBuild_ = false;
};

// Starts the Windows setup `setupPath` under Wine in its own folder; `window` waits
// minimised until the setup ends. False when Wine is missing or the setup did not start.
bool LaunchUnderWine(QWidget* window, const std::string& setupPath);

}  // namespace bvq::app
