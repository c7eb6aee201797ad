#include "app/compile_form.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editors/app_dialogs.h"
#include "app/window_icons.h"
#include "setup_build/build_cancel.h"
#include "editors/qt_text.h"
#include "editors/window_texts.h"
#include "project/interface_text_ids.h"
#include "setup_build/build_cancel.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq::app {

// Runs on the worker thread: every report is queued to the window's thread.
class TCompileForm::Reporter : public BuildReporter {
 public:
  explicit Reporter(TCompileForm* form) : form_(form) {}

  void AddLogLine(const LogLine& line) override {
    const QString text = ToQ(line.text);
    const QString time = QLocale().toString(QDateTime::fromSecsSinceEpoch(line.time).time(), QLocale::ShortFormat);
    const int icon = static_cast<int>(line.icon);
    Post([text, icon, time](TCompileForm* f) { f->AddLine(text, icon, time); });
  }
  void SetLastLogLine(const std::string& text) override {
    const QString shown = ToQ(text);
    Post([shown](TCompileForm* f) { f->SetLastLine(shown); });
  }
  void SetProgressMaximum(uint64_t units) override {
    Post([units](TCompileForm* f) {
      f->progress_->setRange(0, static_cast<int>(std::min<uint64_t>(units, INT32_MAX)));
    });
  }
  void SetProgressPosition(uint64_t units) override {
    Post([units](TCompileForm* f) {
      f->progress_->setValue(static_cast<int>(std::min<uint64_t>(units, static_cast<uint64_t>(f->progress_->maximum()))));
    });
  }
  void SetSizeText(const std::string& text) override {
    const QString shown = ToQ(text);
    Post([shown](TCompileForm* f) { f->size_->setText(shown); });
  }
  // The window's checks are shown once the build has ended (it stops at once after one).
  void ReportBuildProblem(const BuildInputProblem& problem) override { problem_ = problem; }

  std::optional<BuildInputProblem> problem_;

 private:
  template <class F>
  void Post(F f) {
    QPointer<TCompileForm> form(form_);
    QMetaObject::invokeMethod(
        form_, [form, f] { if (form) f(form.data()); }, Qt::QueuedConnection);
  }
  TCompileForm* form_;
};

TCompileForm::TCompileForm(const Project& project, ProjectSession& session, QWidget* parent, int startDelayMs)
    : QDialog(parent), project_(project), session_(session), startDelayMs_(startDelayMs) {
  setObjectName("CompileForm");
  setWindowIcon(WindowIcon(WindowIconKind::Build));
  QString caption = IString(kTextBuildCaption);
  if (!project.filePath.empty())
    caption += QString::fromStdString(ExtractFileName(project.filePath));
  setWindowTitle(caption);
  resize(560, 380);

  log_ = new QTreeWidget;
  log_->setObjectName("ListView1");
  log_->setColumnCount(2);
  log_->setHeaderLabels({IString(kTextLogMessage), IString(kTextLogTime)});
  log_->setRootIsDecorated(false);
  log_->header()->setStretchLastSection(false);
  log_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  progress_ = new QProgressBar;
  progress_->setObjectName("ProgressBar1");
  progress_->setRange(0, 1);
  progress_->setValue(0);
  size_ = new QLabel("0,00 Kb");
  size_->setObjectName("Label4");
  auto* progressLabel = new QLabel;
  progressLabel->setObjectName("Label1");
  auto* sizeLabel = new QLabel;
  sizeLabel->setObjectName("Label3");
  closeButton_ = new QPushButton(IString(kTextCancel));
  closeButton_->setObjectName("Button1");
  closeButton_->setDefault(true);
  testButton_ = new QPushButton;
  testButton_->setObjectName("Button3");
  testButton_->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(log_, 1);
  auto* progressRow = new QHBoxLayout;
  progressRow->addWidget(progressLabel);
  progressRow->addWidget(progress_, 1);
  progressRow->addWidget(sizeLabel);
  progressRow->addWidget(size_);
  layout->addLayout(progressRow);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(testButton_);
  buttons->addWidget(closeButton_);
  layout->addLayout(buttons);

  ApplyWindowTexts(this, "CompileForm");
  closeButton_->setText(IString(kTextCancel));

  connect(closeButton_, &QPushButton::clicked, this, [this] {
    if (running_ || !started_) RequestCancel();
    else close();
  });
  connect(testButton_, &QPushButton::clicked, this, [this] {
    emit testRequested();
    close();
  });
}

TCompileForm::~TCompileForm() {
  if (worker_.joinable()) {
    RequestBuildCancel();
    worker_.join();
  }
}

void TCompileForm::RequestCancel() {
  if (running_) RequestBuildCancel();
}

void TCompileForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  QTimer::singleShot(startDelayMs_, this, &TCompileForm::StartBuild);
}

void TCompileForm::closeEvent(QCloseEvent* event) {
  // The window stays while its build runs: Cancel first.
  if (running_) {
    RequestCancel();
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void TCompileForm::reject() {
  if (running_) {
    RequestCancel();
    return;
  }
  QDialog::reject();
}

void TCompileForm::StartBuild() {
  if (running_ || worker_.joinable()) return;
  running_ = true;
  log_->clear();
  reporter_ = std::make_unique<Reporter>(this);
  ResetBuildCancel();
  QPointer<TCompileForm> self(this);
  Reporter* reporter = reporter_.get();
  worker_ = std::thread([this, self, reporter] {
    BuildResult result = RunBuild(project_, session_, *reporter);
    std::optional<BuildInputProblem> problem = reporter->problem_;
    QMetaObject::invokeMethod(
        this, [self, result, problem] { if (self) self->BuildEnded(result, problem); }, Qt::QueuedConnection);
  });
}

void TCompileForm::BuildEnded(BuildResult result, std::optional<BuildInputProblem> problem) {
  if (worker_.joinable()) worker_.join();
  running_ = false;
  result_ = result;
  problem_ = problem;
  closeButton_->setText(IString(kTextClose));
  closeButton_->setFocus();
  if (problem) {
    AskMessage(this, QMessageBox::Warning, IString(kTextBuildFailed), IString(problem->message), QMessageBox::Ok);
    emit showProblem(QString::fromStdString(problem->page), problem->tab, QString::fromStdString(problem->control));
  } else if (result.built && runAfterBuild_) {
    runAfterBuild_ = false;
    emit buildFinished(true);
    emit testRequested();
    close();
    return;
  } else if (result.built) {
    testButton_->show();
    ShowMessage(this, QMessageBox::Information, QString::fromUtf8(kProgramName), IString(kTextBuildSucceeded));
  }
  emit buildFinished(result.built);
}

void TCompileForm::AddLine(const QString& text, int icon, const QString& time) {
  static const QStyle::StandardPixmap icons[] = {QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxInformation,
                                                 QStyle::SP_MessageBoxWarning};
  auto* item = new QTreeWidgetItem(log_, {text, time});
  item->setData(0, Qt::UserRole, icon);
  if (icon >= 0 && icon < 3) item->setIcon(0, style()->standardIcon(icons[icon]));
  log_->scrollToItem(item);
}

void TCompileForm::SetLastLine(const QString& text) {
  if (log_->topLevelItemCount() > 0) log_->topLevelItem(log_->topLevelItemCount() - 1)->setText(0, text);
}

}  // namespace bvq::app
