#include "app/project_files.h"

#include <QStringList>
#include <QWidget>

#include "app/file_names.h"
#include "app/recent_projects.h"
#include "editors/app_dialogs.h"
#include "editors/qt_text.h"
#include "platform/settings_store.h"
#include "platform/shell_folders.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/new_project.h"
#include "project/project_file.h"
#include "util/files.h"
#include "util/paths.h"

namespace bvq::app {

ProjectFiles::ProjectFiles(QWidget* window, Project& project, ProjectSession& session,
                           const ProjectContext& context, std::string settingsPath, Hooks hooks)
    : window_(window),
      project_(project),
      session_(session),
      context_(context),
      settingsPath_(std::move(settingsPath)),
      hooks_(std::move(hooks)) {}

bool ProjectFiles::AskSaveChanges(const std::string& name) {
  const QString text = IString(kTextSaveChangesTo) + QString::fromStdString(name) + "?";
  switch (AskMessage(window_, QMessageBox::Warning, ToQ(project_.productName), text,
                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      // Going on after a save that did not happen would lose the changes.
      return Save(false);
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

bool ProjectFiles::MayClose() {
  return !session_.busy && (!session_.modified || AskSaveChanges(ProjectName().toStdString()));
}

void ProjectFiles::New() {
  if (session_.busy) return;
  // Unlike the file actions of old, a never-saved project is asked about too: New must not
  // drop work silently.
  if (session_.modified && !AskSaveChanges(ProjectName().toStdString())) return;
  NewProject(project_, session_, context_);
  hooks_.status(QStringLiteral("New OK"));
}

void ProjectFiles::Open() {
  if (session_.busy) return;
  const std::string folder = project_.filePath.empty() ? DefaultFolder() : ExtractFilePath(project_.filePath);
  const QString chosen = Dialogs().openFile(window_, QString(), QString::fromStdString(folder), ProjectFileFilter());
  if (chosen.isEmpty()) return;
  if (session_.modified && !AskSaveChanges(ProjectName().toStdString())) return;
  Load(chosen.toStdString());
}

void ProjectFiles::OpenRecent(int n) {
  if (session_.busy || n < 0 || n >= static_cast<int>(recent_.size())) return;
  const std::string path = recent_[n];
  if (!FileExists(path)) {
    RefreshRecent();
    return;
  }
  if (session_.modified && !AskSaveChanges(ProjectName().toStdString())) return;
  Load(path);
}

bool ProjectFiles::Load(const std::string& path) {
  hooks_.setBusy(true);
  hooks_.status(QStringLiteral("Load..."));
  const Outcome<ProjectLoad> result = LoadProject(project_, session_, path, context_);
  hooks_.setBusy(false);
  if (!result) {
    hooks_.status(QString());
    ShowMessage(window_, QMessageBox::Critical, ToQ(project_.productName),
                QString::fromStdString(path) + "\n" + ToQ(result.error()));
    return false;
  }
  RefreshRecent(path);
  hooks_.status(QStringLiteral("Load OK"));
  // Texts of an old project that went beside the author's own files under a new name.
  if (!result->notes.empty()) {
    QStringList notes;
    for (const std::string& note : result->notes) notes << DiskToQ(note);
    ShowMessage(window_, QMessageBox::Information, ToQ(project_.productName), notes.join('\n'));
  }
  return true;
}

bool ProjectFiles::SaveTo(const std::string& path) {
  RefreshRecent(project_.filePath);
  hooks_.setBusy(true);
  hooks_.status(QStringLiteral("Save..."));
  const Status result = SaveProject(project_, session_, path, context_);
  hooks_.setBusy(false);
  if (!result) {
    hooks_.status(QString());
    ShowMessage(window_, QMessageBox::Critical, ToQ(project_.productName), ToQ(result.error));
    return false;
  }
  RefreshRecent(path);
  hooks_.status(QStringLiteral("Save OK"));
  return true;
}

bool ProjectFiles::Save(bool saveAs) {
  if (session_.busy) return false;
  if (!saveAs && !project_.filePath.empty()) return SaveTo(project_.filePath);
  const std::string proposed = ProposeProjectFile(project_.productName, DefaultFolder());
  const QString chosen = Dialogs().saveFile(window_, IString(saveAs ? kTextSaveProjectAs : kTextSaveProject),
                                            QString::fromStdString(proposed), ProjectFileFilter());
  if (chosen.isEmpty()) return false;
  return SaveTo(WithProjectExtension(chosen.toStdString()));
}

void ProjectFiles::Startup(const std::string& path, bool openLastProject) {
  if (!path.empty() && FileExists(path)) {
    if (FileSize64(path) == 0) {
      // An empty file becomes a project file: the new project is saved into it.
      SaveTo(LongDisplayPath(path));
    } else {
      Load(LongDisplayPath(path));
    }
    return;
  }
  if (openLastProject && !recent_.empty()) Load(recent_.front());
}

void ProjectFiles::RefreshRecent(const std::string& path) {
  SettingsStore store = SettingsStore::Open(settingsPath_);
  recent_ = app::RefreshRecent(store, path);
  hooks_.recentChanged();
}

QString ProjectFiles::ProjectName() const {
  if (!project_.filePath.empty()) return QString::fromStdString(project_.filePath);
  if (!project_.productName.empty()) return ToQ(project_.productName);
  return QStringLiteral("NewProduct");
}

std::string ProjectFiles::DefaultFolder() const {
  if (recent_.empty()) return DocumentsFolder();
  return ExtractFilePath(recent_.front());
}

}  // namespace bvq::app
