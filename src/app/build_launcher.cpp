#include "app/build_launcher.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include "app/compile_form.h"
#include "editors/app_dialogs.h"
#include "editors/qt_text.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "setup_build/volume_names.h"
#include "util/paths.h"

namespace bvq::app {

BuildLauncher::BuildLauncher(QWidget* window, Project& project, ProjectSession& session,
                             const ProjectContext& context, Hooks hooks)
    : window_(window), project_(project), session_(session), context_(context), hooks_(std::move(hooks)) {}

TCompileForm* BuildLauncher::Compile() {
  if (session_.busy) return nullptr;
  auto issue = ValidateProject(project_, context_, [this](const std::string& path, std::size_t row) {
    hooks_.showSourceRow(row);
    const QString text = IString(kTextSourceFileMissing) + ToQ(path) + IString(kTextContinueQuestion);
    return AskMessage(window_, QMessageBox::Warning, IString(kTextProjectCheck), text,
                      QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  });
  if (issue) {
    runAfterBuild_ = false;
    ShowValidationIssue(*issue);
    return nullptr;
  }
  auto* form = new TCompileForm(project_, session_, window_);
  form->setAttribute(Qt::WA_DeleteOnClose);
  connect(form, &TCompileForm::showProblem, this,
          [this](const QString& page, int tab, const QString& control) { hooks_.showControl(page, tab, control); });
  connect(form, &TCompileForm::testRequested, this, [this] { QTimer::singleShot(50, this, &BuildLauncher::StartSetup); });
  connect(form, &TCompileForm::buildFinished, this, [this] { hooks_.buildFinished(); });
  form->SetRunAfterBuild(runAfterBuild_);
  runAfterBuild_ = false;
  hooks_.setBusy(true);
  connect(form, &QObject::destroyed, this, [this] { hooks_.setBusy(false); });
  form->open();
  return form;
}

void BuildLauncher::Run() {
  if (session_.buildCurrent) {
    QTimer::singleShot(50, this, &BuildLauncher::StartSetup);
    return;
  }
  runAfterBuild_ = true;
  if (!Compile()) runAfterBuild_ = false;
}

bool BuildLauncher::Building() const {
  for (TCompileForm* build : window_->findChildren<TCompileForm*>(Qt::FindDirectChildrenOnly))
    if (build->Running()) return true;
  return false;
}

void BuildLauncher::CloseBuildWindows() {
  for (TCompileForm* build : window_->findChildren<TCompileForm*>(Qt::FindDirectChildrenOnly)) {
    build->disconnect(this);
    delete build;
  }
}

void BuildLauncher::ShowValidationIssue(const ValidationIssue& issue) {
  hooks_.showControl(QString::fromStdString(issue.Page), issue.Tab, QString::fromStdString(issue.Control));
  if (issue.Message == kTextSourceFileMissing) {
    // The missing source file was asked about already; the list shows its row.
    if (issue.Row >= 0) hooks_.showSourceRow(static_cast<std::size_t>(issue.Row));
    return;
  }
  ShowMessage(window_, QMessageBox::Warning, IString(kTextProjectCheck), ToQ(ValidationMessageText(issue)));
}

void BuildLauncher::StartSetup() {
  const std::string setup = VolumePath(project_, 0);
  if (!hooks_.launch(setup))
    ShowMessage(window_, QMessageBox::Critical, ToQ(project_.productName), IString(kTextSetupNotStarted) + DiskToQ(setup));
}

bool LaunchUnderWine(QWidget* window, const std::string& setupPath) {
  const QString wine = QStandardPaths::findExecutable("wine");
  if (wine.isEmpty()) return false;
  auto* process = new QProcess(window);
  process->setWorkingDirectory(DiskToQ(ExtractFilePath(setupPath)));
  process->start(wine, {DiskToQ(setupPath)});
  if (!process->waitForStarted()) {
    process->deleteLater();
    return false;
  }
  window->showMinimized();
  QObject::connect(process, &QProcess::finished, window, [window, process] {
    process->deleteLater();
    window->showNormal();
    window->raise();
    window->activateWindow();
  });
  return true;
}

}  // namespace bvq::app
