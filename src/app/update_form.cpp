#include "app/update_form.h"

#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "editors/app_dialogs.h"
#include "app/update_file.h"
#include "app/window_icons.h"
#include "editors/window_texts.h"
#include "project/interface_text_ids.h"
#include "util/strings.h"

namespace bvq::app {

TUpdateForm::TUpdateForm(QWidget* parent, const QString& address, const std::string& runningVersion)
    : QDialog(parent), address_(address), runningVersion_(runningVersion) {
  setObjectName("UpdateForm");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  auto* column = new QVBoxLayout(this);
  status_ = new QLabel;
  status_->setObjectName("Label1");
  status_->setMinimumWidth(360);
  status_->setWordWrap(true);
  column->addWidget(status_);
  progress_ = new QProgressBar;
  progress_->setObjectName("ProgressBar1");
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  column->addWidget(progress_);
  button_ = new QPushButton;
  button_->setObjectName("Button1");
  column->addWidget(button_, 0, Qt::AlignHCenter);
  connect(button_, &QPushButton::clicked, this, &QDialog::reject);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  ApplyWindowTexts(this, "UpdateForm");
  setWindowIcon(WindowIcon(WindowIconKind::Update));
  setWindowTitle(IString(kTextCheckForUpdates));
  button_->setText(IString(kTextUpdateCancel));
  status_->setText(IString(kTextUpdateConnecting));

  network_ = new QNetworkAccessManager(this);
  deadline_.setSingleShot(true);
  connect(&deadline_, &QTimer::timeout, this, [this] {
    if (reply_) reply_->abort();
  });
  start_.setSingleShot(true);
  start_.setInterval(500);
  connect(&start_, &QTimer::timeout, this, &TUpdateForm::Connect);
  start_.start();
}

TUpdateForm::~TUpdateForm() { closed_ = true; }

void TUpdateForm::done(int result) {
  // Whatever is under way ends here: no reply is read and no message shown after closing.
  closed_ = true;
  start_.stop();
  deadline_.stop();
  if (reply_) reply_->abort();
  QDialog::done(result);
}

void TUpdateForm::ShowStep(int progress, int text) {
  progress_->setValue(progress);
  status_->setText(IString(text));
}

void TUpdateForm::Connect() {
  ShowStep(30, kTextUpdateConnecting);
  QTimer::singleShot(300, this, &TUpdateForm::Fetch);
}

void TUpdateForm::Fetch() {
  if (closed_) return;
  QNetworkRequest request{QUrl(address_)};
  request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromUtf8(kProgramName));
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  QNetworkReply* reply = network_->get(request);
  reply_ = reply;
  // A reply announced or grown beyond what an update file can be is dropped unread. The
  // handlers hold the reply itself: it outlives an abort until the event loop deletes it.
  connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (reply_ == reply && length.isValid() && length.toLongLong() > kUpdateFileMaxBytes) {
      tooLarge_ = true;
      reply->abort();
    }
  });
  connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
    if (reply_ != reply) return;
    body_ += reply->read(kUpdateFileMaxBytes + 1 - body_.size());
    if (body_.size() > kUpdateFileMaxBytes) {
      tooLarge_ = true;
      reply->abort();
    }
  });
  connect(reply, &QNetworkReply::finished, this, &TUpdateForm::Received);
  deadline_.start(timeLimitMs_);
}

void TUpdateForm::Received() {
  deadline_.stop();
  QNetworkReply* reply = reply_;
  if (!reply) return;
  reply_ = nullptr;
  reply->deleteLater();
  if (closed_) return;
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (tooLarge_ || reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
    Fail();
    return;
  }
  body_ += reply->readAll().left(kUpdateFileMaxBytes + 1 - body_.size());
  ShowStep(60, kTextUpdateDownloaded);
  QTimer::singleShot(500, this, &TUpdateForm::Check);
}

void TUpdateForm::Check() {
  if (closed_) return;
  ShowStep(90, kTextUpdateChecking);
  const std::optional<UpdateFile> file =
      body_.size() > kUpdateFileMaxBytes ? std::nullopt : ParseUpdateFile(body_.toStdString());
  const std::optional<std::int64_t> running = VersionNumber(runningVersion_);
  if (!file || !running) {
    Fail();
    return;
  }
  ShowStep(100, kTextUpdateComplete);
  button_->setText(IString(kTextUpdateClose));
  const QString caption = QString::fromUtf8(kProgramName);
  if (*running < file->version) {
    if (AskMessage(this, QMessageBox::Information, caption, IString(kTextNewerVersionQuestion),
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
      Dialogs().openUrl(QUrl(QString::fromUtf8(file->downloadPage.c_str())));
  } else {
    ShowMessage(this, QMessageBox::Information, caption, IString(kTextLatestVersion));
  }
  accept();
}

void TUpdateForm::Fail() {
  ShowStep(0, kTextUpdateFailed);
  button_->setText(IString(kTextUpdateClose));
  ShowMessage(this, QMessageBox::Warning, QString::fromUtf8(kProgramName), IString(kTextUpdateUnreadable));
  reject();
}

}  // namespace bvq::app
