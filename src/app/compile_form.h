#pragma once
// The build window (TCompileForm): runs one build of the project on a worker thread and
// shows its log lines with icon and time, the progress bar and the size of the setup. Cancel
// asks the build to stop at its next check; once the build has ended the same button closes
// the window, and after a successful build the Test button starts the setup.
#include <QDialog>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "setup_build/build_inputs.h"
#include "setup_build/run_build.h"
#include "project/project.h"
#include "project/project_session.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace bvq::app {

class TCompileForm : public QDialog {
  Q_OBJECT
 public:
  // `startDelayMs`: the build starts this long after the window is shown.
  TCompileForm(const Project& project, ProjectSession& session, QWidget* parent = nullptr, int startDelayMs = 500);
  ~TCompileForm() override;

  bool Running() const { return running_; }
  const BuildResult& Result() const { return result_; }
  // The check that stopped the build before it wrote anything, if one did.
  const std::optional<BuildInputProblem>& Problem() const { return problem_; }
  QTreeWidget* Log() const { return log_; }

  // Run asked for this build: a successful build closes the window and asks for the setup
  // to be started instead of offering the Test button.
  void SetRunAfterBuild(bool run) { runAfterBuild_ = run; }

  // The build request of the window's Cancel button (also usable while no build runs).
  void RequestCancel();

 signals:
  // The build has ended (successful or not); emitted on the window's thread.
  void buildFinished(bool built);
  // A check failed: the main window shows page, tab and control.
  void showProblem(const QString& page, int tab, const QString& control);
  // The Test button: start the setup just built.
  void testRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  class Reporter;
  void StartBuild();
  void BuildEnded(BuildResult result, std::optional<BuildInputProblem> problem);
  void AddLine(const QString& text, int icon, const QString& time);
  void SetLastLine(const QString& text);

  const Project& project_;
  ProjectSession& session_;
  int startDelayMs_;
  bool started_ = false;
  bool running_ = false;
  bool runAfterBuild_ = false;
  BuildResult result_;
  std::optional<BuildInputProblem> problem_;
  std::thread worker_;
  std::unique_ptr<Reporter> reporter_;

  QTreeWidget* log_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* size_ = nullptr;
  QPushButton* closeButton_ = nullptr;  // Button1: Cancel while building, then Close
  QPushButton* testButton_ = nullptr;   // Button3
};

}  // namespace bvq::app
