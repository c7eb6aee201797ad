#pragma once
// The main window's file handling: new, open, open recent, save, save as, the recent
// projects and the question about unsaved changes. Each action does nothing while a load or
// save runs. The window is told through Hooks what to show; it refreshes its pages from
// the project's own notifications (a new, loaded or saved project).
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "project/project.h"
#include "project/project_context.h"
#include "project/project_session.h"

class QWidget;

namespace bvq::app {

class ProjectFiles {
 public:
  struct Hooks {
    std::function<void(bool busy)> setBusy;            // a load or save starts or ends
    std::function<void(const QString& text)> status;  // the file status panel ("" clears)
    std::function<void()> recentChanged;               // the recent list was read anew
  };

  // `window` parents the dialogs; `settingsPath` is the settings store of the recent list.
  ProjectFiles(QWidget* window, Project& project, ProjectSession& session, const ProjectContext& context,
               std::string settingsPath, Hooks hooks);

  // The actions of the File menu.
  void New();
  void Open();
  void OpenRecent(int n);
  // Save (saveAs false) or Save As; false when nothing was saved (cancelled or failed).
  bool Save(bool saveAs);

  // Loads the project file `path` (a name on disk); shows the failure and keeps the open
  // project when the file cannot be read.
  bool Load(const std::string& path);
  // Saves the project into `path`.
  bool SaveTo(const std::string& path);
  // Asks whether to save the changes; true when the caller may go on.
  bool AskSaveChanges(const std::string& name);
  // True when the caller may drop the open project: nothing unsaved, or the question
  // answered so (a load or save that runs says no).
  bool MayClose();

  // The start-up step: open `path` (an empty file becomes a saved new project), or else the
  // most recent project when `openLastProject`.
  void Startup(const std::string& path, bool openLastProject);

  // Merges `path` (when not empty) into the stored recent list and reads it anew.
  void RefreshRecent(const std::string& path = {});
  const std::vector<std::string>& Recent() const { return recent_; }

  // The project's name in questions: its file, else its product name, else "NewProduct".
  QString ProjectName() const;

 private:
  std::string DefaultFolder() const;

  QWidget* window_;
  Project& project_;
  ProjectSession& session_;
  const ProjectContext& context_;
  std::string settingsPath_;
  Hooks hooks_;
  std::vector<std::string> recent_;
};

}  // namespace bvq::app
